#include "archive/sync_local.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace trellicap::archive {

SyncLocalArchive::SyncLocalArchive(QString path)
    : m_path(std::move(path)),
      m_connection(QStringLiteral("QSQLITE"), QStringLiteral("trellicap-sync-local")) {}

SyncLocalArchive::~SyncLocalArchive() = default;

bool SyncLocalArchive::open() {
    if (!QFileInfo(m_path).isFile()) {
        m_error = QStringLiteral("there is no archive at %1").arg(m_path);
        return false;
    }
    QSqlDatabase& database = m_connection.db();
    database.setDatabaseName(m_path);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!database.open()) {
        m_error = QStringLiteral("%1: %2").arg(m_path, database.lastError().text().simplified());
        return false;
    }
    QSqlQuery pragma(database);
    pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    // The sync's own notes of what it sent need no flush to the disk: one lost in a power
    // cut only means its records are offered again and found on the server. Short commits
    // keep the window's archive writer (which waits a quarter of a second for a lock) clear.
    pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // Nor is the journal copied into the file in the middle of a sync (half the time of
    // its notes went there): the window's archive keeper copies it while idle, and the last
    // connection to close copies it anyway.
    pragma.exec(QStringLiteral("PRAGMA wal_autocheckpoint=16000"));
    return true;
}

QSqlDatabase SyncLocalArchive::database() const {
    return m_connection.db();
}

QString SyncLocalArchive::workingFolder() const {
    return QFileInfo(m_path).absolutePath();
}

}  // namespace trellicap::archive
