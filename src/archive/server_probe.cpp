#include "archive/server_probe.h"

#include <QSqlError>
#include <QSqlQuery>

#include "archive/server_connection.h"

namespace trellicap::archive {

ServerAnswer probeServer(const ServerAddress& address) {
    ServerAnswer answer;
    ServerConnection connection(address);
    if (!connection.open()) {
        answer.text = connection.error();
        return answer;
    }
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral(
            "SELECT current_setting('server_version'), current_database(), current_user")) ||
        !query.next()) {
        answer.text = serverReason(query.lastError());
        return answer;
    }
    answer.connected = true;
    answer.text =
        QStringLiteral("Connected: PostgreSQL %1, database %2, as %3")
            .arg(query.value(0).toString(), query.value(1).toString(), query.value(2).toString());
    return answer;
}

}  // namespace trellicap::archive
