#include "report/slot_view.h"

#include "display/ascan_plot.h"
#include "display/overlays.h"
#include "record/profile_text.h"

namespace trellicap {

SlotView::SlotView(RecordStore& store) : m_store(store) {
    // Before the first record the boxes show their design-time texts, and so does the page.
    for (const PanelCell& cell : store.profile().panelCells) {
        if (!cell.control.empty()) {
            m_texts.set(cell.control, qs(cell.designText));
        }
    }
}

void SlotView::recall(int column) {
    m_store.recallSlot(column);
    showCapture();
}

void SlotView::showCapture() {
    displayPattern(m_plot, m_store.capture());
    // Each text the record gives replaces the one shown, as in the window's boxes.
    m_texts.update(buildPanelTexts(m_store.profile(), m_store.capture()));
    drawOverlays(m_plot, m_store.profile(), m_texts, m_store.capture());
}

void SlotView::showPattern() {
    displayPattern(m_plot, m_store.capture());
}

void SlotView::clearPlot() {
    trellicap::clearPlot(m_plot);
}

}  // namespace trellicap
