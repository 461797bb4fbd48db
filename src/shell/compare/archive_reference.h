// An archived record as the trace to compare against: the short list "Compare with..." offers
// (the newest version of each record of this model, found by text and slot), and the
// reference its newest version gives, named so that the legend tells it from a slot of the
// memory table or of a record file. Every read goes through a read-only connection of its
// own: a comparison never creates, locks or changes the archive.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

#include "archive/archive_reader.h"
#include "archive/archive_search.h"
#include "display/reference_trace.h"
#include "record/user_message.h"

namespace trellicap {

// The archive file opened for reading only (archive_reader.h).
using ArchiveReading = archive::ArchiveReader;

struct ArchiveChoice {
    QString uuid;
    QString label;  // "Mem 12  2026-12-08 14:02  file  Shift.dat  1a2b3c4d"
};

// Up to `limit` records of `modelKey`, newest arrival first; `problem` says why there are none
// when the archive cannot be read.
[[nodiscard]] std::vector<ArchiveChoice> archiveChoices(const QString& archivePath,
                                                        const QString& modelKey,
                                                        const QString& text,
                                                        std::optional<int> slot, int limit,
                                                        QString* problem);

// "Archive Mem 12 (1a2b3c4d v2, Shift.dat)", or with the arrival time for a record that did
// not come from a file: "Archive Mem 12 (1a2b3c4d v1, 2026-12-08 14:02)".
[[nodiscard]] QString archiveReferenceName(const archive::KeptVersion& kept);

// The newest version of the record `uuid` in `db`, or why it cannot be had (the database
// refuses, no such record, a record of the other model, values missing).
[[nodiscard]] std::variant<ReferenceTrace, UserMessage> referenceFromArchive(
    const ModelProfile& profile, QSqlDatabase& db, const QString& uuid);
// The same from the archive file at `archivePath`.
[[nodiscard]] std::variant<ReferenceTrace, UserMessage> referenceFromArchiveFile(
    const ModelProfile& profile, const QString& archivePath, const QString& uuid);

}  // namespace trellicap
