#include "archive/server_address.h"

#include <QSqlDatabase>
#include <QUrl>

namespace trellicap::archive {

namespace {

ServerAddressParse refused(const QString& why) {
    ServerAddressParse parse;
    parse.error = why;
    return parse;
}

}  // namespace

ServerAddressParse parseServerAddress(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return refused(QStringLiteral("no server address given"));
    }
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid()) {
        return refused(
            QStringLiteral("\"%1\" is not an address: %2").arg(trimmed, url.errorString()));
    }
    const QString scheme = url.scheme().toLower();
    if (scheme != QStringLiteral("postgresql") && scheme != QStringLiteral("postgres")) {
        return refused(QStringLiteral("\"%1\" does not start with postgresql://").arg(trimmed));
    }
    if (!url.password().isEmpty()) {
        return refused(QStringLiteral(
            "the address holds a password; the program stores none: put it in ~/.pgpass "
            "or PGPASSWORD"));
    }
    ServerAddressParse parse;
    parse.address.user = url.userName(QUrl::FullyDecoded);
    parse.address.host = url.host(QUrl::FullyDecoded);
    parse.address.port = url.port(5432);
    QString database = url.path(QUrl::FullyDecoded);
    if (database.startsWith(QLatin1Char('/'))) {
        database.remove(0, 1);
    }
    parse.address.database = database;
    if (parse.address.user.isEmpty()) {
        return refused(
            QStringLiteral("the address names no user (postgresql://USER@HOST:PORT/DATABASE)"));
    }
    if (parse.address.host.isEmpty()) {
        return refused(
            QStringLiteral("the address names no host (postgresql://USER@HOST:PORT/DATABASE)"));
    }
    if (database.isEmpty() || database.contains(QLatin1Char('/'))) {
        return refused(
            QStringLiteral("the address names no database (postgresql://USER@HOST:PORT/DATABASE)"));
    }
    if (url.hasQuery() || url.hasFragment()) {
        return refused(
            QStringLiteral("the address has options after the database; give only "
                           "postgresql://USER@HOST:PORT/DATABASE"));
    }
    return parse;
}

QString serverAddressText(const ServerAddress& address) {
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(address.user);
    url.setHost(address.host);
    url.setPort(address.port);
    url.setPath(QLatin1Char('/') + address.database);
    return url.toString(QUrl::FullyEncoded);
}

void applyServerAddress(QSqlDatabase& database, const ServerAddress& address) {
    database.setHostName(address.host);
    database.setPort(address.port);
    database.setUserName(address.user);
    database.setDatabaseName(address.database);
    // Keepalives and a TCP timeout: a server that vanishes from the network (a laptop
    // leaving the office's wireless) ends a sync within seconds instead of the system's
    // minutes, so the background sync never keeps the program from closing for long.
    database.setConnectOptions(
        QStringLiteral("connect_timeout=%1;keepalives=1;keepalives_idle=10;"
                       "keepalives_interval=5;keepalives_count=3;tcp_user_timeout=20000")
            .arg(kServerConnectTimeoutSeconds));
}

}  // namespace trellicap::archive
