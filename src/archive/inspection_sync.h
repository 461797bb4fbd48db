// Sends the jobs' and the equipment register's versions that the team server does not hold
// yet, after the records: each job version with its records and their values, each entry's
// version, in server transactions of at most kSyncBatchSize versions, each noted as sent on
// this laptop once committed. Idempotent by (UUID, version) and (kind, key, version). A
// version the server holds with other contents (the same job or entry changed on two
// computers from one start) is left on the server as it is, not noted as sent, and named.
#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace trellicap::archive {

struct InspectionSyncResult {
    int sent = 0;
    int alreadyThere = 0;
    QStringList conflicts;  // "job 6f1c2d3e version 4", "probe P-77 version 1"
};

// false with *error set when the local archive or the server failed; what was committed
// stays (and is noted).
[[nodiscard]] bool sendInspection(QSqlDatabase& local, QSqlDatabase& server,
                                  const QString& serverUuid, InspectionSyncResult& result,
                                  QString* error);

// How many job and entry versions the server has not had from this archive.
[[nodiscard]] int inspectionVersionsWaiting(QSqlDatabase& local, const QString& serverUuid);

}  // namespace trellicap::archive
