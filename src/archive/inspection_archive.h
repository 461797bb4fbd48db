// Jobs and the equipment register as the archive keeps them (schema version 4,
// inspection_schema.h): rows of text the inspection floor writes and reads as JOB.json and
// ITEM.json, versions that follow each other, never an overwrite. Works on either engine.
#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <vector>

namespace trellicap::archive {

// One kept version of a job: the columns the list and the searches read, and the body.
struct JobVersionRow {
    QString uuid;
    int version = 0;
    QString model;
    QString client;
    QString orderNumber;
    QString object;
    QString result;  // the overall result the version comes to
    int records = 0;
    QString changedBy;
    QString changedAt;  // ISO 8601 with the offset
    qint64 changedMs = 0;
    QString changeNote;
    QString body;  // JOB.json, each record's values named by "values_hash"
};

// A record of a job version: its values by content hash, and the result it came to.
struct JobRecordRow {
    int item = 0;
    QString contentHash;
    QString result;
    QByteArray codes;  // the values (archive/record_codes.h), kept once per hash
};

// Keeps a version in one transaction. A new job (no version kept) must come as version 1;
// otherwise the version must follow the newest kept one. The reason on failure.
[[nodiscard]] QString keepJobVersion(QSqlDatabase& db, const JobVersionRow& row,
                                     const std::vector<JobRecordRow>& records);
// The newest version of the job whose UUID is `id` or starts with it (one job alone).
[[nodiscard]] std::optional<JobVersionRow> newestJobVersion(QSqlDatabase& db, const QString& id,
                                                            QString* error);
[[nodiscard]] std::optional<JobVersionRow> jobVersionRow(QSqlDatabase& db, const QString& uuid,
                                                         int version, QString* error);
// Every job's newest version (without its body), the last changed first.
[[nodiscard]] std::vector<JobVersionRow> newestJobVersions(QSqlDatabase& db, QString* error);
// A job record's values by their hash; nullopt when the archive lacks them.
[[nodiscard]] std::optional<QByteArray> jobRecordCodes(QSqlDatabase& db, const QString& hash);

// One kept version of an equipment entry.
struct EquipmentVersionRow {
    QString kind;
    QString key;
    int version = 0;
    QString changedBy;
    QString changedAt;
    qint64 changedMs = 0;
    QString body;  // ITEM.json
};

// Keeps the entry as the next version of its kind and key; sets row.version.
[[nodiscard]] QString keepEquipmentVersion(QSqlDatabase& db, EquipmentVersionRow& row);
// The newest version of every entry, in the order they were first kept.
[[nodiscard]] std::vector<EquipmentVersionRow> newestEquipment(QSqlDatabase& db, QString* error);
[[nodiscard]] std::vector<EquipmentVersionRow> equipmentVersions(QSqlDatabase& db,
                                                                 const QString& kind,
                                                                 const QString& key,
                                                                 QString* error);

}  // namespace trellicap::archive
