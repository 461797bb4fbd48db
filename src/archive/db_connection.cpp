#include "archive/db_connection.h"

#include <QUuid>

namespace trellicap::archive {

DbConnection::DbConnection(const QString& driver, const QString& purpose)
    : m_name(purpose + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::WithoutBraces)),
      m_db(QSqlDatabase::addDatabase(driver, m_name)) {}

DbConnection::~DbConnection() {
    close();
    // Every handle to the connection must be gone before its name is removed.
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void DbConnection::close() {
    if (m_db.isOpen()) {
        m_db.close();
    }
}

bool openSqliteReadOnly(DbConnection& connection, const QString& path) {
    QSqlDatabase& db = connection.db();
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=250"));
    return db.open();
}

}  // namespace trellicap::archive
