// The texts of the slot list: "Mem " and the slot number, with the slot mark " *" once the
// slot holds a record.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "profiles/model_profile.h"

namespace trellicap {

// The slot-list text of a slot (1..200), with or without the slot mark " *".
[[nodiscard]] QString slotEntryText(int slot, bool marked);

// The 200 entries a load leaves: "Mem 1" .. "Mem 200", marked where the load found a record
// naming its own slot.
[[nodiscard]] QStringList slotListEntries(const std::array<bool, kSlotCount>& marked);

}  // namespace trellicap
