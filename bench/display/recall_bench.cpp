// Recall of a slot as the main window does it on a double-click: copy the column into the
// capture buffer, redraw the plot, build the panel texts, draw the overlays and labels, and
// paint the canvas image at widget size. Must stay well inside one 60 Hz frame.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <cmath>

#include "display/ascan_plot.h"
#include "display/panel_texts.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "record/record_store.h"

namespace {

using namespace trellicap;

void putText(std::span<RecordValue> record, const ModelProfile& profile, std::string_view control,
             std::string_view text) {
    auto index = static_cast<std::size_t>(walkedIndex(profile, control).value());
    for (char ch : text) {
        record[index++] = static_cast<RecordValue>(ch);
    }
}

// A busy slot: two echoes over noise, both gates on, three DAC curves, labels in five steps.
void fillSlot(RecordStore& store, int col) {
    const ModelProfile& profile = store.profile();
    std::span<RecordValue> capture = store.capture();
    for (int i = 0; i <= 250; ++i) {
        const double echo = 90 * std::exp(-std::pow((i - 60) / 4.0, 2)) +
                            50 * std::exp(-std::pow((i - 150) / 3.0, 2));
        capture[static_cast<std::size_t>(i)] = static_cast<RecordValue>(3 + (i * 7) % 5 + echo);
    }
    for (int i = kSettingsStart; i < profile.recordSize(); ++i) {
        capture[static_cast<std::size_t>(i)] = 32;
    }
    putText(capture, profile, "txtrange", "100    ");
    putText(capture, profile, "txtdelay", "0.0    ");
    putText(capture, profile, "txtgain", "25.5 ");
    putText(capture, profile, "txtgate", "ON     30%    20%    40%    ");
    putText(capture, profile, "txtgate2", "ON     60%    20%    70%    ");
    putText(capture, profile, "txtclock", "ON     ");
    putText(capture, profile, "txtmea", "ON     ");
    putText(capture, profile, "txtdac", profile.dacThreeCurveText);
    const int points[] = {20, 90, 80, 70, 140, 50, 200, 30, 250, 20, 255, 0};
    for (int k = 0; k < 12; ++k) {
        capture[static_cast<std::size_t>(profile.dacPointFirst + k)] =
            static_cast<RecordValue>(points[k]);
    }
    auto header = static_cast<std::size_t>(profile.headerFields[0].firstRow);
    for (char ch : std::string_view("J. Operator")) {
        capture[header++] = static_cast<RecordValue>(ch);
    }
    store.fileRequestedFrame(col);
}

void recallSlot(benchmark::State& state, const ModelProfile& profile) {
    RecordStore store(profile);
    store.initMemoryTable();
    fillSlot(store, 6);
    store.loadStartupTrace();

    Canvas canvas(5205, 4665, Canvas::Unit::Point);
    QImage widgetImage(canvas.sizePixels(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        store.recallSlot(6);
        displayPattern(canvas, store.capture());
        const PanelTexts texts = buildPanelTexts(profile, store.capture());
        drawOverlays(canvas, profile, texts, store.capture());
        QPainter paint(&widgetImage);
        paint.drawImage(0, 0, canvas.image());
        paint.end();
        benchmark::DoNotOptimize(texts.entries().data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK_CAPTURE(recallSlot, tft, tft::kProfile)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(recallSlot, dac, dac::kProfile)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QGuiApplication>(argc, argv);
}
