#include "report/kept_records.h"

#include <algorithm>

#include "archive/archive_search.h"

namespace trellicap {

KeptTable tableFromKept(QSqlDatabase& db, const QStringList& uuids, RecordStore& store) {
    KeptTable table;
    store.initMemoryTable();
    const ModelProfile& profile = store.profile();
    const QString model = QString::fromLatin1(profile.modelKey.data(),
                                              static_cast<qsizetype>(profile.modelKey.size()));
    std::vector<QString> bySlot(kSlotCount);
    for (const QString& uuid : uuids) {
        const auto kept = archive::newestVersion(db, uuid);
        if (!kept) {
            table.error = QStringLiteral("no record %1 in the archive").arg(uuid);
            return table;
        }
        if (kept->model != model) {
            table.error = QStringLiteral("record %1 is of the %2 model, not %3")
                              .arg(uuid, kept->model, model);
            return table;
        }
        if (kept->slot < 1 || kept->slot > kSlotCount) {
            table.error = QStringLiteral("record %1 names no slot 1 to 200").arg(uuid);
            return table;
        }
        QString& holder = bySlot[static_cast<std::size_t>(kept->slot - 1)];
        if (!holder.isEmpty()) {
            table.error = QStringLiteral(
                              "records %1 and %2 are both of slot %3; a record file "
                              "holds one record per slot")
                              .arg(holder, uuid)
                              .arg(kept->slot);
            return table;
        }
        const auto values = archive::keptValues(db, uuid, kept->version, profile.recordSize());
        if (!values) {
            table.error =
                QStringLiteral("the values of record %1 are missing or damaged").arg(uuid);
            return table;
        }
        holder = uuid;
        const auto column = store.column(kept->slot - 1);
        std::copy(values->begin(), values->end(), column.begin());
        table.filled.push_back(kept->slot);
    }
    std::sort(table.filled.begin(), table.filled.end());
    return table;
}

}  // namespace trellicap
