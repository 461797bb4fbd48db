#include "archive/sync_local.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace trellicap::archive {

SyncLocalArchive::SyncLocalArchive(QString path)
    : m_path(std::move(path)),
      m_name(QStringLiteral("trellicap-sync-local-") +
             QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

SyncLocalArchive::~SyncLocalArchive() {
    {
        QSqlDatabase database = QSqlDatabase::database(m_name, false);
        if (database.isValid()) {
            database.close();
        }
    }
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool SyncLocalArchive::open() {
    if (!QFileInfo(m_path).isFile()) {
        m_error = QStringLiteral("there is no archive at %1").arg(m_path);
        return false;
    }
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
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
    return true;
}

QSqlDatabase SyncLocalArchive::database() const {
    return QSqlDatabase::database(m_name, false);
}

QString SyncLocalArchive::workingFolder() const {
    return QFileInfo(m_path).absolutePath();
}

}  // namespace trellicap::archive
