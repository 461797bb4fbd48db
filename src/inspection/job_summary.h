// A job's evaluations summed up, as the report's summary gives them.
#pragma once

#include <QString>
#include <vector>

#include "inspection/evaluation.h"

namespace trellicap::inspection {

struct JobSummary {
    int records = 0;
    int recorded = 0;  // at or above the recording level: acceptable or reject
    int rejected = 0;
    int unevaluated = 0;  // outside DAC or without a result, and not overridden
    QString overall;      // "reject", "acceptable", "not evaluated" (or "no records")
};

// From each record's evaluation, the inspector's overrides included: any reject rejects the
// job; a record without a result leaves it "not evaluated"; otherwise it is acceptable.
[[nodiscard]] JobSummary summarize(const std::vector<Evaluation>& evaluations);

}  // namespace trellicap::inspection
