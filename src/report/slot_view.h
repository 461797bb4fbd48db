// The record shown: the plot drawn from the capture buffer (pattern, then the overlays the
// panel texts call for), the texts of the settings panel, readouts and header boxes. A recall
// copies a memory-table column into the capture buffer first; a record that arrived is
// already there. The window shows it, the report composer reads it, and the tables and
// pictures are made of it, so a page looks the same whichever program made it.
#pragma once

#include "display/canvas.h"
#include "display/panel_texts.h"
#include "record/record_store.h"
#include "report/report_source.h"

namespace trellicap {

// The window's plot area, drawn in points.
inline constexpr int kPlotWidthTwips = 5205;
inline constexpr int kPlotHeightTwips = 4665;

class SlotView final : public ReportSource {
public:
    explicit SlotView(RecordStore& store);

    // Memory-table column 0..199 into the capture buffer, then showCapture().
    void recall(int column);
    // The record in the capture buffer: display_pattern, then display_setup. Its texts replace
    // those shown; a control it gives no text keeps its own (at first, its design-time text).
    void showCapture();
    // The pattern alone (the start-up trace: the panel stays as it was).
    void showPattern();
    // The plot emptied while a request is out; the texts stay.
    void clearPlot();
    // A text the operator typed into a header box: the page prints what the box shows.
    void setText(std::string_view control, const QString& text) { m_texts.set(control, text); }

    [[nodiscard]] const Canvas& plot() const { return m_plot; }
    [[nodiscard]] Canvas& plot() { return m_plot; }
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
