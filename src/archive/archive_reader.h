// An archive file opened for reading only, never created, locked or migrated: what the
// window's comparison reads, also while the window program writes the archive (WAL).
// Opening tells a missing file and a file that is not an archive apart, in words.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include "archive/db_connection.h"

namespace trellicap::archive {

class ArchiveReader {
public:
    explicit ArchiveReader(const QString& path);

    // Empty when the archive can be read, else why not: "There is no archive at PATH." or
    // "The archive PATH cannot be read: REASON".
    [[nodiscard]] const QString& problem() const { return m_problem; }
    [[nodiscard]] QSqlDatabase& db() { return m_connection.db(); }

private:
    DbConnection m_connection;
    QString m_problem;
};

}  // namespace trellicap::archive
