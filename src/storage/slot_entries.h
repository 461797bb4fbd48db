// The 200 slot-list entries a load leaves: "Mem 1" .. "Mem 200", marked where the load
// found a record naming its own slot.
#pragma once

#include <QStringList>
#include <array>

#include "profiles/model_profile.h"

namespace trellicap {

[[nodiscard]] QStringList slotListEntries(const std::array<bool, kSlotCount>& marked);

}  // namespace trellicap
