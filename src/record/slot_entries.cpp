#include "record/slot_entries.h"

namespace trellicap {

QString slotEntryText(int slot, bool marked) {
    return QStringLiteral("Mem %1%2").arg(slot).arg(marked ? QStringLiteral(" *") : QString());
}

QStringList slotListEntries(const std::array<bool, kSlotCount>& marked) {
    QStringList entries;
    entries.reserve(kSlotCount);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        entries.append(slotEntryText(slot, marked[static_cast<std::size_t>(slot - 1)]));
    }
    return entries;
}

}  // namespace trellicap
