// Fills a local archive with record versions the way the archive keeps them (records,
// record_versions, record_values, saved_in), for the sync tests and the benchmark: each
// record its own UUID, values that differ from record to record.
#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUuid>
#include <vector>

#include "archive/record_codes.h"

namespace trellicap::archive::test {

struct FilledVersion {
    QString uuid;
    int version = 1;
};

class ArchiveFiller {
public:
    explicit ArchiveFiller(QSqlDatabase& db) : m_db(db) {}

    // count new records of the model (701 values for tft, 651 for dac), slots 1..200 in
    // turn; operator text "Operator <n>" and location "Site <tag>" in the header.
    std::vector<FilledVersion> addRecords(int count, const QString& model = QStringLiteral("tft"),
                                          const QString& tag = QStringLiteral("A")) {
        std::vector<FilledVersion> added;
        m_db.transaction();
        for (int i = 0; i < count; ++i) {
            const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
            const int slot = 1 + (m_next % 200);
            if (!addVersion(uuid, 1, model, slot, m_next, tag)) {
                m_db.rollback();
                return {};
            }
            added.push_back({uuid, 1});
            ++m_next;
        }
        m_db.commit();
        return added;
    }

    // A new version of a kept record, as "S  A  V  E" makes.
    bool addVersion(const QString& uuid, int version, const QString& model, int slot, int seed,
                    const QString& tag) {
        const int count = model == QStringLiteral("tft") ? 701 : 651;
        std::vector<RecordValue> values(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            values[static_cast<std::size_t>(i)] =
                static_cast<RecordValue>((seed * 7 + i * 3) % 256);
        }
        return addValues(uuid, version, model, slot, seed, tag, values);
    }

    // A version holding the values given.
    bool addValues(const QString& uuid, int version, const QString& model, int slot, int seed,
                   const QString& tag, const std::vector<RecordValue>& values) {
        const QByteArray codes = encodeRecord(values);
        const QDateTime arrived = QDateTime(QDate(2026, 12, 8), QTime(14, 2, 11)).addSecs(seed);
        const QString header =
            QStringLiteral("{\"Operator\":\"Operator %1\",\"Location\":\"Site %2\"}")
                .arg(seed)
                .arg(tag);
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral(
            "INSERT INTO record_versions (uuid, version, model, slot, source, source_path,"
            " arrived, arrived_ms, time_date, content_hash, header_json, range_text,"
            " delay_text, gain_text, gate1_text, gate2_text, search_text)"
            " VALUES (?, ?, ?, ?, 'capture', NULL, ?, ?, '', ?, ?, '100', '0', '40.0', 'On',"
            " 'Off', ?)"));
        query.addBindValue(uuid);
        query.addBindValue(version);
        query.addBindValue(model);
        query.addBindValue(slot);
        query.addBindValue(arrived.toOffsetFromUtc(3600).toString(Qt::ISODate));
        query.addBindValue(arrived.toMSecsSinceEpoch());
        query.addBindValue(contentHash(model.toStdString(), slot, codes));
        query.addBindValue(header);
        query.addBindValue(QStringLiteral("operator %1 site %2").arg(seed).arg(tag.toLower()));
        if (!query.exec()) {
            m_error = query.lastError().text();
            return false;
        }
        query.prepare(
            QStringLiteral("INSERT INTO record_values (uuid, version, codes) VALUES (?, ?, ?)"));
        query.addBindValue(uuid);
        query.addBindValue(version);
        query.addBindValue(codes);
        if (!query.exec()) {
            m_error = query.lastError().text();
            return false;
        }
        query.prepare(QStringLiteral(
            "INSERT INTO records (uuid, model, slot, latest_version) VALUES (?, ?, ?, ?)"
            " ON CONFLICT (uuid) DO UPDATE SET latest_version = excluded.latest_version"));
        query.addBindValue(uuid);
        query.addBindValue(model);
        query.addBindValue(slot);
        query.addBindValue(version);
        if (!query.exec()) {
            m_error = query.lastError().text();
            return false;
        }
        return true;
    }

    bool addSavedIn(const QString& uuid, int version, const QString& path) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral(
            "INSERT INTO saved_in (uuid, version, path, file_name, saved_at) VALUES (?, ?, ?, ?,"
            " '2026-12-08T15:00:00+01:00')"));
        query.addBindValue(uuid);
        query.addBindValue(version);
        query.addBindValue(path);
        query.addBindValue(path.section(QLatin1Char('/'), -1));
        return query.exec();
    }

    [[nodiscard]] QString error() const { return m_error; }

private:
    QSqlDatabase& m_db;
    QString m_error;
    int m_next = 0;
};

}  // namespace trellicap::archive::test
