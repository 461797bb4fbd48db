// The evaluation of a record against its job, each expectation worked out by hand: depth and
// surface distance along the probe angle (to 0.1 mm), the level to the record's own DAC
// curve read between its points in the plot's units (the echo of sample i at x = i + 1), the
// level to a reference echo with the gain and transfer corrections, and the result at each
// edge of the rule. Levels are compared with the rule as they are shown, to 0.1 dB.
#include <gtest/gtest.h>

#include "inspection/dac_curve.h"
#include "inspection/evaluation.h"
#include "inspection/job_summary.h"

namespace trellicap::inspection {
namespace {

// Recording level -6 dB, acceptance level 0 dB, length limit 10 mm.
EvaluationRule rule() {
    EvaluationRule rule;
    rule.recordingLevelDb = -6;
    rule.acceptanceLevelDb = 0;
    rule.lengthLimitMm = 10;
    return rule;
}

EvaluationSettings dacSettings() {
    EvaluationSettings settings;
    settings.rule = rule();
    return settings;
}

// A DAC curve through (20, 80 %), (100, 60 %), (200, 40 %).
const DacPoints kCurve = {{20, 80}, {100, 60}, {200, 40}};

RecordReading echo(int sample, int amplitude, double pathMm = 50, DacPoints points = kCurve) {
    RecordReading reading;
    reading.peak = Peak{sample, amplitude, pathMm};
    reading.dacPoints = std::move(points);
    reading.gainDb = 40;
    return reading;
}

TEST(Evaluation, DepthAndSurfaceDistanceFollowTheProbeAngle) {
    EvaluationSettings settings = dacSettings();
    struct Case {
        double angle;
        double depth;
        double surface;
    };
    // s = 100 mm: cos and sin of 0, 45, 60 and 70 degrees, to 0.1 mm.
    for (const Case& c :
         {Case{0, 100.0, 0.0}, Case{45, 70.7, 70.7}, Case{60, 50.0, 86.6}, Case{70, 34.2, 94.0}}) {
        settings.measuredAngleDeg = c.angle;
        const Evaluation e = evaluate(echo(99, 60, 100), settings);
        EXPECT_DOUBLE_EQ(*e.depthMm, c.depth) << c.angle;
        EXPECT_DOUBLE_EQ(*e.surfaceMm, c.surface) << c.angle;
        EXPECT_EQ(e.angleSource, AngleSource::Measured);
        EXPECT_EQ(e.peakPct, 60);
        EXPECT_DOUBLE_EQ(*e.pathMm, 100);
    }
    // s = 42.5 mm at 45 degrees: 30.052 -> 30.1.
    settings.measuredAngleDeg = 45;
    EXPECT_DOUBLE_EQ(*evaluate(echo(99, 60, 42.5), settings).depthMm, 30.1);
}

TEST(Evaluation, TheMeasuredAngleComesFirstThenTheNominalThenTheRecordsSetting) {
    RecordReading reading = echo(99, 60, 100);
    reading.angleDeg = 45;  // the instrument's ANGLE
    EvaluationSettings settings = dacSettings();
    settings.measuredAngleDeg = 60;
    settings.nominalAngleDeg = 70;
    EXPECT_DOUBLE_EQ(*evaluate(reading, settings).depthMm, 50.0);
    settings.measuredAngleDeg.reset();
    const Evaluation nominal = evaluate(reading, settings);
    EXPECT_EQ(nominal.angleSource, AngleSource::Nominal);
    EXPECT_DOUBLE_EQ(*nominal.depthMm, 34.2);
    settings.nominalAngleDeg.reset();
    const Evaluation fromRecord = evaluate(reading, settings);
    EXPECT_EQ(fromRecord.angleSource, AngleSource::Record);
    EXPECT_DOUBLE_EQ(*fromRecord.depthMm, 70.7);
    // A record whose ANGLE holds no number was taken straight.
    reading.angleDeg.reset();
    EXPECT_DOUBLE_EQ(*evaluate(reading, settings).depthMm, 100.0);
}

TEST(Evaluation, TheDacCurveIsReadAtAPointBetweenPointsAndNotOutsideItsSpan) {
    const EvaluationSettings settings = dacSettings();
    // At a point: sample 99 stands at x = 100, where the curve is 60 %.
    Evaluation e = evaluate(echo(99, 60), settings);
    EXPECT_DOUBLE_EQ(*e.levelDb, 0.0);
    EXPECT_DOUBLE_EQ(*e.dacPct, 100.0);
    e = evaluate(echo(99, 30), settings);  // 20 log10(0.5) = -6.02
    EXPECT_DOUBLE_EQ(*e.levelDb, -6.0);
    EXPECT_DOUBLE_EQ(*e.dacPct, 50.0);
    // Between points: x = 150 is half-way from 60 % to 40 %: D = 50; 20 log10(80/50) = 4.08.
    e = evaluate(echo(149, 80), settings);
    EXPECT_DOUBLE_EQ(*e.levelDb, 4.1);
    EXPECT_DOUBLE_EQ(*e.dacPct, 160.0);
    // x = 40 on the first segment: D = 80 - 20 * 20/80 = 75; 20 log10(50/75) = -3.52.
    e = evaluate(echo(39, 50), settings);
    EXPECT_DOUBLE_EQ(*e.levelDb, -3.5);
    EXPECT_DOUBLE_EQ(*e.dacPct, 66.7);
    // The last point itself (x = 200, sample 199) is on the curve; x = 201 and x = 10 are not.
    EXPECT_DOUBLE_EQ(*evaluate(echo(199, 40), settings).levelDb, 0.0);
    for (int sample : {200, 9}) {
        e = evaluate(echo(sample, 40), settings);
        EXPECT_FALSE(e.levelDb) << sample;
        EXPECT_FALSE(e.dacPct) << sample;
        EXPECT_EQ(e.result, Result::OutsideDac) << sample;
        EXPECT_TRUE(e.depthMm) << "the echo's place is known all the same";
    }
    // A record without a curve (no point, or one point: nothing drawn) has no level either.
    for (const DacPoints& points : {DacPoints{}, DacPoints{{100, 60}}}) {
        e = evaluate(echo(99, 60, 50, points), settings);
        EXPECT_FALSE(e.levelDb);
        EXPECT_EQ(e.result, Result::OutsideDac);
        EXPECT_EQ(e.notes.size(), 1);
    }
}

TEST(DacCurve, AnUprightSegmentGivesItsHigherEndAndPointsNeedNotRise) {
    EXPECT_DOUBLE_EQ(*dacAmplitudeAt({{50, 40}, {50, 70}, {90, 30}}, 50), 70);
    EXPECT_DOUBLE_EQ(*dacAmplitudeAt({{50, 40}, {50, 70}, {90, 30}}, 70), 50);
    // Stored right to left the segments still enclose x.
    EXPECT_DOUBLE_EQ(*dacAmplitudeAt({{100, 20}, {60, 60}}, 80), 40);
}

TEST(Evaluation, AReferenceEchoCorrectsForGainAndTransfer) {
    EvaluationSettings settings;
    settings.method = ReferenceMethod::Record;
    settings.rule = rule();
    // A = 40 % at G = 50 dB against A_R = 80 % at G_R = 44 dB with T = 4 dB:
    // 20 log10(40/80) - (50 - 44 - 4) = -6.02 - 2 = -8.02.
    settings.reference = ReferenceEcho{80, 44};
    settings.transferDb = 4;
    RecordReading reading = echo(99, 40);
    reading.gainDb = 50;
    Evaluation e = evaluate(reading, settings);
    EXPECT_DOUBLE_EQ(*e.levelDb, -8.0);
    EXPECT_FALSE(e.dacPct);
    EXPECT_EQ(e.result, Result::BelowRecordingLevel);
    // A = 100 % at the reference gain against 50 %: +6.02; a transfer correction of 3 dB
    // that was not added leaves the echo 3 dB higher: 9.02.
    settings.reference = ReferenceEcho{50, 40};
    settings.transferDb = 0;
    reading = echo(99, 100);
    reading.gainDb = 40;
    EXPECT_DOUBLE_EQ(*evaluate(reading, settings).levelDb, 6.0);
    settings.transferDb = 3;
    EXPECT_DOUBLE_EQ(*evaluate(reading, settings).levelDb, 9.0);
    // The DAC curve plays no part: an echo far outside it has its level.
    reading = echo(240, 50);
    reading.gainDb = 40;
    EXPECT_DOUBLE_EQ(*evaluate(reading, settings).levelDb, 3.0);

    // Without the record's gain, or without a reference echo, there is no level and no
    // result: the job must be put right, nothing is guessed.
    reading.gainDb.reset();
    e = evaluate(reading, settings);
    EXPECT_FALSE(e.levelDb);
    EXPECT_FALSE(e.result);
    EXPECT_EQ(e.notes, QStringList{"no level: the record's gain holds no number"});
    reading.gainDb = 40;
    settings.reference.reset();
    EXPECT_FALSE(evaluate(reading, settings).result);
}

TEST(Evaluation, EachEdgeOfTheRuleFallsOnTheDocumentedSide) {
    const EvaluationRule r = rule();
    EXPECT_EQ(resultOfLevel(r, -6.1, std::nullopt), Result::BelowRecordingLevel);
    EXPECT_EQ(resultOfLevel(r, -6.0, std::nullopt), Result::Acceptable);
    EXPECT_EQ(resultOfLevel(r, 0.0, std::nullopt), Result::Acceptable);
    EXPECT_EQ(resultOfLevel(r, 0.1, std::nullopt), Result::Reject);
    EXPECT_EQ(resultOfLevel(r, -3, 10.0), Result::Acceptable);
    EXPECT_EQ(resultOfLevel(r, -3, 10.1), Result::Reject);
    // Below the recording level the length does not count.
    EXPECT_EQ(resultOfLevel(r, -9, 50.0), Result::BelowRecordingLevel);
    // Without a length limit any length is within it; without a level no result.
    EvaluationRule open = r;
    open.lengthLimitMm.reset();
    EXPECT_EQ(resultOfLevel(open, -3, 500.0), Result::Acceptable);
    open.acceptanceLevelDb.reset();
    EXPECT_EQ(resultOfLevel(open, -3, std::nullopt), std::nullopt);

    // Through the whole evaluation: -6.02 dB shows as -6.0 and is recorded as it shows.
    const EvaluationSettings settings = dacSettings();
    EXPECT_EQ(evaluate(echo(99, 30), settings).result, Result::Acceptable);
    EXPECT_EQ(evaluate(echo(99, 29), settings).result, Result::BelowRecordingLevel);  // -6.3
    EXPECT_EQ(evaluate(echo(99, 61), settings).result, Result::Reject);               // +0.1
    JobItem item;
    item.lengthMm = 12;
    EXPECT_EQ(evaluate(echo(99, 45), settings, &item).result, Result::Reject);  // -2.5 dB
    item.lengthMm = 10;
    const Evaluation within = evaluate(echo(99, 45), settings, &item);
    EXPECT_EQ(within.result, Result::Acceptable);
    EXPECT_TRUE(within.notes.isEmpty());
    // A recorded indication whose length was not noted is judged on its level, and said so.
    const Evaluation unnoted = evaluate(echo(99, 45), settings);
    EXPECT_EQ(unnoted.result, Result::Acceptable);
    EXPECT_EQ(unnoted.notes, QStringList{"the indication's length is not noted"});
}

TEST(Evaluation, NoGatePeakIsNoIndicationAndAnOverrideKeepsWhatWasComputed) {
    const EvaluationSettings settings = dacSettings();
    RecordReading none;
    none.dacPoints = kCurve;
    Evaluation e = evaluate(none, settings);
    EXPECT_EQ(e.result, Result::NoIndication);
    EXPECT_FALSE(e.peakPct);
    EXPECT_FALSE(e.depthMm);
    EXPECT_FALSE(e.levelDb);
    // A gate whose highest sample is 0 % holds no echo either.
    EXPECT_EQ(evaluate(echo(99, 0), settings).result, Result::NoIndication);

    JobItem item;
    item.resultOverride = ResultOverride{Result::Acceptable, "geometry echo of the root", "A. B.",
                                         "2026-12-08T14:02:11+01:00"};
    e = evaluate(echo(99, 80), settings, &item);
    EXPECT_EQ(e.computed, Result::Reject);
    EXPECT_EQ(e.result, Result::Acceptable);
    EXPECT_TRUE(e.overridden);
}

TEST(JobSummary, CountsRecordedAndRejectedAndTellsTheOverallResult) {
    auto with = [](std::optional<Result> result) {
        Evaluation e;
        e.result = result;
        return e;
    };
    JobSummary s = summarize({with(Result::Acceptable), with(Result::NoIndication),
                              with(Result::BelowRecordingLevel), with(Result::Reject)});
    EXPECT_EQ(s.records, 4);
    EXPECT_EQ(s.recorded, 2);
    EXPECT_EQ(s.rejected, 1);
    EXPECT_EQ(s.overall, "reject");
    s = summarize({with(Result::Acceptable), with(Result::OutsideDac)});
    EXPECT_EQ(s.unevaluated, 1);
    EXPECT_EQ(s.overall, "not evaluated");
    EXPECT_EQ(summarize({with(Result::Acceptable), with(std::nullopt)}).overall, "not evaluated");
    EXPECT_EQ(summarize({with(Result::NoIndication)}).overall, "acceptable");
    EXPECT_EQ(summarize({}).overall, "no records");
}

}  // namespace
}  // namespace trellicap::inspection
