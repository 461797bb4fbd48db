#include "inspection/evaluation.h"

#include <cmath>
#include <numbers>

namespace trellicap::inspection {

namespace {

// The angle used: the job probe's measured angle, else its nominal, else the record's
// ANGLE setting (a record without one was taken with a straight probe).
std::pair<double, AngleSource> angleOf(const RecordReading& record,
                                       const EvaluationSettings& settings) {
    if (settings.measuredAngleDeg) {
        return {*settings.measuredAngleDeg, AngleSource::Measured};
    }
    if (settings.nominalAngleDeg) {
        return {*settings.nominalAngleDeg, AngleSource::Nominal};
    }
    return {record.angleDeg.value_or(0.0), AngleSource::Record};
}

void dacLevel(const RecordReading& record, const Peak& peak, Evaluation& out) {
    if (record.dacPoints.size() < 2) {
        out.notes << QStringLiteral("outside DAC: the record holds no DAC curve");
        return;
    }
    // The trace draws sample i at x = i + 1; the curve's x are in the same units.
    const auto reference = dacAmplitudeAt(record.dacPoints, peak.sample + 1.0);
    if (!reference) {
        out.notes << QStringLiteral("outside DAC: the echo lies beyond the curve's points");
        return;
    }
    out.levelDb = roundTenth(20.0 * std::log10(peak.amplitude / *reference));
    out.dacPct = roundTenth(100.0 * peak.amplitude / *reference);
}

void referenceLevel(const RecordReading& record, const Peak& peak,
                    const EvaluationSettings& settings, Evaluation& out) {
    if (!settings.reference || settings.reference->amplitude <= 0) {
        out.notes << QStringLiteral("no level: the reference record has no gate 1 echo");
        return;
    }
    if (!record.gainDb) {
        out.notes << QStringLiteral("no level: the record's gain holds no number");
        return;
    }
    const ReferenceEcho& ref = *settings.reference;
    const double excessGain = *record.gainDb - ref.gainDb - settings.transferDb;
    out.levelDb = roundTenth(
        20.0 * std::log10(static_cast<double>(peak.amplitude) / ref.amplitude) - excessGain);
}

}  // namespace

double roundTenth(double value) {
    const double rounded = std::round(value * 10.0) / 10.0;
    return rounded == 0.0 ? 0.0 : rounded;
}

EvaluationSettings evaluationSettings(const Job& job,
                                      const std::optional<ReferenceEcho>& reference) {
    EvaluationSettings settings;
    settings.method = job.reference.method;
    settings.reference = reference;
    settings.transferDb = job.reference.transferDb;
    settings.rule = job.evaluation;
    settings.measuredAngleDeg = job.probe.measuredAngleDeg;
    settings.nominalAngleDeg = job.probe.angleDeg;
    return settings;
}

std::optional<Result> resultOfLevel(const EvaluationRule& rule, double levelDb,
                                    const std::optional<double>& lengthMm) {
    if (!rule.recordingLevelDb || !rule.acceptanceLevelDb) {
        return std::nullopt;
    }
    if (levelDb < *rule.recordingLevelDb) {
        return Result::BelowRecordingLevel;
    }
    const bool lengthWithin = !rule.lengthLimitMm || !lengthMm || *lengthMm <= *rule.lengthLimitMm;
    return levelDb <= *rule.acceptanceLevelDb && lengthWithin ? Result::Acceptable : Result::Reject;
}

Evaluation evaluate(const RecordReading& record, const EvaluationSettings& settings,
                    const JobItem* item) {
    Evaluation out;
    std::tie(out.angleDeg, out.angleSource) = angleOf(record, settings);
    const std::optional<double> lengthMm = item ? item->lengthMm : std::nullopt;
    if (!record.peak || record.peak->amplitude <= 0) {
        out.computed = Result::NoIndication;
    } else {
        const Peak& peak = *record.peak;
        out.peakPct = peak.amplitude;
        out.pathMm = peak.pathMm;
        const double theta = out.angleDeg * std::numbers::pi / 180.0;
        out.depthMm = roundTenth(peak.pathMm * std::cos(theta));
        out.surfaceMm = roundTenth(peak.pathMm * std::sin(theta));
        if (settings.method == ReferenceMethod::Dac) {
            dacLevel(record, peak, out);
        } else {
            referenceLevel(record, peak, settings, out);
        }
        if (out.levelDb) {
            out.computed = resultOfLevel(settings.rule, *out.levelDb, lengthMm);
            if (out.computed != Result::BelowRecordingLevel && settings.rule.lengthLimitMm &&
                !lengthMm) {
                out.notes << QStringLiteral("the indication's length is not noted");
            }
        } else if (settings.method == ReferenceMethod::Dac) {
            out.computed = Result::OutsideDac;
        }
    }
    out.result = out.computed;
    if (item && item->resultOverride) {
        out.result = item->resultOverride->result;
        out.overridden = true;
    }
    return out;
}

}  // namespace trellicap::inspection
