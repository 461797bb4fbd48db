// The report header fields (operator and the like) as record codes: what "S  A  V  E" writes
// into the shown slot's column.
#pragma once

#include <QString>
#include <span>

#include "profiles/model_profile.h"

namespace trellicap {

// Writes each field's text into its rows of the column, in the profile's field order
// (texts[i] belongs to profile.headerFields[i]). Every row of the field's run is rewritten:
// what the text does not cover becomes a blank, so a shorter text never leaves the tail of
// an older one behind; a text longer than the run is cut. Rows outside the runs are not
// touched.
void storeHeaderFields(const ModelProfile& profile, std::span<const QString> texts,
                       std::span<RecordValue> column);

// The name a table gives the field: the label of its box without the leader dots
// ("Operator ..............." -> "Operator", "Job No." -> "Job No").
[[nodiscard]] QString headerFieldLabel(const HeaderField& field);

}  // namespace trellicap
