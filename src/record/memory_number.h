// The slot a record belongs to, read from the record itself: the codes at 358..360 spell
// it as decimal text ("0", "0", "7" -> slot 7).
#pragma once

#include <optional>
#include <span>

#include "profiles/model_profile.h"

namespace trellicap {

// The number spelled by a record's memory-number codes (358..360), read as a leading number.
[[nodiscard]] double memoryNumber(std::span<const RecordValue> record);
// The memory-table column for a memory number: only whole numbers 1..200 address a slot.
[[nodiscard]] std::optional<int> columnForMemoryNumber(double number);

}  // namespace trellicap
