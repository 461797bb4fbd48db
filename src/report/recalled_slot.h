// A slot shown as the window shows it after a recall: the memory-table column copied into
// the capture buffer, the plot drawn from it (pattern, then the overlays the panel texts
// call for) and the panel texts. It is what the report composer reads, as it reads the
// window, and what the tables and pictures are made of.
#pragma once

#include "display/canvas.h"
#include "display/panel_texts.h"
#include "record/record_store.h"
#include "report/report_source.h"

namespace trellicap {

// The window's plot area, drawn in points.
inline constexpr int kPlotWidthTwips = 5205;
inline constexpr int kPlotHeightTwips = 4665;

class RecalledSlot final : public ReportSource {
public:
    explicit RecalledSlot(RecordStore& store);

    // Recalls slot 1..200: display_pattern, then display_setup, as the window does.
    void show(int slot);

    [[nodiscard]] const Canvas& plot() const { return m_plot; }
    [[nodiscard]] const PanelTexts& texts() const { return m_texts; }
    [[nodiscard]] std::span<const RecordValue> capture() const { return m_store.capture(); }
    [[nodiscard]] const ModelProfile& profile() const { return m_store.profile(); }

    [[nodiscard]] QImage plotImage(double dpi) const override { return m_plot.image(dpi); }
    [[nodiscard]] QString controlText(std::string_view control) const override {
        return m_texts.text(control);
    }

private:
    RecordStore& m_store;
    Canvas m_plot{kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point};
    PanelTexts m_texts;
};

}  // namespace trellicap
