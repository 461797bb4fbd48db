#include "archive/read_only_server.h"

#include <QSqlError>
#include <QSqlQuery>

#include "archive/server_connection.h"

namespace trellicap::archive {

bool ReadOnlyServer::configure(QSqlDatabase& db, QString* /*error*/) {
    applyServerAddress(db, m_address);
    db.setConnectOptions(db.connectOptions() +
                         QStringLiteral(";options='-c default_transaction_read_only=on -c "
                                        "statement_timeout=%1 -c client_min_messages=warning'")
                             .arg(kReadStatementTimeoutMs));
    return true;
}

bool ReadOnlyServer::enforceReadOnly(QSqlDatabase& db, QString* error) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SHOW default_transaction_read_only")) || !query.next()) {
        *error = serverReason(query.lastError());
        return false;
    }
    if (query.value(0).toString() != QLatin1String("on")) {
        *error = QStringLiteral("the server did not make the session read-only");
        return false;
    }
    return true;
}

QString ReadOnlyServer::describe() const {
    return QStringLiteral("the team server %1").arg(serverAddressText(m_address));
}

}  // namespace trellicap::archive
