// The record file on disk: an atomic save and a load that reads only as far as it needs.
#pragma once

#include <QString>
#include <optional>

#include "record/record_store.h"
#include "storage/record_file_reader.h"
#include "storage/save_medium.h"

namespace trellicap {

// Writes the table to path through a temporary file renamed over the target, so a failed
// or interrupted save leaves any earlier file as it was and a successful one has exactly
// the format's size. Refuses a table holding a value that would not read back. Returns
// the reason when nothing was saved (for a full medium the system's: "No space left on
// device"). The table is never changed. The bytes reach the medium through medium.
[[nodiscard]] std::optional<QString> saveRecordFile(const QString& path, const RecordStore& store,
                                                    SaveMedium& medium = systemMedium());

// Opens path and loads it into the table. A file that cannot be opened leaves the table
// untouched (stop CannotOpen, reason in openError); otherwise see RecordFileReader.
[[nodiscard]] LoadResult loadRecordFile(const QString& path, RecordStore& store);

}  // namespace trellicap
