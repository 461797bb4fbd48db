#include "storage/slot_entries.h"

#include "shell/record_store.h"

namespace trellicap {

QStringList slotListEntries(const std::array<bool, kSlotCount>& marked) {
    QStringList entries;
    entries.reserve(kSlotCount);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        entries.append(slotEntryText(slot, marked[static_cast<std::size_t>(slot - 1)]));
    }
    return entries;
}

}  // namespace trellicap
