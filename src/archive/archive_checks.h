// What `trellicap-cli archive verify` and `archive import` ask of a local archive: its counts
// and its integrity, the search index's own included.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace trellicap::archive {

// How many versions, and how many records of a model, the archive keeps (0 when unread).
[[nodiscard]] int versionCount(QSqlDatabase& db);
[[nodiscard]] int recordCount(QSqlDatabase& db, const QString& model);

struct IntegrityCheck {
    QString error;         // the check itself could not run (the engine's words)
    QStringList problems;  // what it found; empty: the archive is sound
};

// SQLite's integrity check, then the search index's own, once the versions kept since its
// mark are in it (search_index.h). SQLite 3.40 checks the index in itself, not against the
// versions: a file whose rows were renumbered, by VACUUM say, needs
// `INSERT INTO version_search (version_search) VALUES ('rebuild')` and the mark moved to the
// newest version (`UPDATE search_indexed SET up_to = (SELECT MAX(rowid) FROM
// record_versions)`) in the same transaction.
[[nodiscard]] IntegrityCheck checkIntegrity(QSqlDatabase& db);

}  // namespace trellicap::archive
