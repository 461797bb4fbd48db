#include "archive/server_connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace trellicap::archive {

ServerConnection::ServerConnection(const ServerAddress& address)
    : m_address(address),
      m_name(QStringLiteral("trellicap-server-") +
             QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

ServerConnection::~ServerConnection() {
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

bool ServerConnection::open() {
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kServerDriver))) {
        m_error = QStringLiteral(
            "Qt's PostgreSQL driver is not installed (Debian package libqt6sql6-psql)");
        return false;
    }
    QSqlDatabase database =
        QSqlDatabase::contains(m_name)
            ? QSqlDatabase::database(m_name, false)
            : QSqlDatabase::addDatabase(QString::fromLatin1(kServerDriver), m_name);
    applyServerAddress(database, m_address);
    if (!database.open()) {
        m_error = serverReason(database.lastError());
        return false;
    }
    // The server's notices ("relation already exists, skipping") are no news to anyone.
    QSqlQuery quiet(database);
    quiet.exec(QStringLiteral("SET client_min_messages TO warning"));
    m_error.clear();
    return true;
}

QSqlDatabase ServerConnection::database() const {
    return QSqlDatabase::database(m_name, false);
}

QString serverReason(const QSqlError& error) {
    QString text = error.databaseText().simplified();
    if (text.isEmpty()) {
        text = error.driverText().simplified();
    }
    if (text.isEmpty()) {
        text = error.text().simplified();
    }
    return text;
}

}  // namespace trellicap::archive
