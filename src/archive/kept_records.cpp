#include "archive/kept_records.h"

#include <algorithm>

#include "archive/kept_read.h"

namespace trellicap {

KeptTable tableFromKept(QSqlDatabase& db, const QStringList& uuids, RecordStore& store) {
    KeptTable table;
    store.initMemoryTable();
    std::vector<QString> bySlot(kSlotCount);
    for (const QString& uuid : uuids) {
        // Checked before it touches a column: slot, model and count of values.
        archive::KeptRead read = archive::readKeptRecord(db, uuid, 0, store.profile());
        if (!read.ok()) {
            table.error = read.refusal;
            return table;
        }
        const archive::KeptRecord& kept = *read.record;
        QString& holder = bySlot[static_cast<std::size_t>(kept.version.slot - 1)];
        if (!holder.isEmpty()) {
            table.error = QStringLiteral(
                              "records %1 and %2 are both of slot %3; a record file "
                              "holds one record per slot")
                              .arg(holder, uuid)
                              .arg(kept.version.slot);
            return table;
        }
        holder = uuid;
        const auto column = store.column(kept.version.slot - 1);
        std::copy(kept.values.begin(), kept.values.end(), column.begin());
        table.filled.push_back(kept.version.slot);
    }
    std::sort(table.filled.begin(), table.filled.end());
    return table;
}

}  // namespace trellicap
