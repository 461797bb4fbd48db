#include "archive/archive_sync.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

#include "archive/archive_schema.h"
#include "archive/inspection_sync.h"
#include "archive/server_connection.h"
#include "archive/server_schema.h"
#include "archive/sync_marks.h"

namespace trellicap::archive {

namespace {

constexpr const char* kRowidColumn = "local_rowid";

// The statements of one sync on the server, prepared once.
struct ServerStatements {
    explicit ServerStatements(QSqlDatabase& server)
        : version(server), values(server), record(server), origin(server), savedIn(server) {}
    QSqlQuery version;
    QSqlQuery values;
    QSqlQuery record;
    QSqlQuery origin;
    QSqlQuery savedIn;
    QStringList versionColumns;
    QStringList savedInColumns;
};

// The columns of a row read from the local archive, without the local position. The
// names go into the server's statement as they stand: only plain names are taken, so a
// doctored archive file cannot smuggle SQL in through them (empty: one was not plain).
QStringList columnsOf(const QSqlRecord& row, const QStringList& skipped) {
    static const QRegularExpression plain(QStringLiteral("^[a-z_][a-z0-9_]*$"));
    QStringList columns;
    for (int i = 0; i < row.count(); ++i) {
        if (skipped.contains(row.fieldName(i))) {
            continue;
        }
        if (!plain.match(row.fieldName(i)).hasMatch()) {
            return {};
        }
        columns.append(row.fieldName(i));
    }
    return columns;
}

// INSERT of these columns that leaves a row the server holds already as it is.
QString insertKeepingExisting(const QString& table, const QStringList& columns) {
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) ON CONFLICT DO NOTHING")
        .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

bool prepare(QSqlQuery& query, const QString& text, QString* error) {
    if (!query.prepare(text)) {
        *error = serverReason(query.lastError());
        return false;
    }
    return true;
}

bool run(QSqlQuery& query, QString* error) {
    if (!query.exec()) {
        *error = serverReason(query.lastError());
        return false;
    }
    return true;
}

bool bindColumns(QSqlQuery& query, const QSqlRecord& row, const QStringList& columns) {
    for (qsizetype i = 0; i < columns.size(); ++i) {
        query.bindValue(static_cast<int>(i), row.value(columns[i]));
    }
    return true;
}

// Runs a prepared query on the local archive and takes every row; empty with *error set when
// it fails.
QList<QSqlRecord> localRows(QSqlQuery& pick, QString* error) {
    QList<QSqlRecord> rows;
    if (!pick.exec()) {
        *error = QStringLiteral("local archive: ") + pick.lastError().text().simplified();
        return rows;
    }
    while (pick.next()) {
        rows.append(pick.record());
    }
    return rows;
}

// Which local versions come next: after the last one this run looked at, not marked as sent
// to this server, in the order they were written.
QList<QSqlRecord> nextVersions(QSqlDatabase& local, const QString& serverUuid, qint64 after,
                               QString* error) {
    QSqlQuery pick(local);
    pick.prepare(
        QStringLiteral("SELECT v.rowid AS local_rowid, v.*, c.codes AS codes FROM record_versions v"
                       " JOIN record_values c ON c.uuid = v.uuid AND c.version = v.version"
                       " WHERE v.rowid > ? AND NOT EXISTS (SELECT 1 FROM sync_sent s"
                       "  WHERE s.server_uuid = ? AND s.uuid = v.uuid AND s.version = v.version)"
                       " ORDER BY v.rowid LIMIT %1")
            .arg(kSyncBatchSize));
    pick.addBindValue(after);
    pick.addBindValue(serverUuid);
    return localRows(pick, error);
}

// Record-file notes of versions the server holds, not yet sent to it.
QList<QSqlRecord> nextSavedIn(QSqlDatabase& local, const QString& serverUuid, qint64 after,
                              QString* error) {
    QSqlQuery pick(local);
    pick.prepare(
        QStringLiteral("SELECT s.rowid AS local_rowid, s.*, v.search_text AS version_search_text"
                       " FROM saved_in s JOIN record_versions v"
                       " ON v.uuid = s.uuid AND v.version = s.version"
                       " WHERE s.rowid > ? AND EXISTS (SELECT 1 FROM sync_sent m"
                       "  WHERE m.server_uuid = ? AND m.uuid = s.uuid AND m.version = s.version)"
                       " AND NOT EXISTS (SELECT 1 FROM sync_sent_saved_in n WHERE n.server_uuid = ?"
                       "  AND n.uuid = s.uuid AND n.version = s.version AND n.path = s.path)"
                       " ORDER BY s.rowid LIMIT %1")
            .arg(kSyncBatchSize));
    pick.addBindValue(after);
    pick.addBindValue(serverUuid);
    pick.addBindValue(serverUuid);
    return localRows(pick, error);
}

// Stores one version on the server; *stored tells whether it was new there.
bool storeVersion(ServerStatements& statements, const QSqlRecord& row, const QString& laptopUuid,
                  const QString& workingFolder, bool* stored, QString* error) {
    bindColumns(statements.version, row, statements.versionColumns);
    if (!run(statements.version, error)) {
        return false;
    }
    *stored = statements.version.numRowsAffected() > 0;

    statements.values.bindValue(0, row.value(QStringLiteral("uuid")));
    statements.values.bindValue(1, row.value(QStringLiteral("version")));
    statements.values.bindValue(2, row.value(QStringLiteral("codes")));
    statements.record.bindValue(0, row.value(QStringLiteral("uuid")));
    statements.record.bindValue(1, row.value(QStringLiteral("model")));
    statements.record.bindValue(2, row.value(QStringLiteral("slot")));
    statements.record.bindValue(3, row.value(QStringLiteral("version")));
    statements.origin.bindValue(0, row.value(QStringLiteral("uuid")));
    statements.origin.bindValue(1, row.value(QStringLiteral("version")));
    statements.origin.bindValue(2, laptopUuid);
    statements.origin.bindValue(3, workingFolder);
    return run(statements.values, error) && run(statements.record, error) &&
           run(statements.origin, error);
}

bool prepareVersionStatements(ServerStatements& statements, const QSqlRecord& sample,
                              QString* error) {
    statements.versionColumns =
        columnsOf(sample, {QString::fromLatin1(kRowidColumn), QStringLiteral("codes")});
    if (statements.versionColumns.isEmpty()) {
        *error = QStringLiteral("local archive: a column of record_versions has an unusual name");
        return false;
    }
    return prepare(
               statements.version,
               insertKeepingExisting(QStringLiteral("record_versions"), statements.versionColumns),
               error) &&
           prepare(statements.values,
                   QStringLiteral("INSERT INTO record_values (uuid, version, codes)"
                                  " VALUES (?, ?, ?) ON CONFLICT DO NOTHING"),
                   error) &&
           prepare(
               statements.record,
               QStringLiteral("INSERT INTO records (uuid, model, slot, latest_version)"
                              " VALUES (?, ?, ?, ?) ON CONFLICT (uuid) DO UPDATE SET latest_version"
                              " = GREATEST(records.latest_version, EXCLUDED.latest_version)"),
               error) &&
           prepare(statements.origin,
                   QStringLiteral("INSERT INTO sent_from"
                                  " (uuid, version, laptop_uuid, working_folder, inspector)"
                                  " VALUES (?, ?, ?, ?, session_user) ON CONFLICT DO NOTHING"),
                   error);
}

// One server transaction around send(); false with *error when anything in it failed.
template <typename Send>
bool inServerTransaction(QSqlDatabase& server, Send send, QString* error) {
    if (!server.transaction()) {
        *error = serverReason(server.lastError());
        return false;
    }
    if (!send() || !server.commit()) {
        if (error->isEmpty()) {
            *error = serverReason(server.lastError());
        }
        server.rollback();
        return false;
    }
    return true;
}

int countOf(QSqlDatabase& db, const QString& sql, const QString& serverUuid) {
    QSqlQuery query(db);
    query.prepare(sql);
    if (!serverUuid.isNull()) {
        query.addBindValue(serverUuid);
    }
    if (!query.exec() || !query.next()) {
        return -1;
    }
    return query.value(0).toInt();
}

bool sendVersions(QSqlDatabase& local, QSqlDatabase& server, const QString& serverUuid,
                  const QString& laptopUuid, const SyncSource& source, const SyncProgress& progress,
                  SyncResult& result) {
    ServerStatements statements(server);
    bool prepared = false;
    qint64 after = 0;
    for (;;) {
        const QList<QSqlRecord> rows = nextVersions(local, serverUuid, after, &result.error);
        if (!result.error.isEmpty()) {
            return false;
        }
        if (rows.isEmpty()) {
            return true;
        }
        if (!prepared && !prepareVersionStatements(statements, rows.front(), &result.error)) {
            return false;
        }
        prepared = true;
        int stored = 0;
        const bool committed = inServerTransaction(
            server,
            [&] {
                for (const QSqlRecord& row : rows) {
                    bool isNew = false;
                    if (!storeVersion(statements, row, laptopUuid, source.workingFolder, &isNew,
                                      &result.error)) {
                        return false;
                    }
                    stored += isNew ? 1 : 0;
                }
                return true;
            },
            &result.error);
        if (!committed) {
            return false;
        }
        QList<SentVersion> sent;
        for (const QSqlRecord& row : rows) {
            sent.append({row.value(QStringLiteral("uuid")).toString(),
                         row.value(QStringLiteral("version")).toInt()});
        }
        result.sent += stored;
        result.alreadyThere += static_cast<int>(rows.size()) - stored;
        // The server holds the batch now; a mark that fails to be written only means the
        // batch is offered again next time and found there.
        const QString markError = markVersionsSent(local, serverUuid, sent);
        if (!markError.isEmpty()) {
            result.error = QStringLiteral("local archive: ") + markError;
            return false;
        }
        after = rows.back().value(QString::fromLatin1(kRowidColumn)).toLongLong();
        if (progress && !progress(result)) {
            return true;
        }
    }
}

bool sendSavedIn(QSqlDatabase& local, QSqlDatabase& server, const QString& serverUuid,
                 SyncResult& result) {
    QSqlQuery insert(server);
    // A record file's name joins the words a version is found by: the server's copy of
    // those words follows the local one.
    QSqlQuery searchText(server);
    if (!prepare(searchText,
                 QStringLiteral(
                     "UPDATE record_versions SET search_text = ? WHERE uuid = ? AND version = ?"),
                 &result.error)) {
        return false;
    }
    QStringList columns;
    qint64 after = 0;
    for (;;) {
        const QList<QSqlRecord> rows = nextSavedIn(local, serverUuid, after, &result.error);
        if (!result.error.isEmpty()) {
            return false;
        }
        if (rows.isEmpty()) {
            return true;
        }
        if (columns.isEmpty()) {
            columns = columnsOf(rows.front(), {QString::fromLatin1(kRowidColumn),
                                               QStringLiteral("version_search_text")});
            if (columns.isEmpty()) {
                result.error =
                    QStringLiteral("local archive: a column of saved_in has an unusual name");
                return false;
            }
            if (!prepare(insert, insertKeepingExisting(QStringLiteral("saved_in"), columns),
                         &result.error)) {
                return false;
            }
        }
        const bool committed = inServerTransaction(
            server,
            [&] {
                for (const QSqlRecord& row : rows) {
                    bindColumns(insert, row, columns);
                    searchText.bindValue(0, row.value(QStringLiteral("version_search_text")));
                    searchText.bindValue(1, row.value(QStringLiteral("uuid")));
                    searchText.bindValue(2, row.value(QStringLiteral("version")));
                    if (!run(insert, &result.error) || !run(searchText, &result.error)) {
                        return false;
                    }
                }
                return true;
            },
            &result.error);
        if (!committed) {
            return false;
        }
        QList<SentSavedIn> sent;
        for (const QSqlRecord& row : rows) {
            sent.append({row.value(QStringLiteral("uuid")).toString(),
                         row.value(QStringLiteral("version")).toInt(),
                         row.value(QStringLiteral("path")).toString()});
        }
        const QString markError = markSavedInSent(local, serverUuid, sent);
        if (!markError.isEmpty()) {
            result.error = QStringLiteral("local archive: ") + markError;
            return false;
        }
        after = rows.back().value(QString::fromLatin1(kRowidColumn)).toLongLong();
    }
}

bool noteLaptop(QSqlDatabase& server, const QString& laptopUuid, const SyncSource& source,
                QString* error) {
    QSqlQuery upsert(server);
    upsert.prepare(
        QStringLiteral("INSERT INTO laptops (laptop_uuid, working_folder, inspector, last_sync)"
                       " VALUES (?, ?, session_user, now()) ON CONFLICT (laptop_uuid) DO UPDATE SET"
                       " working_folder = EXCLUDED.working_folder, inspector = EXCLUDED.inspector,"
                       " last_sync = EXCLUDED.last_sync"));
    upsert.addBindValue(laptopUuid);
    upsert.addBindValue(source.workingFolder);
    return run(upsert, error);
}

}  // namespace

int versionsWaiting(QSqlDatabase& local, const QString& serverUuid) {
    const int all =
        countOf(local, QStringLiteral("SELECT COUNT(*) FROM record_versions"), QString());
    if (all < 0 || serverUuid.isEmpty()) {
        return all;
    }
    const int sent = countOf(
        local, QStringLiteral("SELECT COUNT(*) FROM sync_sent WHERE server_uuid = ?"), serverUuid);
    return sent < 0 ? all : all - sent;
}

SyncResult syncArchive(QSqlDatabase& local, QSqlDatabase& server, const SyncSource& source,
                       const SyncProgress& progress) {
    SyncResult result;
    // The archive's writer owns its schema; only an older file (a laptop's archive synced
    // from the command line) is brought up to date here. Every write lock the sync takes
    // is one the window's writer may have to wait for.
    QString error;
    const int localVersion = schemaVersion(local, &error);
    if (localVersion < 0) {
        result.error = QStringLiteral("local archive: ") + error.simplified();
        return result;
    }
    if (localVersion < kSchemaVersion) {
        const MigrationResult localSchema = migrateSchema(local);
        if (!localSchema.ok) {
            result.error = QStringLiteral("local archive: ") + localSchema.error.simplified();
            return result;
        }
    }
    error = prepareServerSchema(server);
    if (!error.isEmpty()) {
        result.error = error.simplified();
        return result;
    }
    const QString serverUuid = archiveUuid(server);
    const QString laptopUuid = archiveUuid(local);
    if (serverUuid.isEmpty() || laptopUuid.isEmpty()) {
        result.error = QStringLiteral("the archive or the server has no identity");
        return result;
    }
    result.alreadyThere = countOf(
        local, QStringLiteral("SELECT COUNT(*) FROM sync_sent WHERE server_uuid = ?"), serverUuid);
    InspectionSyncResult inspection;
    result.ok = noteLaptop(server, laptopUuid, source, &result.error) &&
                sendVersions(local, server, serverUuid, laptopUuid, source, progress, result) &&
                sendSavedIn(local, server, serverUuid, result) &&
                sendInspection(local, server, serverUuid, inspection, &result.error);
    result.inspectionSent = inspection.sent;
    result.inspectionAlreadyThere = inspection.alreadyThere;
    result.inspectionConflicts = inspection.conflicts;
    result.waiting = versionsWaiting(local, serverUuid);
    if (result.ok) {
        result.finished = QDateTime::currentDateTime()
                              .toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
                              .toString(Qt::ISODate);
        // Only the status bar reads this note: a failure to write it loses nothing.
        (void)noteSyncDone(local, serverUuid, source.serverUrl, result.finished);
    }
    return result;
}

}  // namespace trellicap::archive
