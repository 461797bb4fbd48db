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
    QSqlQuery wal(database);
    wal.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    return true;
}

QSqlDatabase SyncLocalArchive::database() const {
    return QSqlDatabase::database(m_name, false);
}

QString SyncLocalArchive::workingFolder() const {
    return QFileInfo(m_path).absolutePath();
}

}  // namespace trellicap::archive
