#include "report/recalled_slot.h"

#include "display/ascan_plot.h"
#include "display/overlays.h"

namespace trellicap {

RecalledSlot::RecalledSlot(RecordStore& store) : m_store(store) {}

void RecalledSlot::show(int slot) {
    m_store.recallSlot(slot - 1);
    displayPattern(m_plot, m_store.capture());
    m_texts = buildPanelTexts(m_store.profile(), m_store.capture());
    drawOverlays(m_plot, m_store.profile(), m_texts, m_store.capture());
}

}  // namespace trellicap
