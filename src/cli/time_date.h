// The time and date of storing as ISO 8601: the record floor's helper, which the archive
// shares.
#pragma once

#include "record/iso_time_date.h"

namespace trellicap::cli {

using trellicap::isoTimeDate;

}  // namespace trellicap::cli
