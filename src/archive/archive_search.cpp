#include "archive/archive_search.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "archive/record_codes.h"

namespace trellicap::archive {

namespace {

// The column expressions in SearchColumn order.
constexpr const char* kSelect =
    "SELECT v.uuid, v.version, v.model, v.slot, v.source, v.source_path, v.arrived,"
    " v.time_date, v.header_json, v.range_text, v.delay_text, v.gain_text, v.gate1_text,"
    " v.gate2_text, v.arrived_ms FROM record_versions v";
constexpr const char* kSortColumns[] = {
    "v.uuid",        "v.version",    "v.model",      "v.slot",        "v.source",
    "v.source_path", "v.arrived_ms", "v.time_date",  "v.header_json", "v.range_text",
    "v.delay_text",  "v.gain_text",  "v.gate1_text", "v.gate2_text",  "v.arrived_ms",
};

// LIKE's own characters in a typed text match themselves.
QString likePattern(const QString& text) {
    QString escaped = text.toLower();
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

KeptVersion versionFrom(const QSqlQuery& query) {
    KeptVersion kept;
    kept.uuid = query.value(kColUuid).toString();
    kept.version = query.value(kColVersion).toInt();
    kept.model = query.value(kColModel).toString();
    kept.slot = query.value(kColSlot).toInt();
    kept.source = query.value(kColSource).toString();
    kept.path = query.value(kColPath).toString();
    kept.arrived = query.value(kColArrived).toString();
    kept.timeDate = query.value(kColTimeDate).toString();
    kept.header = headerFromJson(query.value(kColHeader).toString());
    kept.range = query.value(kColRange).toString();
    kept.delay = query.value(kColDelay).toString();
    kept.gain = query.value(kColGain).toString();
    kept.gate1 = query.value(kColGate1).toString();
    kept.gate2 = query.value(kColGate2).toString();
    return kept;
}

}  // namespace

SearchQuery searchQuery(const SearchFilter& filter, SearchColumn orderBy, bool ascending) {
    SearchQuery query;
    query.sql = QString::fromLatin1(kSelect);
    if (!filter.allVersions) {
        query.sql +=
            QStringLiteral(" JOIN records r ON r.uuid = v.uuid AND r.latest_version = v.version");
    }
    QStringList where;
    if (filter.fromMs) {
        where.append(QStringLiteral("v.arrived_ms >= ?"));
        query.values.append(*filter.fromMs);
    }
    if (filter.toMs) {
        where.append(QStringLiteral("v.arrived_ms < ?"));
        query.values.append(*filter.toMs);
    }
    if (!filter.text.isEmpty()) {
        where.append(QStringLiteral("v.search_text LIKE ? ESCAPE '\\'"));
        query.values.append(likePattern(filter.text));
    }
    if (filter.slot) {
        where.append(QStringLiteral("v.slot = ?"));
        query.values.append(*filter.slot);
    }
    if (!filter.model.isEmpty()) {
        where.append(QStringLiteral("v.model = ?"));
        query.values.append(filter.model);
    }
    if (!filter.source.isEmpty()) {
        where.append(QStringLiteral("v.source = ?"));
        query.values.append(filter.source);
    }
    if (!filter.job.isEmpty() || !filter.result.isEmpty()) {
        // A record belongs to a job when the job's newest version holds the same values in
        // the same slot of the same model: the same content hash.
        QString jobs = QStringLiteral(
            "v.content_hash IN (SELECT jr.content_hash FROM job_records jr JOIN job_versions jv"
            " ON jv.uuid = jr.uuid AND jv.version = jr.version WHERE jv.version ="
            " (SELECT MAX(jw.version) FROM job_versions jw WHERE jw.uuid = jv.uuid)");
        if (!filter.job.isEmpty()) {
            jobs += QStringLiteral(
                " AND (LOWER(jv.client) LIKE ? ESCAPE '\\' OR LOWER(jv.order_number) LIKE ?"
                " ESCAPE '\\' OR LOWER(jv.object) LIKE ? ESCAPE '\\')");
            for (int i = 0; i < 3; ++i) {
                query.values.append(likePattern(filter.job));
            }
        }
        if (!filter.result.isEmpty()) {
            jobs += QStringLiteral(" AND jr.result = ?");
            query.values.append(filter.result);
        }
        where.append(jobs + QLatin1Char(')'));
    }
    if (!where.isEmpty()) {
        query.sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    }
    const int column = orderBy >= 0 && orderBy < kSearchColumns ? orderBy : kColArrivedMs;
    const QString direction = ascending ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    query.sql += QStringLiteral(" ORDER BY ") + QLatin1String(kSortColumns[column]) + direction +
                 QStringLiteral(", v.uuid, v.version");
    return query;
}

std::vector<KeptVersion> searchArchive(QSqlDatabase& db, const SearchFilter& filter,
                                       QString* error) {
    const SearchQuery search = searchQuery(filter);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(search.sql);
    for (const QVariant& value : search.values) {
        query.addBindValue(value);
    }
    std::vector<KeptVersion> found;
    if (!query.exec()) {
        *error = query.lastError().text();
        return found;
    }
    while (query.next()) {
        found.push_back(versionFrom(query));
    }
    for (KeptVersion& kept : found) {
        kept.savedIn = savedInPaths(db, kept.uuid, kept.version);
    }
    return found;
}

std::optional<KeptVersion> newestVersion(QSqlDatabase& db, const QString& uuid) {
    QSqlQuery query(db);
    query.prepare(
        QString::fromLatin1(kSelect) +
        QStringLiteral(" JOIN records r ON r.uuid = v.uuid AND r.latest_version = v.version"
                       " WHERE v.uuid = ?"));
    query.addBindValue(uuid);
    if (!query.exec() || !query.next()) {
        return std::nullopt;
    }
    KeptVersion kept = versionFrom(query);
    kept.savedIn = savedInPaths(db, kept.uuid, kept.version);
    return kept;
}

std::optional<std::vector<RecordValue>> keptValues(QSqlDatabase& db, const QString& uuid,
                                                   int version, int count) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT codes FROM record_values WHERE uuid = ? AND version = ?"));
    query.addBindValue(uuid);
    query.addBindValue(version);
    if (!query.exec() || !query.next()) {
        return std::nullopt;
    }
    return decodeRecord(query.value(0).toByteArray(), count);
}

QStringList savedInPaths(QSqlDatabase& db, const QString& uuid, int version) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "SELECT path FROM saved_in WHERE uuid = ? AND version = ? ORDER BY saved_at, path"));
    query.addBindValue(uuid);
    query.addBindValue(version);
    QStringList paths;
    if (query.exec()) {
        while (query.next()) {
            paths.append(query.value(0).toString());
        }
    }
    return paths;
}

std::vector<std::pair<QString, QString>> headerFromJson(const QString& json) {
    std::vector<std::pair<QString, QString>> header;
    for (const QJsonValue pair : QJsonDocument::fromJson(json.toUtf8()).array()) {
        const QJsonArray nameText = pair.toArray();
        header.emplace_back(nameText.at(0).toString(), nameText.at(1).toString());
    }
    return header;
}

}  // namespace trellicap::archive
