// A slot of a memory table shown as the window shows it after a recall (the column copied
// into the capture buffer, the pattern and the overlays drawn, the panel texts built): the
// report source for pages made without the window, such as an archive export.
#pragma once

#include <QIODevice>
#include <vector>

#include "display/canvas.h"
#include "display/panel_texts.h"
#include "record/record_store.h"
#include "report/report_source.h"

namespace trellicap {

class ShownSlot final : public ReportSource {
public:
    // The window's plot area, in twips.
    static constexpr int kPlotWidthTwips = 5205;
    static constexpr int kPlotHeightTwips = 4665;

    explicit ShownSlot(RecordStore& store) : m_store(store) {}

    // Recalls slot 1..200.
    void show(int slot);

    [[nodiscard]] const Canvas& plot() const { return m_plot; }
    [[nodiscard]] const PanelTexts& texts() const { return m_texts; }
    [[nodiscard]] QImage plotImage(double dpi) const override { return m_plot.image(dpi); }
    [[nodiscard]] QString controlText(std::string_view control) const override {
        return m_texts.text(control);
    }

private:
    RecordStore& m_store;
    Canvas m_plot{kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point};
    PanelTexts m_texts;
};

// One "Ultrasonic  Test  Report" page per slot, in one PDF written to `device` (open for
// writing). Empty when it worked, else why not.
[[nodiscard]] QString writeReportPdf(RecordStore& store, const std::vector<int>& chosen,
                                     QIODevice& device, int dpi);

}  // namespace trellicap
