#include "archive/inspection_sync.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include "archive/archive_sync.h"
#include "archive/server_connection.h"

namespace trellicap::archive {

namespace {

const QString kJob = QStringLiteral("job");

// A version picked for sending, with what identifies it and its local position.
struct Picked {
    QSqlRecord row;
    QString kind;
    QString key;
    int version = 0;
};

bool localQuery(QSqlQuery& query, QString* error) {
    if (!query.exec()) {
        *error = QStringLiteral("local archive: ") + query.lastError().text().simplified();
        return false;
    }
    return true;
}

bool serverQuery(QSqlQuery& query, QString* error) {
    if (!query.exec()) {
        *error = serverReason(query.lastError());
        return false;
    }
    return true;
}

QList<Picked> nextJobs(QSqlDatabase& local, const QString& serverUuid, qint64 after,
                       QString* error) {
    QSqlQuery pick(local);
    pick.prepare(
        QStringLiteral("SELECT v.rowid AS local_rowid, v.* FROM job_versions v WHERE v.rowid > ?"
                       " AND NOT EXISTS (SELECT 1 FROM sync_sent_inspection s WHERE"
                       " s.server_uuid = ? AND s.kind = 'job' AND s.item_key = v.uuid"
                       " AND s.version = v.version) ORDER BY v.rowid LIMIT %1")
            .arg(kSyncBatchSize));
    pick.addBindValue(after);
    pick.addBindValue(serverUuid);
    QList<Picked> out;
    if (!localQuery(pick, error)) {
        return out;
    }
    while (pick.next()) {
        const QSqlRecord row = pick.record();
        out.append({row, kJob, row.value(QStringLiteral("uuid")).toString(),
                    row.value(QStringLiteral("version")).toInt()});
    }
    return out;
}

QList<Picked> nextEntries(QSqlDatabase& local, const QString& serverUuid, qint64 after,
                          QString* error) {
    QSqlQuery pick(local);
    pick.prepare(
        QStringLiteral("SELECT v.rowid AS local_rowid, v.* FROM equipment_versions v WHERE"
                       " v.rowid > ? AND NOT EXISTS (SELECT 1 FROM sync_sent_inspection s WHERE"
                       " s.server_uuid = ? AND s.kind = v.kind AND s.item_key = v.item_key"
                       " AND s.version = v.version) ORDER BY v.rowid LIMIT %1")
            .arg(kSyncBatchSize));
    pick.addBindValue(after);
    pick.addBindValue(serverUuid);
    QList<Picked> out;
    if (!localQuery(pick, error)) {
        return out;
    }
    while (pick.next()) {
        const QSqlRecord row = pick.record();
        out.append({row, row.value(QStringLiteral("kind")).toString(),
                    row.value(QStringLiteral("item_key")).toString(),
                    row.value(QStringLiteral("version")).toInt()});
    }
    return out;
}

// Binds the row's values of `columns` in order and runs the statement.
bool insertRow(QSqlQuery& insert, const QSqlRecord& row, const QStringList& columns,
               QString* error) {
    for (qsizetype i = 0; i < columns.size(); ++i) {
        insert.bindValue(static_cast<int>(i), row.value(columns[i]));
    }
    return serverQuery(insert, error);
}

QString insertText(const QString& table, const QStringList& columns) {
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) ON CONFLICT DO NOTHING")
        .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

const QStringList kJobColumns = {
    QStringLiteral("uuid"),       QStringLiteral("version"),      QStringLiteral("model"),
    QStringLiteral("client"),     QStringLiteral("order_number"), QStringLiteral("object"),
    QStringLiteral("result"),     QStringLiteral("records"),      QStringLiteral("changed_by"),
    QStringLiteral("changed_at"), QStringLiteral("changed_ms"),   QStringLiteral("change_note"),
    QStringLiteral("body")};
const QStringList kEntryColumns = {QStringLiteral("kind"),       QStringLiteral("item_key"),
                                   QStringLiteral("version"),    QStringLiteral("changed_by"),
                                   QStringLiteral("changed_at"), QStringLiteral("changed_ms"),
                                   QStringLiteral("body")};

// The job version's records and their values, from the local archive onto the server.
bool sendJobRecords(QSqlDatabase& local, QSqlDatabase& server, const Picked& job, QString* error) {
    QSqlQuery records(local);
    records.prepare(QStringLiteral(
        "SELECT r.item, r.content_hash, r.result, v.codes FROM job_records r JOIN"
        " job_record_values v ON v.content_hash = r.content_hash WHERE r.uuid = ? AND"
        " r.version = ?"));
    records.addBindValue(job.key);
    records.addBindValue(job.version);
    if (!localQuery(records, error)) {
        return false;
    }
    QSqlQuery record(server);
    QSqlQuery values(server);
    record.prepare(
        QStringLiteral("INSERT INTO job_records (uuid, version, item, content_hash,"
                       " result) VALUES (?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"));
    values.prepare(
        QStringLiteral("INSERT INTO job_record_values (content_hash, codes) VALUES"
                       " (?, ?) ON CONFLICT DO NOTHING"));
    while (records.next()) {
        record.bindValue(0, job.key);
        record.bindValue(1, job.version);
        record.bindValue(2, records.value(0));
        record.bindValue(3, records.value(1));
        record.bindValue(4, records.value(2));
        values.bindValue(0, records.value(1));
        values.bindValue(1, records.value(3).toByteArray());
        if (!serverQuery(values, error) || !serverQuery(record, error)) {
            return false;
        }
    }
    return true;
}

// Whether the server's copy of a version it held already has the same contents.
bool sameOnServer(QSqlDatabase& server, const Picked& picked, QString* error, bool* same) {
    QSqlQuery query(server);
    if (picked.kind == kJob) {
        query.prepare(
            QStringLiteral("SELECT body FROM job_versions WHERE uuid = ? AND version = ?"));
        query.addBindValue(picked.key);
    } else {
        query.prepare(
            QStringLiteral("SELECT body FROM equipment_versions WHERE kind = ? AND"
                           " item_key = ? AND version = ?"));
        query.addBindValue(picked.kind);
        query.addBindValue(picked.key);
    }
    query.addBindValue(picked.version);
    if (!serverQuery(query, error)) {
        return false;
    }
    *same = query.next() &&
            query.value(0).toString() == picked.row.value(QStringLiteral("body")).toString();
    return true;
}

QString markSent(QSqlDatabase& local, const QString& serverUuid, const QList<Picked>& sent) {
    if (!local.transaction()) {
        return local.lastError().text().simplified();
    }
    QSqlQuery mark(local);
    mark.prepare(
        QStringLiteral("INSERT OR IGNORE INTO sync_sent_inspection (server_uuid, kind,"
                       " item_key, version) VALUES (?, ?, ?, ?)"));
    for (const Picked& picked : sent) {
        mark.bindValue(0, serverUuid);
        mark.bindValue(1, picked.kind);
        mark.bindValue(2, picked.key);
        mark.bindValue(3, picked.version);
        if (!mark.exec()) {
            const QString error = mark.lastError().text().simplified();
            local.rollback();
            return error;
        }
    }
    return local.commit() ? QString() : local.lastError().text().simplified();
}

template <typename Next>
bool sendAll(QSqlDatabase& local, QSqlDatabase& server, const QString& serverUuid, Next next,
             const QStringList& columns, const QString& table, InspectionSyncResult& result,
             QString* error) {
    QSqlQuery insert(server);
    if (!insert.prepare(insertText(table, columns))) {
        *error = serverReason(insert.lastError());
        return false;
    }
    qint64 after = 0;
    for (;;) {
        const QList<Picked> picked = next(local, serverUuid, after, error);
        if (!error->isEmpty()) {
            return false;
        }
        if (picked.isEmpty()) {
            return true;
        }
        if (!server.transaction()) {
            *error = serverReason(server.lastError());
            return false;
        }
        QList<Picked> sent;
        int stored = 0;
        bool ok = true;
        for (const Picked& one : picked) {
            if (!insertRow(insert, one.row, columns, error)) {
                ok = false;
                break;
            }
            if (insert.numRowsAffected() > 0) {
                ++stored;
                if (one.kind == kJob && !sendJobRecords(local, server, one, error)) {
                    ok = false;
                    break;
                }
                sent.append(one);
                continue;
            }
            bool same = false;
            if (!sameOnServer(server, one, error, &same)) {
                ok = false;
                break;
            }
            if (same) {
                sent.append(one);
            } else {
                result.conflicts << QStringLiteral("%1 %2 version %3")
                                        .arg(one.kind, one.kind == kJob ? one.key.left(8) : one.key)
                                        .arg(one.version);
            }
        }
        if (!ok || !server.commit()) {
            if (error->isEmpty()) {
                *error = serverReason(server.lastError());
            }
            server.rollback();
            return false;
        }
        result.sent += stored;
        result.alreadyThere += static_cast<int>(sent.size()) - stored;
        if (const QString markError = markSent(local, serverUuid, sent); !markError.isEmpty()) {
            *error = QStringLiteral("local archive: ") + markError;
            return false;
        }
        after = picked.back().row.value(QStringLiteral("local_rowid")).toLongLong();
    }
}

int count(QSqlDatabase& db, const QString& sql, const QString& bound) {
    QSqlQuery query(db);
    query.prepare(sql);
    if (!bound.isNull()) {
        query.addBindValue(bound);
    }
    return query.exec() && query.next() ? query.value(0).toInt() : -1;
}

}  // namespace

bool sendInspection(QSqlDatabase& local, QSqlDatabase& server, const QString& serverUuid,
                    InspectionSyncResult& result, QString* error) {
    return sendAll(local, server, serverUuid, nextEntries, kEntryColumns,
                   QStringLiteral("equipment_versions"), result, error) &&
           sendAll(local, server, serverUuid, nextJobs, kJobColumns, QStringLiteral("job_versions"),
                   result, error);
}

int inspectionVersionsWaiting(QSqlDatabase& local, const QString& serverUuid) {
    const int all = count(local,
                          QStringLiteral("SELECT (SELECT COUNT(*) FROM job_versions) +"
                                         " (SELECT COUNT(*) FROM equipment_versions)"),
                          QString());
    const int sent = count(
        local, QStringLiteral("SELECT COUNT(*) FROM sync_sent_inspection WHERE server_uuid = ?"),
        serverUuid);
    return all < 0 || sent < 0 ? -1 : all - sent;
}

}  // namespace trellicap::archive
