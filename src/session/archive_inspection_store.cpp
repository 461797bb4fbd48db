#include "session/archive_inspection_store.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

#include "archive/archive_file.h"
#include "archive/inspection_archive.h"
#include "archive/record_codes.h"
#include "inspection/equipment_json.h"
#include "inspection/job_json.h"
#include "inspection/record_values_text.h"

namespace trellicap {

namespace {

const QString kValues = QStringLiteral("values");
const QString kValuesHash = QStringLiteral("values_hash");
const QString kRecords = QStringLiteral("records");

qint64 msOf(const QString& isoTime) {
    const QDateTime time = QDateTime::fromString(isoTime, Qt::ISODate);
    return time.isValid() ? time.toMSecsSinceEpoch() : QDateTime::currentMSecsSinceEpoch();
}

QString compact(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

}  // namespace

ArchiveInspectionStore::ArchiveInspectionStore(const QString& path)
    : m_file(std::make_unique<archive::ArchiveFile>(path)) {
    if (const auto failure = m_file->open()) {
        m_error = QStringLiteral("the archive %1 cannot be opened: %2").arg(path, failure->reason);
    } else {
        m_db = &m_file->db();
    }
}

ArchiveInspectionStore::ArchiveInspectionStore(QSqlDatabase& db) : m_db(&db) {}

ArchiveInspectionStore::~ArchiveInspectionStore() = default;

bool ArchiveInspectionStore::isOpen() const {
    return m_db != nullptr;
}

QSqlDatabase& ArchiveInspectionStore::db() {
    return *m_db;
}

std::optional<QString> ArchiveInspectionStore::keepJob(inspection::Job& job,
                                                       const inspection::JobResults& results) {
    if (!isOpen()) {
        return m_error;
    }
    const bool isNew = job.id.isEmpty();
    if (isNew) {
        if (job.version != 1) {
            return QStringLiteral("a new job starts at version 1");
        }
        job.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    }
    // The body without the values; each record names its values by their content hash.
    QJsonObject body = inspection::jobJson(job);
    QJsonArray records = body.value(kRecords).toArray();
    std::vector<archive::JobRecordRow> rows;
    const std::string model = job.model.toStdString();
    for (qsizetype i = 0; i < records.size(); ++i) {
        const inspection::JobItem& item = job.items[static_cast<std::size_t>(i)];
        archive::JobRecordRow row;
        row.item = item.item;
        row.codes = archive::encodeRecord(item.values);
        row.contentHash = archive::contentHash(model, item.slot, row.codes);
        row.result = static_cast<std::size_t>(i) < results.records.size()
                         ? results.records[static_cast<std::size_t>(i)]
                         : QString();
        QJsonObject record = records[i].toObject();
        record.remove(kValues);
        record.insert(kValuesHash, row.contentHash);
        records[i] = record;
        rows.push_back(std::move(row));
    }
    body.insert(kRecords, records);
    const inspection::JobChange last =
        job.history.empty() ? inspection::JobChange{} : job.history.back();
    archive::JobVersionRow row;
    row.uuid = job.id;
    row.version = job.version;
    row.model = job.model;
    row.client = job.client;
    row.orderNumber = job.order;
    row.object = job.object;
    row.result = results.overall;
    row.records = static_cast<int>(job.items.size());
    row.changedBy = last.by;
    row.changedAt = last.at;
    row.changedMs = msOf(last.at);
    row.changeNote = last.what;
    row.body = compact(body);
    const QString error = archive::keepJobVersion(db(), row, rows);
    if (!error.isEmpty()) {
        if (isNew) {
            job.id.clear();
        }
        return error;
    }
    return std::nullopt;
}

std::optional<inspection::Job> ArchiveInspectionStore::jobOfBody(const QString& body,
                                                                 QString* error) {
    QJsonObject object = QJsonDocument::fromJson(body.toUtf8()).object();
    QJsonArray records = object.value(kRecords).toArray();
    for (qsizetype i = 0; i < records.size(); ++i) {
        QJsonObject record = records[i].toObject();
        const QString hash = record.take(kValuesHash).toString();
        const auto codes = archive::jobRecordCodes(db(), hash);
        if (!codes) {
            *error =
                QStringLiteral("the archive lacks the values of a job's record (%1)").arg(hash);
            return std::nullopt;
        }
        const auto values = archive::decodeRecord(*codes, static_cast<int>(codes->size() / 2));
        if (!values) {
            *error =
                QStringLiteral("the archive holds damaged values of a job's record (%1)").arg(hash);
            return std::nullopt;
        }
        record.insert(kValues, inspection::valuesText(*values));
        records[i] = record;
    }
    object.insert(kRecords, records);
    inspection::JobRead read = inspection::readJob(QJsonDocument(object).toJson());
    if (!read.errors.isEmpty()) {
        *error = QStringLiteral("a kept job cannot be read: %1")
                     .arg(read.errors.join(QStringLiteral("; ")));
        return std::nullopt;
    }
    return std::move(read.job);
}

std::optional<inspection::Job> ArchiveInspectionStore::job(const QString& id, QString* error) {
    if (!isOpen()) {
        *error = m_error;
        return std::nullopt;
    }
    const auto row = archive::newestJobVersion(db(), id, error);
    return row ? jobOfBody(row->body, error) : std::nullopt;
}

std::optional<inspection::Job> ArchiveInspectionStore::jobVersion(const QString& id, int version,
                                                                  QString* error) {
    if (!isOpen()) {
        *error = m_error;
        return std::nullopt;
    }
    const auto row = archive::jobVersionRow(db(), id, version, error);
    return row ? jobOfBody(row->body, error) : std::nullopt;
}

std::vector<inspection::JobListing> ArchiveInspectionStore::jobs(QString* error) {
    std::vector<inspection::JobListing> out;
    if (!isOpen()) {
        *error = m_error;
        return out;
    }
    for (const archive::JobVersionRow& row : archive::newestJobVersions(db(), error)) {
        out.push_back({row.uuid, row.version, row.model, row.client, row.orderNumber, row.object,
                       row.changedAt, row.records, row.result});
    }
    return out;
}

std::optional<QString> ArchiveInspectionStore::keepItem(inspection::EquipmentItem& item) {
    if (!isOpen()) {
        return m_error;
    }
    if (auto* check = std::get_if<inspection::DailyCheck>(&item.data);
        check && check->id.isEmpty()) {
        check->id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    }
    const QString key = inspection::itemKey(item.data);
    if (key.trimmed().isEmpty()) {
        const inspection::ItemKind kind = inspection::kindOf(item.data);
        return kind == inspection::ItemKind::Block      ? QStringLiteral("the block has no ID")
               : kind == inspection::ItemKind::Couplant ? QStringLiteral("the couplant has no name")
                                                        : QStringLiteral(
                                                              "the entry has no serial "
                                                              "number");
    }
    if (item.by.isEmpty()) {
        item.by = inspection::loginName();
    }
    if (item.at.isEmpty()) {
        item.at = inspection::nowText();
    }
    archive::EquipmentVersionRow row{inspection::kindName(inspection::kindOf(item.data)),
                                     key,
                                     0,
                                     item.by,
                                     item.at,
                                     msOf(item.at),
                                     compact(inspection::itemJson({item.data, 0, {}, {}}))};
    const QString error = archive::keepEquipmentVersion(db(), row);
    if (!error.isEmpty()) {
        return error;
    }
    item.version = row.version;
    return std::nullopt;
}

namespace {

std::optional<inspection::EquipmentItem> itemOfRow(const archive::EquipmentVersionRow& row,
                                                   QString* error) {
    const inspection::ItemsRead read = inspection::readItems(row.body.toUtf8());
    if (!read.errors.isEmpty() || read.items.size() != 1) {
        *error = QStringLiteral("a kept entry cannot be read: %1")
                     .arg(read.errors.join(QStringLiteral("; ")));
        return std::nullopt;
    }
    return inspection::EquipmentItem{read.items.front(), row.version, row.changedBy, row.changedAt};
}

}  // namespace

std::optional<inspection::EquipmentRegister> ArchiveInspectionStore::equipment(QString* error) {
    if (!isOpen()) {
        *error = m_error;
        return std::nullopt;
    }
    QString failure;
    std::vector<inspection::EquipmentItem> items;
    for (const archive::EquipmentVersionRow& row : archive::newestEquipment(db(), &failure)) {
        if (auto item = itemOfRow(row, &failure)) {
            items.push_back(std::move(*item));
        }
    }
    if (!failure.isEmpty()) {
        *error = failure;
        return std::nullopt;
    }
    return inspection::EquipmentRegister(std::move(items));
}

std::vector<inspection::EquipmentItem> ArchiveInspectionStore::itemVersions(
    inspection::ItemKind kind, const QString& key, QString* error) {
    std::vector<inspection::EquipmentItem> items;
    if (!isOpen()) {
        *error = m_error;
        return items;
    }
    for (const archive::EquipmentVersionRow& row :
         archive::equipmentVersions(db(), inspection::kindName(kind), key, error)) {
        if (auto item = itemOfRow(row, error)) {
            items.push_back(std::move(*item));
        }
    }
    return items;
}

}  // namespace trellicap
