// The evaluation of one record against its job, computed from the record and the job alone:
// the gate 1 peak, where it lies (depth and surface distance along the probe angle), how
// high it is against the reference (dB to the record's own DAC curve, or to a reference
// echo with the gain and transfer corrections) and what that comes to under the job's rule.
#pragma once

#include <QStringList>
#include <optional>

#include "inspection/dac_curve.h"
#include "inspection/job.h"

namespace trellicap::inspection {

// The highest echo in gate 1: its sample, amplitude (% of screen height) and sound path.
struct Peak {
    int sample = 0;
    int amplitude = 0;
    double pathMm = 0;
};

// What the evaluation reads off a record (the tables' gate peak and DAC points, the gain and
// ANGLE settings as numbers; nullopt where a setting holds no number).
struct RecordReading {
    std::optional<Peak> peak;
    DacPoints dacPoints;
    std::optional<double> gainDb;
    std::optional<double> angleDeg;
};

// The reference echo of method Record: A_R at gain G_R.
struct ReferenceEcho {
    int amplitude = 0;
    double gainDb = 0;
};

enum class AngleSource { Measured, Nominal, Record };

// What the evaluation needs of the job.
struct EvaluationSettings {
    ReferenceMethod method = ReferenceMethod::Dac;
    std::optional<ReferenceEcho> reference;  // method Record
    double transferDb = 0;
    EvaluationRule rule;
    std::optional<double> measuredAngleDeg;
    std::optional<double> nominalAngleDeg;
};

// The job's settings; `reference` is the reference record's echo (method Record).
[[nodiscard]] EvaluationSettings evaluationSettings(const Job& job,
                                                    const std::optional<ReferenceEcho>& reference);

struct Evaluation {
    std::optional<int> peakPct;
    std::optional<double> pathMm;
    double angleDeg = 0;
    AngleSource angleSource = AngleSource::Record;
    std::optional<double> depthMm;    // to 0.1 mm
    std::optional<double> surfaceMm;  // to 0.1 mm
    std::optional<double> levelDb;    // to 0.1 dB; nullopt outside the DAC curve
    std::optional<double> dacPct;     // to 0.1 %; method DAC only
    // From the numbers and the rule; nullopt where the rule lacks a level or the level cannot
    // be had for a reason the job must put right (no reference echo, no gain).
    std::optional<Result> computed;
    std::optional<Result> result;  // the computed one, or the inspector's override
    bool overridden = false;
    QStringList notes;  // why a number is missing, what the inspector should look at
};

// Rounds to one decimal, halves away from zero, never "-0.0".
[[nodiscard]] double roundTenth(double value);

// The evaluation of a record; `item` adds the inspector's length note and override.
[[nodiscard]] Evaluation evaluate(const RecordReading& record, const EvaluationSettings& settings,
                                  const JobItem* item = nullptr);

// The result under the rule of a level (to 0.1 dB) and a length: below the recording level,
// else acceptable up to the acceptance level with the length within its limit, else reject.
[[nodiscard]] std::optional<Result> resultOfLevel(const EvaluationRule& rule, double levelDb,
                                                  const std::optional<double>& lengthMm);

}  // namespace trellicap::inspection
