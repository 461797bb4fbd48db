// Reading the A-scan: the path and amplitude under a cursor, dB between echoes, the peak in
// each gate, the stretch of path a zoomed view shows with its labels, and a reference trace
// on the shown path. Every expectation is worked out by hand from the plot's rules: sample i
// at x = i + 1, the grid line at x = 1 for DELAY, RANGE over the 250 points to x = 251.
#include <gtest/gtest.h>

#include <limits>

#include "display/canvas.h"
#include "display/panel_texts.h"
#include "display/path_span.h"
#include "display/plot_readings.h"
#include "display/plot_texts.h"
#include "display/plot_view.h"
#include "display/reference_trace.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/numbers.h"
#include "record_builder.h"

namespace trellicap {
namespace {

using testing::blankSettings;
using testing::putText;

std::vector<RecordValue> traceWith(std::initializer_list<std::pair<int, int>> samples) {
    std::vector<RecordValue> trace(251, 0);
    for (const auto& [i, value] : samples) {
        trace[static_cast<std::size_t>(i)] = static_cast<RecordValue>(value);
    }
    return trace;
}

TEST(PathSpan, PositionsAndSamplesReadAsTheAxisLabelsDo) {
    const PathSpan span(10, 50);  // labels 10, 20, ... 60
    EXPECT_FALSE(span.zoomed());
    EXPECT_DOUBLE_EQ(span.pathAt(1), 10);
    EXPECT_DOUBLE_EQ(span.pathAt(251), 60);
    EXPECT_DOUBLE_EQ(span.pathAt(126), 35);
    EXPECT_DOUBLE_EQ(span.samplePath(0), 10);
    EXPECT_DOUBLE_EQ(span.samplePath(100), 30);
    EXPECT_DOUBLE_EQ(span.viewX(101), 101);  // at rest the view is the plot
    // A cursor reads the sample drawn nearest to it, never one outside 0..249.
    EXPECT_EQ(span.sampleAt(101.4), 100);
    EXPECT_EQ(span.sampleAt(101.6), 101);
    EXPECT_EQ(span.sampleAt(-3), 0);
    EXPECT_EQ(span.sampleAt(400), 249);
    // The labels at rest are the record's own.
    EXPECT_EQ(span.labels(), axisLabels(QStringLiteral("50"), QStringLiteral("10")));
    // No RANGE, no path axis: nothing to zoom, positions stay the plot's.
    const PathSpan none(0, 0);
    EXPECT_FALSE(none.canZoom());
    EXPECT_EQ(none.zoomedAround(100, 2), none);
    EXPECT_DOUBLE_EQ(none.viewX(42), 42);
    // A text of endless digits reads as infinity: no axis either, and no endless zoom loop.
    const PathSpan endless(std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity());
    EXPECT_FALSE(endless.canZoom());
    EXPECT_DOUBLE_EQ(endless.delay(), 0);
    EXPECT_EQ(endless.zoomedAround(126, 2), endless);
}

TEST(PlotReadings, CursorReadoutGivesPathAmplitudeAndDecibels) {
    const PathSpan span(0, 100);
    const auto trace = traceWith({{105, 63}, {200, 20}, {150, 0}});
    const TraceReading a = readSample(trace, span, 105);
    const TraceReading b = readSample(trace, span, 200);
    EXPECT_EQ(a, (TraceReading{105, 63, 42.0}));
    EXPECT_EQ(b, (TraceReading{200, 20, 80.0}));
    EXPECT_EQ(cursorReadout(a, b),
              QStringLiteral("A 42.0 mm 63 %   B 80.0 mm 20 %   \u0394 38.0 mm 10.0 dB"));
    EXPECT_EQ(cursorReadout(a, std::nullopt), QStringLiteral("A 42.0 mm 63 %"));
    EXPECT_EQ(cursorReadout(std::nullopt, std::nullopt), QString());
    // B before A: the path difference is negative, the dB that of A over B.
    EXPECT_EQ(cursorReadout(b, a),
              QStringLiteral("A 80.0 mm 20 %   B 42.0 mm 63 %   \u0394 -38.0 mm -10.0 dB"));
    // An amplitude of 0 has no ratio in dB.
    const TraceReading zero = readSample(trace, span, 150);
    EXPECT_EQ(cursorReadout(a, zero),
              QStringLiteral("A 42.0 mm 63 %   B 60.0 mm 0 %   \u0394 18.0 mm \u2014 dB"));
    EXPECT_FALSE(decibelsBetween(0, 20).has_value());
    EXPECT_FALSE(decibelsBetween(-4, 20).has_value());
    EXPECT_NEAR(*decibelsBetween(80, 40), 6.0206, 1e-4);
    EXPECT_DOUBLE_EQ(*decibelsBetween(50, 50), 0.0);
}

TEST(PlotReadings, GatePeakTakesTheFirstHighestSampleDrawnWithinTheMarker) {
    const PathSpan span(0, 100);
    // START 30 %, END 70 %: the marker runs from x = 75 to x = 250, samples 74..249.
    const QLineF gate(75, 130, 250, 130);
    auto trace = traceWith({{73, 99}, {74, 70}, {249, 70}, {120, 40}});
    EXPECT_EQ(gatePeak(gate, trace, span), (TraceReading{74, 70, 29.6}));  // ends included
    trace[74] = 10;
    EXPECT_EQ(gatePeak(gate, trace, span), (TraceReading{249, 70, 99.6}));
    // Equal peaks: the first.
    trace = traceWith({{100, 55}, {180, 55}});
    EXPECT_EQ(gatePeak(gate, trace, span)->sample, 100);
    // A marker from x = 2.5 to 5 holds samples 2, 3 and 4 (x = 3, 4, 5).
    trace = traceWith({{1, 90}, {2, 10}, {4, 30}, {5, 90}});
    EXPECT_EQ(gatePeak(QLineF(2.5, 200, 5, 200), trace, span)->sample, 4);
    // At the left edge the first sample (x = 1) is inside a marker from 0.
    trace = traceWith({{0, 12}});
    EXPECT_EQ(gatePeak(QLineF(0, 200, 2.5, 200), trace, span)->amplitude, 12);
    // A marker drawn right to left (a negative END) still spans its two ends.
    EXPECT_EQ(gatePeak(QLineF(2.5, 200, 0, 200), trace, span)->amplitude, 12);
    // A gate not drawn, or one beyond the last sample, has no peak.
    EXPECT_FALSE(gatePeak(std::nullopt, trace, span).has_value());
    EXPECT_FALSE(gatePeak(QLineF(252.5, 200, 260, 200), trace, span).has_value());

    EXPECT_EQ(gatePeakText({TraceReading{74, 70, 29.6}, std::nullopt}),
              QStringLiteral("Gate 1 peak 70 % at 29.6 mm"));
    EXPECT_EQ(gatePeakText({TraceReading{74, 70, 29.6}, TraceReading{9, 5, 3.6}}),
              QStringLiteral("Gate 1 peak 70 % at 29.6 mm   Gate 2 peak 5 % at 3.6 mm"));
}

TEST(PlotTexts, GatesFollowThePanelAsThePlotDrawsThem) {
    auto record = blankSettings(tft::kProfile);
    putText(record, 267, "100    ");
    putText(record, 281, "0.0    ");
    putText(record, 295, "ON     30%    70%    40%    ");
    putText(record, 323, "OFF    ");
    const PlotTexts texts = plotTexts(tft::kProfile, buildPanelTexts(tft::kProfile, record));
    EXPECT_EQ(texts.range.trimmed(), QStringLiteral("100"));
    ASSERT_TRUE(texts.gates[0].has_value());
    EXPECT_EQ(*texts.gates[0], QLineF(75, 130, 250, 130));
    EXPECT_FALSE(texts.gates[1].has_value());
}

TEST(PathSpan, ZoomKeepsThePathUnderThePointerAndLabelsTheStretchShown) {
    const PathSpan whole(0, 100);
    // Twice around path 50 (x = 126): 50 long, started on a whole label step (10): 30 to 80,
    // so the pointer's path moved by half a step at most.
    const PathSpan half = whole.zoomedAround(126, 2);
    EXPECT_TRUE(half.zoomed());
    EXPECT_DOUBLE_EQ(half.start(), 30);
    EXPECT_DOUBLE_EQ(half.length(), 50);
    EXPECT_NEAR(half.pathAt(126), 50, 5);
    const std::vector<AxisLabel> expected{{{0, 215}, " 30"},   {{41, 215}, " 40"},
                                          {{91, 215}, " 50"},  {{141, 215}, " 60"},
                                          {{191, 215}, " 70"}, {{239, 215}, " 80"}};
    EXPECT_EQ(half.labels(), expected);
    // Sample 100 (path 40) is drawn at x = 1 + 250 * (40 - 30) / 50 = 51 in the view.
    EXPECT_DOUBLE_EQ(half.viewX(101), 51);
    EXPECT_EQ(half.sampleAt(51), 100);
    EXPECT_DOUBLE_EQ(half.plotX(51), 101);
    // Around the left edge the start stays at DELAY.
    const PathSpan left = whole.zoomedAround(1, 4);
    EXPECT_DOUBLE_EQ(left.start(), 0);
    EXPECT_DOUBLE_EQ(left.length(), 25);
    // Round lengths, whose fifth is a round step, and every step changes them.
    PathSpan span = whole;
    std::vector<double> lengths;
    for (int i = 0; i < 10; ++i) {
        span = span.zoomedAround(126, 1.25);
        lengths.push_back(span.length());
    }
    EXPECT_EQ(lengths, (std::vector<double>{75, 60, 50, 40, 30, 25, 20, 15, 10, 5}));
    // Down to ten samples' worth of path and no further; out again to the whole range.
    for (int i = 0; i < 30; ++i) {
        span = span.zoomedAround(126, 1.25);
    }
    EXPECT_DOUBLE_EQ(span.length(), 4);
    for (int i = 0; i < 30; ++i) {
        span = span.zoomedAround(126, 1 / 1.25);
    }
    EXPECT_EQ(span, whole);
    // An unround whole range zooms into round lengths too: 12 to 10 (labels every 2).
    const PathSpan twelve = PathSpan(0, 12).zoomedAround(126, 1.25);
    EXPECT_DOUBLE_EQ(twelve.length(), 10);
    EXPECT_DOUBLE_EQ(twelve.start(), 2);
    EXPECT_EQ(twelve.labels().size(), 6u);
    // Stretches under 5 fall back to the two end labels, formatted as at rest.
    const PathSpan small = whole.zoomedAround(126, 30);
    EXPECT_LT(small.length(), 5);
    EXPECT_EQ(small.labels().size(), 2u);
    EXPECT_EQ(small.labels().front().text, labelText(small.start()));
}

TEST(PathSpan, PanningFollowsThePointerWithinTheRecordedRange) {
    const PathSpan half = PathSpan(0, 100).zoomedAround(126, 2);  // 30 .. 80
    // Dragging 25 points to the right shows 5 mm earlier path.
    EXPECT_DOUBLE_EQ(half.pannedBy(25).start(), 25);
    EXPECT_DOUBLE_EQ(half.pannedBy(-50).start(), 40);
    // Whole path units: a drag of 3 points (0.6 mm) moves by 1 mm.
    EXPECT_DOUBLE_EQ(half.pannedBy(3).start(), 29);
    EXPECT_DOUBLE_EQ(half.pannedBy(1000).start(), 0);
    EXPECT_DOUBLE_EQ(half.pannedBy(-1000).start(), 50);
    EXPECT_DOUBLE_EQ(half.pannedBy(25).length(), 50);
    EXPECT_EQ(half.whole(), PathSpan(0, 100));
}

TEST(ReferenceTrace, MapsOntoTheShownPathAndNamesItsSettings) {
    for (const ModelProfile* profile : {&tft::kProfile, &dac::kProfile}) {
        auto record = blankSettings(*profile);
        record[50] = 40;
        putText(record, 267, "200    ");
        putText(record, 281, "0.0    ");
        putText(record, 288, "34.0 ");
        const ReferenceTrace reference =
            referenceFromRecord(*profile, QStringLiteral("Mem 3"), record);
        EXPECT_EQ(reference.range, QStringLiteral("200"));
        EXPECT_EQ(reference.delay, QStringLiteral("0.0"));
        EXPECT_TRUE(reference.gain.startsWith(QStringLiteral("34.0")))
            << reference.gain.toStdString();
        EXPECT_EQ(reference.samples[50], 40);

        // On a record of RANGE 100: reference sample 50 (path 40) at x = 1 + 250 * 40 / 100.
        const PathSpan shown(0, 100);
        const auto points = referencePoints(reference, shown);
        ASSERT_EQ(points.size(), 250u);
        EXPECT_EQ(points[50], QPointF(101, 130));
        EXPECT_EQ(points[0], QPointF(1, 210));
        EXPECT_EQ(referenceLegend(reference, shown, QStringLiteral("40.0 dB")),
                  QStringLiteral("Ref Mem 3: RANGE 200, DELAY 0.0, Gain ") + reference.gain +
                      QStringLiteral(" (shown trace +6.0 dB)"));
        // Zoomed to 30 .. 80, the same sample sits at x = 1 + 250 * 10 / 50.
        EXPECT_DOUBLE_EQ(referencePoints(reference, shown.zoomedAround(126, 2))[50].x(), 51);
        // A reference without RANGE cannot be placed: the legend says so, nothing is drawn.
        ReferenceTrace flat = reference;
        flat.range = QStringLiteral("0");
        EXPECT_TRUE(referencePoints(flat, shown).empty());
        EXPECT_TRUE(referenceLegend(flat, shown, {})
                        .endsWith(QStringLiteral("(not drawn: its RANGE reads 0)")));
        EXPECT_FALSE(referenceMismatch(reference, PathSpan(0, 0)).isEmpty());
    }
}

TEST(PlotView, ClicksSetACursorsThenBAndTheNearerMovesAfter) {
    PlotView view;
    auto record = blankSettings(tft::kProfile);
    record[105] = 63;
    record[200] = 20;
    putText(record, 267, "100    ");
    putText(record, 281, "0.0    ");
    view.setRecord(tft::kProfile, record,
                   plotTexts(tft::kProfile, buildPanelTexts(tft::kProfile, record)));
    EXPECT_TRUE(view.atRest());
    EXPECT_EQ(view.clickAt(106.2), PlotView::Cursor::A);
    EXPECT_EQ(view.clickAt(201), PlotView::Cursor::B);
    EXPECT_FALSE(view.atRest());
    EXPECT_EQ(view.cursorText(),
              QStringLiteral("A 42.0 mm 63 %   B 80.0 mm 20 %   \u0394 38.0 mm 10.0 dB"));
    EXPECT_EQ(view.clickAt(190), PlotView::Cursor::B);  // nearer B (at 201) than A (at 106)
    EXPECT_EQ(view.cursor(PlotView::Cursor::B), 189);
    EXPECT_EQ(view.cursorNear(107, 2), PlotView::Cursor::A);
    EXPECT_FALSE(view.cursorNear(150, 2).has_value());
    view.stepCursor(10);  // the last one set
    EXPECT_EQ(view.cursor(PlotView::Cursor::B), 199);
    view.stepCursor(100);
    EXPECT_EQ(view.cursor(PlotView::Cursor::B), 249);
    // Recalling another record with the same axis keeps cursors and zoom.
    view.zoomAround(126, 2);
    view.setRecord(tft::kProfile, record,
                   plotTexts(tft::kProfile, buildPanelTexts(tft::kProfile, record)));
    EXPECT_TRUE(view.span().zoomed());
    EXPECT_TRUE(view.hasCursors());
    // Another RANGE shows its whole range.
    putText(record, 267, "200    ");
    view.setRecord(tft::kProfile, record,
                   plotTexts(tft::kProfile, buildPanelTexts(tft::kProfile, record)));
    EXPECT_FALSE(view.span().zoomed());
    view.clearCursors();
    EXPECT_TRUE(view.atRest());
}

// A record of another RANGE or DELAY: each cursor keeps its sound path (on the sample of
// that path in the new range), and goes where the new range does not reach it.
TEST(PlotView, CursorsKeepTheirPathAcrossARecordOfAnotherRange) {
    PlotView view;
    auto record = blankSettings(tft::kProfile);
    const auto show = [&view, &record](const char* range, const char* delay) {
        putText(record, 267, range);
        putText(record, 281, delay);
        view.setRecord(tft::kProfile, record,
                       plotTexts(tft::kProfile, buildPanelTexts(tft::kProfile, record)));
    };
    show("100    ", "0.0    ");
    view.setCursor(PlotView::Cursor::A, 50);   // 20.0 mm
    view.setCursor(PlotView::Cursor::B, 200);  // 80.0 mm
    show("200    ", "0.0    ");
    EXPECT_EQ(view.cursor(PlotView::Cursor::A), 25);   // 20.0 mm again
    EXPECT_EQ(view.cursor(PlotView::Cursor::B), 100);  // 80.0 mm again
    EXPECT_TRUE(view.cursorText().startsWith(QStringLiteral("A 20.0 mm")))
        << view.cursorText().toStdString();
    show("100    ", "50.0   ");  // 50..150 mm: A's 20 mm is out of reach, B's 80 mm is not
    EXPECT_FALSE(view.cursor(PlotView::Cursor::A).has_value());
    EXPECT_EQ(view.cursor(PlotView::Cursor::B), 75);
    show("0      ", "0.0    ");  // no range: no path to keep
    EXPECT_FALSE(view.hasCursors());
}

// A reference with a long name: the name gives way, then RANGE and DELAY; the dB difference
// always stays on the plot, in a plot of the design size (marks as large as positions) and in
// a larger one (marks half as large).
TEST(PlotView, TheLegendShortensALongNameAndKeepsTheDecibels) {
    PlotView view;
    auto record = blankSettings(tft::kProfile);
    putText(record, 267, "100    ");
    putText(record, 281, "0.0    ");
    putText(record, 288, "40.0 ");
    view.setRecord(tft::kProfile, record,
                   plotTexts(tft::kProfile, buildPanelTexts(tft::kProfile, record)));
    Canvas canvas(5205, 4665, Canvas::Unit::Point);  // the window's plot area
    constexpr double kRoom = kGridSpanX - 20;
    view.setReference(referenceFromRecord(tft::kProfile, QStringLiteral("Mem 3"), record));
    EXPECT_EQ(view.fittedLegend(canvas, 0.5),
              referenceLegend(*view.reference(), view.span(), QStringLiteral("40.0")));
    view.setReference(referenceFromRecord(
        tft::kProfile,
        QStringLiteral("Archive Mem 12 (1a2b3c4d v2, Shift-North-Depot-Axle-Line-7-night.dat)"),
        record));
    const QString larger = view.fittedLegend(canvas, 0.5);
    EXPECT_TRUE(larger.endsWith(QStringLiteral("(shown trace +0.0 dB)"))) << larger.toStdString();
    EXPECT_TRUE(larger.contains(QStringLiteral("RANGE 100, DELAY 0.0")));
    EXPECT_TRUE(larger.startsWith(QStringLiteral("Ref Archive Mem")));
    EXPECT_TRUE(larger.contains(QChar(0x2026)));
    EXPECT_LE(canvas.textWidth(larger) * 0.5, kRoom);
    const QString design = view.fittedLegend(canvas, 1.0);
    EXPECT_TRUE(design.endsWith(QStringLiteral("(shown trace +0.0 dB)"))) << design.toStdString();
    EXPECT_LE(canvas.textWidth(design), kRoom);
}

TEST(PlotView, ClipToColumnsKeepsThePartInsideThePlot) {
    EXPECT_EQ(*clipToColumns(QLineF(-10, 0, 10, 20), 0, 252), QLineF(0, 10, 10, 20));
    EXPECT_EQ(*clipToColumns(QLineF(250, 0, 260, 10), 0, 252), QLineF(250, 0, 252, 2));
    EXPECT_FALSE(clipToColumns(QLineF(-10, 0, -1, 20), 0, 252).has_value());
    EXPECT_EQ(*clipToColumns(QLineF(5, 0, 5, 20), 0, 252), QLineF(5, 0, 5, 20));
}

}  // namespace
}  // namespace trellicap
