#include "report/slot_view.h"

#include "display/ascan_plot.h"
#include "display/overlays.h"

namespace trellicap {

SlotView::SlotView(RecordStore& store) : m_store(store) {}

void SlotView::recall(int column) {
    m_store.recallSlot(column);
    showCapture();
}

void SlotView::showCapture() {
    displayPattern(m_plot, m_store.capture());
    m_texts = buildPanelTexts(m_store.profile(), m_store.capture());
    drawOverlays(m_plot, m_store.profile(), m_texts, m_store.capture());
}

void SlotView::showPattern() {
    displayPattern(m_plot, m_store.capture());
}

void SlotView::clearPlot() {
    trellicap::clearPlot(m_plot);
}

}  // namespace trellicap
