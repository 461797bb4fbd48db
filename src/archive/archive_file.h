// The SQLite file of an archive, opened under a connection of its own: WAL journal (a
// reader, such as trellicap-cli, never waits for the window's writes), every commit
// durable, and a short wait for a lock so that the window never freezes behind another
// program.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "archive/archive_failure.h"
#include "archive/db_connection.h"

namespace trellicap::archive {

class ArchiveFile {
public:
    explicit ArchiveFile(QString path);
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // Opens the file (creating it when missing) and brings its schema to this program's
    // version. Nothing when that worked.
    [[nodiscard]] std::optional<ArchiveFailure> open();
    [[nodiscard]] bool isOpen() const { return m_connection.db().isOpen(); }
    void close();

    // Moves a damaged file and its journal aside as "<name>.damaged-YYYYMMDD-HHMMSS"; the
    // new name, or empty when even that failed (error says why).
    [[nodiscard]] QString renameAside(QString* error);

    [[nodiscard]] QSqlDatabase& db() { return m_connection.db(); }
    [[nodiscard]] const QString& path() const { return m_path; }

private:
    QString m_path;
    DbConnection m_connection;
};

}  // namespace trellicap::archive
