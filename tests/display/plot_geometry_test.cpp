#include "display/plot_geometry.h"

#include <gtest/gtest.h>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record_builder.h"

namespace trellicap {
namespace {

using testing::freshSlot;
using testing::putCodes;

std::vector<RecordValue> withSamples(std::initializer_list<int> first) {
    std::vector<RecordValue> record = freshSlot(tft::kProfile);
    putCodes(record, 0, first);
    return record;
}

TEST(TracePoints, StartOnTheBaselineAndFollowTheSamplesClippedAtTheTop) {
    const auto flat = tracePoints(freshSlot(tft::kProfile));
    ASSERT_EQ(flat.size(), 251u);
    for (std::size_t i = 0; i < flat.size(); ++i) {
        EXPECT_EQ(flat[i], QPointF(static_cast<double>(i), 210)) << i;
    }

    const auto trace = tracePoints(withSamples({50, 100, 150, 0, 255}));
    EXPECT_EQ(trace[0], QPointF(0, 210));  // rises from the baseline even when sample 0 is high
    EXPECT_EQ(trace[1], QPointF(1, 110));
    EXPECT_EQ(trace[2], QPointF(2, 10));
    EXPECT_EQ(trace[3], QPointF(3, 10));
    EXPECT_EQ(trace[4], QPointF(4, 210));
    EXPECT_EQ(trace[5], QPointF(5, 10));
}

TEST(TracePoints, ValuesFromARecordFileBeyondBytesNeitherWrapNorClipAtTheBottom) {
    const auto trace = tracePoints(withSamples({20000, -20000, -5}));
    EXPECT_EQ(trace[1], QPointF(1, 10));
    EXPECT_EQ(trace[2], QPointF(2, 40210));
    EXPECT_EQ(trace[3], QPointF(3, 220));
}

TEST(GraticuleDots, HorizontalRowsThenVerticalRowsThenTicks) {
    const auto dots = graticuleDots();
    ASSERT_EQ(dots.size(), 10u * 50 + 41u * 11 + 3u * 11);
    EXPECT_EQ(dots.front(), QPointF(1, 10));
    EXPECT_EQ(dots[49], QPointF(246, 10));
    EXPECT_EQ(dots[499], QPointF(246, 190));
    EXPECT_EQ(dots[500], QPointF(1, 10));  // vertical lines, row by row
    EXPECT_EQ(dots[510], QPointF(251, 10));
    EXPECT_EQ(dots[511], QPointF(1, 15));
    EXPECT_EQ(dots[950], QPointF(251, 210));
    EXPECT_EQ(dots[951], QPointF(1, 211));  // ticks
    EXPECT_EQ(dots.back(), QPointF(251, 213));
}

TEST(GateSegment, RunsFromStartToStartPlusEndAtTheLevel) {
    const QLineF expected(75, 130, 250, 130);
    EXPECT_EQ(gateSegment("ON     ", "30%", "70%", "40%", true), expected);
    EXPECT_EQ(gateSegment("ON     ", "30%", "70%", "40%", false), expected);
    // Only the exact seven characters count as off.
    EXPECT_EQ(gateSegment("OFF", "30%", "70%", "40%", true), expected);
    EXPECT_EQ(gateSegment("off    ", "30%", "70%", "40%", false), expected);
    EXPECT_EQ(gateSegment("DAC -6", "30%", "70%", "40%", true), expected);
    // Numbers that read as 0 shrink the marker to a dot on the baseline.
    EXPECT_EQ(gateSegment("       ", "       ", "       ", "       ", true),
              QLineF(0, 210, 0, 210));
    EXPECT_EQ(gateSegment("ON     ", "12.5 %", "1 0", "-5", true), QLineF(31.25, 220, 56.25, 220));
}

TEST(GateSegment, OffTextsHideTheGateAndDacTextsHideOnlyGate1) {
    EXPECT_FALSE(gateSegment("OFF    ", "30%", "70%", "40%", true));
    EXPECT_FALSE(gateSegment("OFF    ", "30%", "70%", "40%", false));
    EXPECT_FALSE(gateSegment("DAC -6 ", "30%", "70%", "40%", true));
    EXPECT_FALSE(gateSegment("DAC -12", "30%", "70%", "40%", true));
    EXPECT_TRUE(gateSegment("DAC -6 ", "30%", "70%", "40%", false));
    EXPECT_TRUE(gateSegment("DAC -12", "30%", "70%", "40%", false));
}

// Points k = 0.. as (x, amplitude) pairs from the profile's first DAC index.
std::vector<RecordValue> dacRecord(const ModelProfile& profile,
                                   std::initializer_list<std::pair<int, int>> points) {
    std::vector<RecordValue> record = freshSlot(profile);
    int p = profile.dacPointFirst;
    for (auto [x, amplitude] : points) {
        putCodes(record, p, {x, amplitude});
        p += 2;
    }
    return record;
}

TEST(DacSegments, StopAtTheFirstPointBelowFivePercent) {
    const auto record =
        dacRecord(tft::kProfile, {{10, 80}, {40, 60}, {70, 40}, {100, 4}, {130, 50}});
    const auto segments = dacSegments(tft::kProfile, "ON     ", record);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0], QLineF(10, 50, 40, 90));  // x as stored, no + 1
    EXPECT_EQ(segments[1], QLineF(40, 90, 70, 130));

    EXPECT_TRUE(dacSegments(tft::kProfile, "ON     ", dacRecord(tft::kProfile, {{10, 3}, {40, 60}}))
                    .empty());
    EXPECT_TRUE(dacSegments(tft::kProfile, "ON", record).empty());
    EXPECT_TRUE(dacSegments(tft::kProfile, "OFF    ", record).empty());
}

TEST(DacSegments, ThreeCurvesAtTheProfilesFractionsOfTheAmplitude) {
    const auto tftRecord = dacRecord(tft::kProfile, {{10, 50}, {40, 50}, {70, 2}});
    const auto tftCurves = dacSegments(tft::kProfile, "ON 6/14", tftRecord);
    ASSERT_EQ(tftCurves.size(), 3u);
    EXPECT_EQ(tftCurves[0], QLineF(10, 110, 40, 110));
    EXPECT_EQ(tftCurves[1], QLineF(10, 160, 40, 160));
    EXPECT_EQ(tftCurves[2], QLineF(10, 190, 40, 190));
    EXPECT_TRUE(dacSegments(tft::kProfile, "ON 6/12", tftRecord).empty());

    const auto dacRec = dacRecord(dac::kProfile, {{10, 50}, {40, 50}, {70, 2}});
    const auto dacCurves = dacSegments(dac::kProfile, "ON 6/12", dacRec);
    ASSERT_EQ(dacCurves.size(), 3u);
    EXPECT_EQ(dacCurves[0], QLineF(10, 110, 40, 110));
    EXPECT_EQ(dacCurves[1], QLineF(10, 160, 40, 160));
    EXPECT_EQ(dacCurves[2], QLineF(10, 185, 40, 185));
    EXPECT_TRUE(dacSegments(dac::kProfile, "ON 6/14", dacRec).empty());
}

TEST(DacSegments, EachProfileDrawsItsOwnNumberOfSegmentsFromItsFirstPoint) {
    std::initializer_list<std::pair<int, int>> twelve = {
        {0, 90},   {20, 80},  {40, 70},  {60, 60},  {80, 50},  {100, 40},
        {120, 30}, {140, 20}, {160, 10}, {180, 10}, {200, 10}, {220, 10}};
    const auto dacCurve = dacSegments(dac::kProfile, "ON     ", dacRecord(dac::kProfile, twelve));
    ASSERT_EQ(dacCurve.size(), 11u);
    EXPECT_EQ(dacCurve.front(), QLineF(0, 30, 20, 50));
    EXPECT_EQ(dacCurve.back(), QLineF(200, 190, 220, 190));  // end point from 530 and 531

    const auto tftCurve = dacSegments(tft::kProfile, "ON     ", dacRecord(tft::kProfile, twelve));
    ASSERT_EQ(tftCurve.size(), 8u);
    EXPECT_EQ(tftCurve.back(), QLineF(140, 170, 160, 190));
}

std::vector<AxisLabel> labels(std::initializer_list<std::pair<double, const char*>> xs) {
    std::vector<AxisLabel> out;
    for (auto [x, text] : xs) {
        out.push_back({{x, 215}, QString::fromLatin1(text)});
    }
    return out;
}

TEST(AxisLabels, FiveStepsTwoEndsOrNothing) {
    EXPECT_EQ(
        axisLabels("100    ", "0.0    "),
        labels({{0, " 0"}, {41, " 20"}, {91, " 40"}, {141, " 60"}, {191, " 80"}, {239, " 100"}}));
    EXPECT_EQ(axisLabels("100", "2.5"), labels({{0, " 2.5"}, {229, " 102.5"}}));
    EXPECT_EQ(axisLabels("12", "0"), labels({{0, " 0"}, {232, " 12"}}));
    EXPECT_EQ(
        axisLabels("50", "10"),
        labels({{0, " 10"}, {41, " 20"}, {91, " 30"}, {141, " 40"}, {191, " 50"}, {239, " 60"}}));
    EXPECT_TRUE(axisLabels("0.0", "25").empty());
    EXPECT_TRUE(axisLabels("OFF    ", "25").empty());
    // Negative values carry their sign instead of the leading blank.
    EXPECT_EQ(axisLabels("20", "-10"),
              labels({{0, "-10"}, {41, "-6"}, {91, "-2"}, {141, " 2"}, {191, " 6"}, {239, " 10"}}));
    EXPECT_EQ(axisLabels("12.5", "0"), labels({{0, " 0"}, {232, " 12.5"}}));
}

TEST(AxisLabels, ValuesBeyondSixteenBitsFallBackToTheTwoEnds) {
    EXPECT_EQ(axisLabels("40000", "0"), labels({{0, " 0"}, {229, " 40000"}}));
    EXPECT_EQ(axisLabels("32770", "0"), labels({{0, " 0"}, {229, " 32770"}}));
    EXPECT_EQ(axisLabels("30000", "10000"), labels({{0, " 10000"}, {229, " 40000"}}));
    EXPECT_EQ(axisLabels("100", "-40000"), labels({{0, "-40000"}, {229, "-39900"}}));
    // Still within 16 bits: not a multiple of 5, so the two ends at x = 232.
    EXPECT_EQ(axisLabels("32769", "0"), labels({{0, " 0"}, {232, " 32769"}}));
    EXPECT_EQ(axisLabels("32765", "0").size(), 6u);
}

}  // namespace
}  // namespace trellicap
