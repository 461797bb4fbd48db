// The plot under the mouse at device pixel ratio 2: one step of a cursor drag (a mouse move
// and the repaint it causes) and one zoom step (a wheel notch and its repaint), at the
// canvas's own size and at the size a maximised window gives it (2.5 times). Goals: a drag
// step within 4 ms and a zoom step within 8 ms (median of the repetitions).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QWheelEvent>
#include <cmath>

#include "display/ascan_plot.h"
#include "display/overlays.h"
#include "display/panel_texts.h"
#include "display/plot_texts.h"
#include "display/ui/plot_widget.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "record/text_codes.h"

namespace {

using namespace trellicap;

constexpr double kRatio = 2;

void putText(std::vector<RecordValue>& record, std::string_view control, const QString& text) {
    auto index = static_cast<std::size_t>(walkedIndex(tft::kProfile, control).value());
    for (const RecordValue code : textToCodes(text)) {
        record[index++] = code;
    }
}

// Two echoes over noise, both gates on, the DAC curves: as busy as a plot gets.
std::vector<RecordValue> busyRecord() {
    std::vector<RecordValue> record(static_cast<std::size_t>(tft::kProfile.recordSize()), 32);
    for (int i = 0; i <= 250; ++i) {
        const double echo = 90 * std::exp(-std::pow((i - 60) / 4.0, 2)) +
                            50 * std::exp(-std::pow((i - 150) / 3.0, 2));
        record[static_cast<std::size_t>(i)] = static_cast<RecordValue>(3 + (i * 7) % 5 + echo);
    }
    putText(record, "txtrange", QStringLiteral("100    "));
    putText(record, "txtdelay", QStringLiteral("0.0    "));
    putText(record, "txtgain", QStringLiteral("25.5 "));
    putText(record, "txtgate", QStringLiteral("ON     30%    20%    40%    "));
    putText(record, "txtgate2", QStringLiteral("ON     60%    20%    70%    "));
    putText(record, "txtdac", QStringLiteral("ON     "));
    const int points[] = {20, 90, 80, 70, 140, 50, 200, 30, 250, 20, 255, 0};
    for (int k = 0; k < 12; ++k) {
        record[static_cast<std::size_t>(tft::kProfile.dacPointFirst + k)] =
            static_cast<RecordValue>(points[k]);
    }
    return record;
}

struct Plot {
    explicit Plot(double zoom) : record(busyRecord()) {
        displayPattern(canvas, record);
        const PanelTexts texts = buildPanelTexts(tft::kProfile, record);
        drawOverlays(canvas, tft::kProfile, texts, record);
        widget.setMarks(CanvasWidget::Marks::KeepScreenSize);
        widget.setZoom(zoom);
        widget.resize(widget.sizeHint());
        widget.showRecord(tft::kProfile, record, plotTexts(tft::kProfile, texts));
        device = QPixmap(widget.size() * kRatio);
        device.setDevicePixelRatio(kRatio);
    }
    void repaint() {
        widget.render(&device);
        benchmark::DoNotOptimize(device.cacheKey());
    }
    QPointF at(double plotX) const { return {widget.widgetXOf(plotX), 100}; }

    std::vector<RecordValue> record;
    Canvas canvas{5205, 4665, Canvas::Unit::Point};
    PlotWidget widget{canvas};
    QPixmap device;
};

void cursorDrag(benchmark::State& state) {
    Plot plot(state.range(0) / 10.0);
    QMouseEvent press(QEvent::MouseButtonPress, plot.at(61), plot.at(61), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&plot.widget, &press);
    plot.repaint();
    int step = 0;
    for (auto _ : state) {
        const QPointF to = plot.at(61 + (step++ % 100));
        QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&plot.widget, &move);
        plot.repaint();
    }
}

void zoomStep(benchmark::State& state) {
    Plot plot(state.range(0) / 10.0);
    plot.repaint();
    int step = 0;
    for (auto _ : state) {
        // In and out by turns, so every step draws another span.
        const int notches = (step++ % 2 == 0) ? 1 : -1;
        const QPointF pos = plot.at(126);
        QWheelEvent wheel(pos, pos, QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&plot.widget, &wheel);
        plot.repaint();
    }
}

// Arguments: the widget's zoom times ten (10: the canvas's own size; 25: a maximised window).
BENCHMARK(cursorDrag)
    ->Arg(10)
    ->Arg(25)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(zoomStep)
    ->Arg(10)
    ->Arg(25)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QApplication>(argc, argv);
}
