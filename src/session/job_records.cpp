#include "session/job_records.h"

#include <QDir>
#include <QFileInfo>

#include "archive/archive_search.h"
#include "record/profile_text.h"
#include "storage/record_file_io.h"

namespace trellicap {

namespace {

struct FileTable {
    RecordStore store;
    LoadResult result;
};

// The whole file in a table of its own; an error for a file that does not load whole.
std::optional<QString> readWhole(const QString& path, FileTable& table) {
    table.store.initMemoryTable();
    table.store.prefillForLoad();
    table.result = loadRecordFile(path, table.store);
    if (!table.result.tableChanged()) {
        return QStringLiteral("the record file %1 cannot be opened: %2")
            .arg(path, table.result.systemError);
    }
    if (table.result.stop != LoadResult::Stop::Complete) {
        return QStringLiteral(
                   "the record file %1 could be read only in part (%2 of %3 values); "
                   "is it a %4 file?")
            .arg(path)
            .arg(table.result.valuesRead)
            .arg(table.result.valuesExpected)
            .arg(qs(table.store.profile().modelKey).toUpper());
    }
    return std::nullopt;
}

inspection::JobItem itemOf(std::span<const RecordValue> column, int slot) {
    inspection::JobItem item;
    item.slot = slot;
    item.values.assign(column.begin(), column.end());
    return item;
}

}  // namespace

std::vector<inspection::JobItem> itemsFromTable(const RecordStore& store, const QList<int>& columns,
                                                const QString& file) {
    std::vector<inspection::JobItem> items;
    for (const int column : columns) {
        inspection::JobItem item = itemOf(store.column(column), column + 1);
        item.origin = {inspection::OriginKind::Slot, file, {}, 0};
        items.push_back(std::move(item));
    }
    return items;
}

ChosenRecords itemsFromFile(const ModelProfile& profile, const QString& path,
                            const std::optional<std::vector<int>>& wanted) {
    ChosenRecords out;
    FileTable table{RecordStore(profile), {}};
    if (auto error = readWhole(path, table)) {
        out.error = *error;
        return out;
    }
    std::vector<int> chosen;
    if (wanted) {
        chosen = *wanted;
    } else {
        for (int s = 1; s <= kSlotCount; ++s) {
            if (table.result.marked[static_cast<std::size_t>(s - 1)]) {
                chosen.push_back(s);
            }
        }
    }
    if (chosen.empty()) {
        out.error = QStringLiteral("the record file %1 holds no marked slot").arg(path);
        return out;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const int slot : chosen) {
        if (slot < 1 || slot > kSlotCount) {
            out.error = QStringLiteral("there is no slot %1").arg(slot);
            out.items.clear();
            return out;
        }
        inspection::JobItem item = itemOf(table.store.column(slot - 1), slot);
        item.origin = {inspection::OriginKind::File, absolute, {}, 0};
        out.items.push_back(std::move(item));
    }
    return out;
}

ChosenRecords itemsFromArchive(QSqlDatabase& db, const ModelProfile& profile,
                               const QStringList& uuids) {
    ChosenRecords out;
    const QString model = qs(profile.modelKey);
    for (const QString& uuid : uuids) {
        const auto kept = archive::newestVersion(db, uuid);
        if (!kept) {
            out.error = QStringLiteral("no record %1 in the archive").arg(uuid);
            break;
        }
        if (kept->model != model) {
            out.error = QStringLiteral("record %1 is a %2 record, not %3")
                            .arg(uuid, kept->model.toUpper(), model.toUpper());
            break;
        }
        const auto values = archive::keptValues(db, uuid, kept->version, profile.recordSize());
        if (!values) {
            out.error = QStringLiteral("the values of record %1 are missing or damaged").arg(uuid);
            break;
        }
        inspection::JobItem item = itemOf(*values, kept->slot);
        item.origin = {inspection::OriginKind::Archive, kept->path, uuid, kept->version};
        out.items.push_back(std::move(item));
    }
    if (!out.error.isEmpty()) {
        out.items.clear();
    }
    return out;
}

std::optional<QString> loadReferenceRecord(inspection::ReferenceSensitivity& reference,
                                           const ModelProfile& profile, const QString& folder) {
    if (reference.method != inspection::ReferenceMethod::Record || !reference.values.empty()) {
        return std::nullopt;
    }
    if (reference.file.isEmpty() || reference.slot < 1 || reference.slot > kSlotCount) {
        return QStringLiteral("the reference record needs its record file and slot (1 to 200)");
    }
    FileTable table{RecordStore(profile), {}};
    if (auto error = readWhole(QDir(folder).absoluteFilePath(reference.file), table)) {
        return error;
    }
    const auto column = table.store.column(reference.slot - 1);
    reference.values.assign(column.begin(), column.end());
    reference.model = qs(profile.modelKey);
    return std::nullopt;
}

}  // namespace trellicap
