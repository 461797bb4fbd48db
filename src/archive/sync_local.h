// The local archive as the sync reads it: its own connection to an archive.sqlite that the
// window program may hold open at the same time (WAL: the sync's reads never wait for the
// window's writes; a short busy wait for the marks it writes).
#pragma once

#include <QSqlDatabase>
#include <QString>

#include "archive/db_connection.h"

namespace trellicap::archive {

class SyncLocalArchive {
public:
    explicit SyncLocalArchive(QString path);
    ~SyncLocalArchive();
    SyncLocalArchive(const SyncLocalArchive&) = delete;
    SyncLocalArchive& operator=(const SyncLocalArchive&) = delete;

    // Opens an existing archive (a sync never makes one up); false with error() set.
    bool open();
    [[nodiscard]] QSqlDatabase database() const;
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] const QString& path() const { return m_path; }
    // The folder the archive lives in: the working folder it belongs to.
    [[nodiscard]] QString workingFolder() const;

private:
    QString m_path;
    DbConnection m_connection;
    QString m_error;
};

}  // namespace trellicap::archive
