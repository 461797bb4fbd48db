// Records as the archive gets them (a column of the memory table), and a second connection
// that reads an archive file the way another program would.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QUuid>
#include <vector>

#include "profiles/model_profile.h"
#include "record/header_fields.h"
#include "record/text_codes.h"

namespace trellicap::archive::test {

// A varied record of a slot: samples from the seed, the memory number, a RANGE text, the
// time and date "1402081226" (14:02 on 8 December 2026) and the operator text.
inline std::vector<RecordValue> keptRecord(
    const ModelProfile& profile, int slot, int seed,
    const QString& operatorText = QStringLiteral("J. Smith")) {
    std::vector<RecordValue> record(static_cast<std::size_t>(profile.recordSize()), 32);
    for (int i = 0; i <= 250; ++i) {
        record[static_cast<std::size_t>(i)] = static_cast<RecordValue>((i * 7 + seed * 13) % 101);
    }
    const auto put = [&record](int at, const QString& text) {
        for (RecordValue code : textToCodes(text)) {
            record[static_cast<std::size_t>(at++)] = code;
        }
    };
    put(267, QStringLiteral("250    "));
    put(kMemoryNumberFirst, QStringLiteral("%1").arg(slot, 3, 10, QLatin1Char('0')));
    int timeDate = 0;
    int at = kSettingsStart;
    for (const PanelStep& step : profile.panelSteps) {
        if (step.timeDate) {
            timeDate = at;
        }
        at += step.advance;
    }
    put(timeDate, QStringLiteral("1402081226"));
    std::vector<QString> header(profile.headerFields.size());
    header[0] = operatorText;
    storeHeaderFields(profile, header, record);
    // Row 700 / 650 holds a value outside a byte, as only a record file can bring.
    record.back() = static_cast<RecordValue>(-1234 - seed);
    return record;
}

class ArchiveReader {
public:
    explicit ArchiveReader(const QString& path) : m_name(QUuid::createUuid().toString()) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(path);
        m_db.open();
    }
    ~ArchiveReader() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    [[nodiscard]] QSqlDatabase& db() { return m_db; }
    [[nodiscard]] int count(const QString& sql) {
        QSqlQuery query(m_db);
        query.exec(sql);
        return query.next() ? query.value(0).toInt() : -1;
    }

private:
    QString m_name;
    QSqlDatabase m_db;
};

}  // namespace trellicap::archive::test
