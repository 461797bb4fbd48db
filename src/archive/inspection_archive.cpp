#include "archive/inspection_archive.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace trellicap::archive {

namespace {

QString reason(const QSqlQuery& query) {
    const QString text = query.lastError().text().simplified();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

const QString kJobColumns = QStringLiteral(
    "uuid, version, model, client, order_number, object, result, records, changed_by,"
    " changed_at, changed_ms, change_note");

JobVersionRow jobRowOf(const QSqlQuery& query, bool withBody) {
    JobVersionRow row;
    row.uuid = query.value(0).toString();
    row.version = query.value(1).toInt();
    row.model = query.value(2).toString();
    row.client = query.value(3).toString();
    row.orderNumber = query.value(4).toString();
    row.object = query.value(5).toString();
    row.result = query.value(6).toString();
    row.records = query.value(7).toInt();
    row.changedBy = query.value(8).toString();
    row.changedAt = query.value(9).toString();
    row.changedMs = query.value(10).toLongLong();
    row.changeNote = query.value(11).toString();
    if (withBody) {
        row.body = query.value(12).toString();
    }
    return row;
}

int newestVersionOf(QSqlDatabase& db, const QString& uuid, QString* error) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT MAX(version) FROM job_versions WHERE uuid = ?"));
    query.addBindValue(uuid);
    if (!query.exec() || !query.next()) {
        *error = reason(query);
        return -1;
    }
    return query.value(0).isNull() ? 0 : query.value(0).toInt();
}

template <typename Fill>
QString inTransaction(QSqlDatabase& db, Fill fill) {
    if (!db.transaction()) {
        return db.lastError().text().simplified();
    }
    QString error = fill();
    if (error.isEmpty() && !db.commit()) {
        error = db.lastError().text().simplified();
    }
    if (!error.isEmpty()) {
        db.rollback();
    }
    return error;
}

// A text column's value: an empty text, never NULL, where nothing was given.
QVariant text(const QString& value) {
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

EquipmentVersionRow equipmentRowOf(const QSqlQuery& query) {
    return {query.value(0).toString(), query.value(1).toString(), query.value(2).toInt(),
            query.value(3).toString(), query.value(4).toString(), query.value(5).toLongLong(),
            query.value(6).toString()};
}

}  // namespace

QString keepJobVersion(QSqlDatabase& db, const JobVersionRow& row,
                       const std::vector<JobRecordRow>& records) {
    return inTransaction(db, [&]() -> QString {
        QString error;
        const int newest = newestVersionOf(db, row.uuid, &error);
        if (newest < 0) {
            return error;
        }
        if (row.version != newest + 1) {
            return newest == 0 ? QStringLiteral("job %1 is not kept yet: it starts at version 1")
                                     .arg(row.uuid)
                               : QStringLiteral(
                                     "job %1 was changed meanwhile: version %2 is kept, so "
                                     "this change (on version %3) was not; open the job again")
                                     .arg(row.uuid.left(8))
                                     .arg(newest)
                                     .arg(row.version - 1);
        }
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO job_versions (%1, body)"
                                      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                           .arg(kJobColumns));
        for (const QVariant& value :
             {text(row.uuid), QVariant(row.version), text(row.model), text(row.client),
              text(row.orderNumber), text(row.object), text(row.result), QVariant(row.records),
              text(row.changedBy), text(row.changedAt), QVariant(row.changedMs),
              text(row.changeNote), text(row.body)}) {
            insert.addBindValue(value);
        }
        if (!insert.exec()) {
            return reason(insert);
        }
        QSqlQuery record(db);
        record.prepare(
            QStringLiteral("INSERT INTO job_records (uuid, version, item, content_hash,"
                           " result) VALUES (?, ?, ?, ?, ?)"));
        QSqlQuery values(db);
        values.prepare(
            QStringLiteral("INSERT INTO job_record_values (content_hash, codes)"
                           " VALUES (?, ?) ON CONFLICT DO NOTHING"));
        for (const JobRecordRow& entry : records) {
            record.bindValue(0, row.uuid);
            record.bindValue(1, row.version);
            record.bindValue(2, entry.item);
            record.bindValue(3, entry.contentHash);
            record.bindValue(4, text(entry.result));
            values.bindValue(0, entry.contentHash);
            values.bindValue(1, entry.codes);
            if (!record.exec()) {
                return reason(record);
            }
            if (!values.exec()) {
                return reason(values);
            }
        }
        return {};
    });
}

std::optional<JobVersionRow> newestJobVersion(QSqlDatabase& db, const QString& id, QString* error) {
    QSqlQuery find(db);
    find.prepare(QStringLiteral("SELECT DISTINCT uuid FROM job_versions WHERE uuid LIKE ?"));
    QString pattern = id;
    pattern.remove(QLatin1Char('%')).remove(QLatin1Char('_'));
    find.addBindValue(pattern + QLatin1Char('%'));
    if (id.trimmed().isEmpty() || pattern != id) {
        *error = QStringLiteral("\"%1\" names no job").arg(id);
        return std::nullopt;
    }
    if (!find.exec()) {
        *error = reason(find);
        return std::nullopt;
    }
    QStringList found;
    while (find.next()) {
        found << find.value(0).toString();
    }
    if (found.isEmpty()) {
        *error = QStringLiteral("there is no job %1 in the archive").arg(id);
        return std::nullopt;
    }
    if (found.size() > 1) {
        *error = QStringLiteral("%1 names %2 jobs; give more of the id").arg(id).arg(found.size());
        return std::nullopt;
    }
    const int newest = newestVersionOf(db, found.front(), error);
    return newest > 0 ? jobVersionRow(db, found.front(), newest, error) : std::nullopt;
}

std::optional<JobVersionRow> jobVersionRow(QSqlDatabase& db, const QString& uuid, int version,
                                           QString* error) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT %1, body FROM job_versions WHERE uuid = ? AND version = ?")
                      .arg(kJobColumns));
    query.addBindValue(uuid);
    query.addBindValue(version);
    if (!query.exec()) {
        *error = reason(query);
        return std::nullopt;
    }
    if (!query.next()) {
        *error = QStringLiteral("there is no version %1 of job %2").arg(version).arg(uuid);
        return std::nullopt;
    }
    return jobRowOf(query, true);
}

std::vector<JobVersionRow> newestJobVersions(QSqlDatabase& db, QString* error) {
    std::vector<JobVersionRow> rows;
    QSqlQuery query(db);
    if (!query.exec(
            QStringLiteral("SELECT %1 FROM job_versions v WHERE version ="
                           " (SELECT MAX(version) FROM job_versions w WHERE w.uuid = v.uuid)"
                           " ORDER BY changed_ms DESC, uuid")
                .arg(kJobColumns))) {
        *error = reason(query);
        return rows;
    }
    while (query.next()) {
        rows.push_back(jobRowOf(query, false));
    }
    return rows;
}

std::optional<QByteArray> jobRecordCodes(QSqlDatabase& db, const QString& hash) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT codes FROM job_record_values WHERE content_hash = ?"));
    query.addBindValue(hash);
    if (!query.exec() || !query.next()) {
        return std::nullopt;
    }
    return query.value(0).toByteArray();
}

QString keepEquipmentVersion(QSqlDatabase& db, EquipmentVersionRow& row) {
    return inTransaction(db, [&]() -> QString {
        QSqlQuery newest(db);
        newest.prepare(QStringLiteral(
            "SELECT MAX(version) FROM equipment_versions WHERE kind = ? AND item_key = ?"));
        newest.addBindValue(row.kind);
        newest.addBindValue(row.key);
        if (!newest.exec() || !newest.next()) {
            return reason(newest);
        }
        row.version = (newest.value(0).isNull() ? 0 : newest.value(0).toInt()) + 1;
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(
            "INSERT INTO equipment_versions (kind, item_key, version, changed_by, changed_at,"
            " changed_ms, body) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        for (const QVariant& value :
             {QVariant(row.kind), QVariant(row.key), QVariant(row.version), QVariant(row.changedBy),
              QVariant(row.changedAt), QVariant(row.changedMs), QVariant(row.body)}) {
            insert.addBindValue(value);
        }
        return insert.exec() ? QString() : reason(insert);
    });
}

std::vector<EquipmentVersionRow> newestEquipment(QSqlDatabase& db, QString* error) {
    std::vector<EquipmentVersionRow> rows;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral(
            "SELECT kind, item_key, version, changed_by, changed_at, changed_ms, body"
            " FROM equipment_versions v WHERE version = (SELECT MAX(version) FROM"
            " equipment_versions w WHERE w.kind = v.kind AND w.item_key = v.item_key)"
            " ORDER BY (SELECT MIN(changed_ms) FROM equipment_versions f WHERE f.kind = v.kind"
            " AND f.item_key = v.item_key), kind, item_key"))) {
        *error = reason(query);
        return rows;
    }
    while (query.next()) {
        rows.push_back(equipmentRowOf(query));
    }
    return rows;
}

std::vector<EquipmentVersionRow> equipmentVersions(QSqlDatabase& db, const QString& kind,
                                                   const QString& key, QString* error) {
    std::vector<EquipmentVersionRow> rows;
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "SELECT kind, item_key, version, changed_by, changed_at, changed_ms, body FROM"
        " equipment_versions WHERE kind = ? AND item_key = ? ORDER BY version"));
    query.addBindValue(kind);
    query.addBindValue(key);
    if (!query.exec()) {
        *error = reason(query);
        return rows;
    }
    while (query.next()) {
        rows.push_back(equipmentRowOf(query));
    }
    return rows;
}

}  // namespace trellicap::archive
