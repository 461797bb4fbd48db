// A record's evaluation as the tool prints it: a table row for people, an object for
// programs (docs/cli.md: slot, peak_pct, path_mm, depth_mm, surface_mm, level_db, dac_pct,
// result, then angle_deg and notes).
#pragma once

#include <QString>
#include <vector>

#include "inspection/evaluation.h"

namespace trellicap::cli {

struct SlotEvaluation {
    int slot = 0;
    inspection::Evaluation evaluation;
};

// Heading and one line per slot, columns aligned.
[[nodiscard]] QString evaluationTable(const std::vector<SlotEvaluation>& rows);
// {"slot": 3, "peak_pct": 100, ...} on one line; nothing known is null.
[[nodiscard]] QString evaluationJson(const SlotEvaluation& row);

}  // namespace trellicap::cli
