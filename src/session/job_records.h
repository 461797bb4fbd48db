// Records for a job from where the inspector finds them: columns of the memory table, slots
// of a record file (read into a table of its own, never the window's), versions kept in the
// archive; and the reference record of a job read from its record file. Each record joins
// whole, with where it came from.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "inspection/job.h"
#include "record/record_store.h"

namespace trellicap {

// The columns' records (0..199), named as coming from the table of `file` (empty: unsaved).
[[nodiscard]] std::vector<inspection::JobItem> itemsFromTable(const RecordStore& store,
                                                              const QList<int>& columns,
                                                              const QString& file);

struct ChosenRecords {
    std::vector<inspection::JobItem> items;
    QString error;  // empty when every record was had
};

// The slots (1..200) of a record file of the profile's model; without slots the ones the
// load marks. A file that cannot be read whole is refused.
[[nodiscard]] ChosenRecords itemsFromFile(const ModelProfile& profile, const QString& path,
                                          const std::optional<std::vector<int>>& wanted);

// The newest versions of kept records of the profile's model.
[[nodiscard]] ChosenRecords itemsFromArchive(QSqlDatabase& db, const ModelProfile& profile,
                                             const QStringList& uuids);

// Method "record": the reference record read from its file and slot (a file name relative to
// `folder`) into the job; the reason when it cannot be. Nothing to do for method "dac" or a
// job that carries its reference record already.
[[nodiscard]] std::optional<QString> loadReferenceRecord(
    inspection::ReferenceSensitivity& reference, const ModelProfile& profile,
    const QString& folder);

}  // namespace trellicap
