// The archive read a page at a time, for a viewer that never writes: one page of a search and
// how many versions the whole search finds, one version by its key, and a record's history
// (every version, where each came from, the later arrivals of the same values, the record
// files it was saved into and, on the team server, which laptop sent it). The searches are
// those of archive_search.h, cut into pages; every value is bound.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "archive/archive_search.h"

namespace trellicap::archive {

// A version by its key.
struct VersionKey {
    QString uuid;
    int version = 0;
};

// Every version the search finds, in its order, by key only: the whole result in the
// memory a page of rows would take, so that any page of it, and its length, are at hand.
// Nothing with `error` set when the database refuses the query.
[[nodiscard]] std::optional<std::vector<VersionKey>> searchKeys(QSqlDatabase& db,
                                                                const SearchFilter& filter,
                                                                SearchColumn orderBy,
                                                                bool ascending, QString* error);

// The short rows (no saved-in files) of the keys, in their order; a key the archive does not
// hold is left out.
[[nodiscard]] std::optional<std::vector<KeptVersion>> versionRows(QSqlDatabase& db,
                                                                  std::span<const VersionKey> keys,
                                                                  QString* error);

// One version's short row (no saved-in files); nothing for an unknown key.
[[nodiscard]] std::optional<KeptVersion> versionRow(QSqlDatabase& db, const QString& uuid,
                                                    int version, QString* error);

// A later arrival of values kept before: a second capture, the same file opened again.
struct LaterArrival {
    QString source;
    QString path;
    QString arrived;
};

// Who sent a version to the team server: the laptop's archive, its working folder and the
// inspector's login.
struct Sender {
    QString laptop;
    QString workingFolder;
    QString inspector;
    QString received;
};

struct VersionHistory {
    KeptVersion kept;  // with the record files it was saved into
    std::vector<LaterArrival> laterArrivals;
    std::optional<Sender> sentFrom;  // only a team server knows
};

// Every version of the record, oldest first; empty for an unknown UUID, nothing with `error`
// set when the database refuses the query.
[[nodiscard]] std::optional<std::vector<VersionHistory>> recordHistory(QSqlDatabase& db,
                                                                       const QString& uuid,
                                                                       QString* error);

// A text that changes whenever a version or a saved-in note is added (records and their
// notes are only ever added): what a count remembered for a search is checked against.
[[nodiscard]] std::optional<QString> changeStamp(QSqlDatabase& db, QString* error);

// The archive's own identity (archive_info's archive_uuid); empty when it has none.
[[nodiscard]] QString archiveIdentity(QSqlDatabase& db);

}  // namespace trellicap::archive
