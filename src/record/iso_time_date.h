// The time and date of storing as ISO 8601. The instrument stores ten codes: hours,
// minutes, day, month and two-digit year, two digits each ("0650010213": 06:50 on 1 February
// 2013); the window shows them as "Tm: 06:50 Dt:01/02/13".
#pragma once

#include <QString>
#include <span>

#include "profiles/model_profile.h"

namespace trellicap {

// "2013-02-01T06:50" when the ten codes form a valid time and date (a blank may stand for a
// leading zero, years are 2000..2099); else the ten codes as characters, up to a code 0 as
// a text box shows them.
[[nodiscard]] QString isoTimeDate(std::span<const RecordValue> codes);

}  // namespace trellicap
