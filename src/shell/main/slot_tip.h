// What a marked slot-list entry tells when the pointer rests on it: the record's time and
// date, RANGE, and operator (or, without one, the job number), read from the record itself.
#pragma once

#include <QString>
#include <span>

#include "profiles/model_profile.h"

namespace trellicap {

[[nodiscard]] QString slotTip(const ModelProfile& profile, std::span<const RecordValue> record);

}  // namespace trellicap
