#include "archive/server_counts.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "archive/archive_schema.h"
#include "archive/server_connection.h"

namespace trellicap::archive {

ServerCounts countServerRecords(QSqlDatabase& server) {
    ServerCounts counts;
    QString error;
    const int version = schemaVersion(server, &error);
    if (version < 0) {
        counts.error = error.simplified();
        return counts;
    }
    if (version == 0) {
        return counts;
    }
    if (version > kSchemaVersion) {
        counts.error = QStringLiteral(
                           "the server's archive was written by a newer program (schema "
                           "version %1, this program knows up to %2)")
                           .arg(version)
                           .arg(kSchemaVersion);
        return counts;
    }
    QSqlQuery query(server);
    if (!query.exec(QStringLiteral(
            "SELECT model, COUNT(*) FROM records GROUP BY model ORDER BY model DESC"))) {
        counts.error = serverReason(query.lastError());
        return counts;
    }
    while (query.next()) {
        counts.perModel.emplace_back(query.value(0).toString(), query.value(1).toLongLong());
    }
    return counts;
}

}  // namespace trellicap::archive
