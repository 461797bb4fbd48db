// A job's records read and evaluated: the one way from a job to its numbers, for the job
// window, trellicap-cli (job show, evaluate) and the job report. A record is read as the
// tables read it (the gate 1 peak of the CSV, the DAC points of the JSON), straight from its
// values without drawing it, so that a whole archive evaluates in moments.
#pragma once

#include <QStringList>
#include <optional>
#include <span>
#include <vector>

#include "inspection/evaluation.h"
#include "inspection/job.h"
#include "inspection/job_summary.h"
#include "profiles/model_profile.h"

namespace trellicap {

// What the evaluation reads off a record of `profile` (its whole values).
[[nodiscard]] inspection::RecordReading readingOfValues(const ModelProfile& profile,
                                                        std::span<const RecordValue> values);

// The reference record's gate 1 echo: its amplitude, at its own gain (the job's reference
// gain where the record's holds no number). nullopt without a record of this model or
// without an echo in gate 1.
[[nodiscard]] std::optional<inspection::ReferenceEcho> referenceEcho(
    const ModelProfile& profile, const inspection::ReferenceSensitivity& reference);

struct JobEvaluation {
    std::optional<inspection::ReferenceEcho> reference;
    inspection::EvaluationSettings settings;
    std::vector<inspection::Evaluation> records;  // in the job's order
    inspection::JobSummary summary;
};

// Every record of the job evaluated against it. A record that is not of the profile's size
// has no evaluation of its own (no result), which leaves the job "not evaluated".
[[nodiscard]] JobEvaluation evaluateJob(const ModelProfile& profile, const inspection::Job& job);

// The record's model key as text ("tft").
[[nodiscard]] QString modelName(const ModelProfile& profile);

}  // namespace trellicap
