// The caption beside the report header boxes: which slot "S  A  V  E" stores the notes
// into, and, when the record on screen is another slot's (a batch or a frame sent from the
// instrument shows its record without making it the notes' slot), how to annotate that one.
#pragma once

#include <QString>
#include <optional>

namespace trellicap {

// notesColumn: the shown slot's column (where the notes go). recordColumn: the column whose
// record the plot shows; nullopt for the start-up trace.
[[nodiscard]] QString notesTargetText(int notesColumn, std::optional<int> recordColumn);

}  // namespace trellicap
