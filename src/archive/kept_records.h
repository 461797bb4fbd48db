// Records chosen from the archive, put back into a memory table the way a record file
// holds them: each record's newest version in its own slot's column, every other slot at
// a fresh memory table's start values. What an export writes as a record file, a PDF or a
// CSV.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

#include "record/record_store.h"

namespace trellicap {

struct KeptTable {
    std::vector<int> filled;  // 1..200, ascending: the slots that hold a chosen record
    QString error;            // empty when every record found its slot
};

// Fills `store` (of the records' model) from the newest versions of `uuids`. Refused, naming
// the record: an unknown UUID, a record of another model, of a slot outside 1..200 or of the
// wrong length, two records for the same slot.
[[nodiscard]] KeptTable tableFromKept(QSqlDatabase& db, const QStringList& uuids,
                                      RecordStore& store);

}  // namespace trellicap
