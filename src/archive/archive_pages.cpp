#include "archive/archive_pages.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "archive/archive_schema.h"

namespace trellicap::archive {

namespace {

// A version's columns in SearchColumn order, as the search selects them.
constexpr const char* kVersionColumns =
    "SELECT uuid, version, model, slot, source, source_path, arrived, time_date, header_json,"
    " range_text, delay_text, gain_text, gate1_text, gate2_text, arrived_ms"
    " FROM record_versions";

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

bool run(QSqlQuery& query, const QString& sql, const QVariantList& values, QString* error) {
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        *error = query.lastError().text();
        return false;
    }
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        *error = query.lastError().text();
        return false;
    }
    return true;
}

std::vector<LaterArrival> laterArrivals(QSqlDatabase& db, const QString& uuid, int version) {
    QSqlQuery query(db);
    QString ignored;
    std::vector<LaterArrival> arrivals;
    if (!run(query,
             QStringLiteral("SELECT source, source_path, arrived FROM arrivals"
                            " WHERE uuid = ? AND version = ? ORDER BY arrived_ms"),
             {uuid, version}, &ignored)) {
        return arrivals;
    }
    while (query.next()) {
        arrivals.push_back(
            {query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
    }
    return arrivals;
}

// Only the team server keeps who sent a version (its table sent_from).
std::optional<Sender> sender(QSqlDatabase& db, const QString& uuid, int version) {
    if (engineOf(db) != Engine::Postgres) {
        return std::nullopt;
    }
    QSqlQuery query(db);
    QString ignored;
    if (!run(
            query,
            QStringLiteral("SELECT laptop_uuid, working_folder, inspector,"
                           " to_char(received AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"')"
                           " FROM sent_from WHERE uuid = ? AND version = ?"),
            {uuid, version}, &ignored) ||
        !query.next()) {
        return std::nullopt;
    }
    return Sender{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                  query.value(3).toString()};
}

}  // namespace

std::optional<std::vector<VersionKey>> searchKeys(QSqlDatabase& db, const SearchFilter& filter,
                                                  SearchColumn orderBy, bool ascending,
                                                  QString* error) {
    // The search as the archive writes it, narrowed to its keys: the engines keep the
    // order of a subquery that is only projected (SQLite folds it into one query, so that
    // its sort carries the keys alone).
    const SearchQuery search = searchQuery(filter, orderBy, ascending);
    QSqlQuery query(db);
    if (!run(query,
             QStringLiteral("SELECT found.uuid, found.version FROM (%1) found").arg(search.sql),
             search.values, error)) {
        return std::nullopt;
    }
    std::vector<VersionKey> keys;
    while (query.next()) {
        keys.push_back({query.value(0).toString(), query.value(1).toInt()});
    }
    return keys;
}

std::optional<std::vector<KeptVersion>> versionRows(QSqlDatabase& db,
                                                    std::span<const VersionKey> keys,
                                                    QString* error) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QString::fromLatin1(kVersionColumns) +
                       QStringLiteral(" WHERE uuid = ? AND version = ?"))) {
        *error = query.lastError().text();
        return std::nullopt;
    }
    std::vector<KeptVersion> rows;
    for (const VersionKey& key : keys) {
        query.bindValue(0, key.uuid);
        query.bindValue(1, key.version);
        if (!query.exec()) {
            *error = query.lastError().text();
            return std::nullopt;
        }
        if (query.next()) {
            rows.push_back(versionFrom(query));
        }
        query.finish();
    }
    return rows;
}

std::optional<KeptVersion> versionRow(QSqlDatabase& db, const QString& uuid, int version,
                                      QString* error) {
    QSqlQuery query(db);
    if (!run(query,
             QString::fromLatin1(kVersionColumns) +
                 QStringLiteral(" WHERE uuid = ? AND version = ?"),
             {uuid, version}, error) ||
        !query.next()) {
        return std::nullopt;
    }
    return versionFrom(query);
}

std::optional<std::vector<VersionHistory>> recordHistory(QSqlDatabase& db, const QString& uuid,
                                                         QString* error) {
    QSqlQuery query(db);
    if (!run(query,
             QString::fromLatin1(kVersionColumns) +
                 QStringLiteral(" WHERE uuid = ? ORDER BY version"),
             {uuid}, error)) {
        return std::nullopt;
    }
    std::vector<VersionHistory> history;
    while (query.next()) {
        history.push_back({versionFrom(query), {}, std::nullopt});
    }
    for (VersionHistory& entry : history) {
        entry.kept.savedIn = savedInPaths(db, entry.kept.uuid, entry.kept.version);
        entry.laterArrivals = laterArrivals(db, entry.kept.uuid, entry.kept.version);
        entry.sentFrom = sender(db, entry.kept.uuid, entry.kept.version);
    }
    return history;
}

std::optional<QString> changeStamp(QSqlDatabase& db, QString* error) {
    // SQLite: the newest row ids of the two tables that only grow. PostgreSQL: the next
    // transaction number the server will hand out, which moves with every transaction that
    // writes (and a reader's transactions never take one).
    const QString sql = engineOf(db) == Engine::Postgres
                            ? QStringLiteral("SELECT pg_snapshot_xmax(pg_current_snapshot())::text")
                            : QStringLiteral(
                                  "SELECT (SELECT COALESCE(MAX(rowid), 0) FROM record_versions)"
                                  " || '-' || (SELECT COALESCE(MAX(rowid), 0) FROM saved_in)");
    QSqlQuery query(db);
    if (!run(query, sql, {}, error)) {
        return std::nullopt;
    }
    if (!query.next()) {
        *error = QStringLiteral("the change stamp gave no row");
        return std::nullopt;
    }
    return query.value(0).toString();
}

QString archiveIdentity(QSqlDatabase& db) {
    QSqlQuery query(db);
    QString ignored;
    if (!run(query, QStringLiteral("SELECT value FROM archive_info WHERE name = 'archive_uuid'"),
             {}, &ignored) ||
        !query.next()) {
        return {};
    }
    return query.value(0).toString();
}

}  // namespace trellicap::archive
