#include "archive/server_connection.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include "archive/connection_interrupt.h"

namespace trellicap::archive {

namespace {

// Where libpq reads passwords: PGPASSFILE, else ~/.pgpass (%APPDATA%\postgresql\pgpass.conf
// on Windows).
QString passwordFile() {
    const QString named = qEnvironmentVariable("PGPASSFILE");
    if (!named.isEmpty()) {
        return named;
    }
#ifdef Q_OS_WIN
    return QDir(qEnvironmentVariable("APPDATA")).filePath(QStringLiteral("postgresql/pgpass.conf"));
#else
    return QDir::home().filePath(QStringLiteral(".pgpass"));
#endif
}

QString shownPath(const QString& path) {
    const QString home = QDir::homePath() + QLatin1Char('/');
    return path.startsWith(home) ? QStringLiteral("~/") + path.mid(home.size()) : path;
}

}  // namespace

ServerConnection::ServerConnection(const ServerAddress& address)
    : m_address(address),
      m_connection(QString::fromLatin1(kServerDriver), QStringLiteral("trellicap-server")) {
    holdServerLibrary();  // the driver is loaded now, and with it libpq
}

ServerConnection::~ServerConnection() {
    close();
}

void ServerConnection::close() {
    if (m_interrupt) {
        m_interrupt->detach();
    }
    m_connection.close();
}

bool ServerConnection::open(ConnectionInterrupt* interrupt) {
    if (!m_connection.isValid()) {
        m_error = QStringLiteral(
            "Qt's PostgreSQL driver is not installed (Debian package libqt6sql6-psql)");
        return false;
    }
    close();
    QSqlDatabase& database = m_connection.db();
    applyServerAddress(database, m_address);
    if (!database.open()) {
        m_error = explainRefusal(serverReason(database.lastError()), m_address);
        return false;
    }
    m_interrupt = interrupt;
    if (m_interrupt) {
        m_interrupt->attach(database);
    }
    // The server's notices ("relation already exists, skipping") are no news to anyone.
    QSqlQuery quiet(database);
    quiet.exec(QStringLiteral("SET client_min_messages TO warning"));
    m_error.clear();
    return true;
}

QSqlDatabase ServerConnection::database() const {
    return m_connection.db();
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

QString explainRefusal(const QString& reason, const ServerAddress& address) {
    if (!reason.contains(QLatin1String("no password supplied"))) {
        return reason;
    }
    const QString file = passwordFile();
    QString text = QStringLiteral(
                       "the server asks for a password for %1 and none was found: put the line "
                       "%2:%3:%4:%1:PASSWORD into %5 (readable by you alone, mode 0600) or set "
                       "the environment variable PGPASSWORD")
                       .arg(address.user, address.host)
                       .arg(address.port)
                       .arg(address.database, shownPath(file));
    const QFileInfo info(file);
    if (info.exists()) {
        const auto others = QFileDevice::ReadGroup | QFileDevice::ReadOther |
                            QFileDevice::WriteGroup | QFileDevice::WriteOther;
#ifndef Q_OS_WIN
        if (info.permissions() & others) {
            text += QStringLiteral(
                        "; %1 is there, but others may read it, so PostgreSQL "
                        "ignores it (chmod 600 %1)")
                        .arg(shownPath(file));
        } else
#endif
        {
            text += QStringLiteral("; %1 has no line for this server, database and user")
                        .arg(shownPath(file));
        }
    }
    return text;
}

}  // namespace trellicap::archive
