#include "archive/archive_search.h"

#include <QSqlError>
#include <QSqlQuery>
#include <limits>
#include <map>

#include "archive/record_codes.h"

namespace trellicap::archive {

namespace {

// The trigram index finds a run of three characters or more; a shorter text is looked for
// in every search text.
constexpr qsizetype kShortestIndexedText = 3;
// A date range holding fewer versions than this is read through the arrival index, which
// carries the search texts, rather than looked up by trigrams: a few milliseconds, where a
// text made of common trigrams ("operator") takes the index tens of them.
constexpr int kDateScanLimit = 50000;

// LIKE's own characters in a typed text match themselves.
QString likePattern(const QString& text) {
    QString escaped = text.toLower();
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// The text as one FTS5 phrase: its trigrams one after the other, which is the text as a
// run of characters anywhere in a search text. Only a double quote means anything inside
// a phrase; it is doubled.
QString phrase(const QString& text) {
    QString escaped = text.toLower();
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// The part of a typed text a trigram index is asked for. Trigrams of words found in many
// records ("operator", "north") take an index tens of milliseconds over a million records,
// where those of digits take one: a text with digits in it is looked up by the run from
// just before its first digit to just after its last ("operator 4217" by " 4217"), and the
// whole text is then checked in the few versions found. A shorter run, or no digit: the
// whole text.
QString indexedPart(const QString& text) {
    const QString lower = text.toLower();
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < lower.size(); ++i) {
        if (lower.at(i).isDigit()) {
            first = first < 0 ? i : first;
            last = i;
        }
    }
    if (first < 0) {
        return lower;
    }
    const qsizetype from = std::max<qsizetype>(0, first - 1);
    const qsizetype to = std::min(lower.size() - 1, last + 1);
    const QString part = lower.mid(from, to - from + 1);
    return part.toUcs4().size() >= kShortestIndexedText ? part : lower;
}

bool longEnough(const QString& text) {
    return text.toLower().toUcs4().size() >= kShortestIndexedText;
}

struct Conditions {
    QString joins;
    QStringList where;
    QVariantList values;
};

Conditions conditionsOf(const SearchPlace& place, const SearchFilter& filter) {
    Conditions c;
    if (!filter.allVersions) {
        // On SQLite the versions lead and each looks its record up (CROSS JOIN keeps that
        // order): the newest arrivals are then read down the arrival index and a page stops
        // after its rows, where the planner's own choice read every record and sorted a
        // million versions for the window's first screen. The same rows either way.
        c.joins += (place.engine == Engine::Sqlite ? QStringLiteral(" CROSS JOIN")
                                                   : QStringLiteral(" JOIN")) +
                   QStringLiteral(" records r ON r.uuid = v.uuid AND r.latest_version = v.version");
    }
    if (filter.fromMs) {
        c.where.append(QStringLiteral("v.arrived_ms >= ?"));
        c.values.append(*filter.fromMs);
    }
    if (filter.toMs) {
        c.where.append(QStringLiteral("v.arrived_ms < ?"));
        c.values.append(*filter.toMs);
    }
    if (!filter.text.isEmpty()) {
        // Every way finds exactly what LIKE '%text%' over the lower-case search text finds:
        // an index only narrows down where that is checked.
        const QString part = indexedPart(filter.text);
        const bool narrowed = part != filter.text.toLower();
        const QString like = QStringLiteral("v.search_text LIKE ? ESCAPE '\\'");
        // On the team server: the same condition where its trigram index cannot serve it.
        const QString likeUnindexed = QStringLiteral("(v.search_text || '') LIKE ? ESCAPE '\\'");
        if (place.scanDates) {
            c.where.append(place.engine == Engine::Postgres ? likeUnindexed : like);
            c.values.append(likePattern(filter.text));
        } else if (place.engine == Engine::Sqlite && place.textIndex && longEnough(filter.text)) {
            if (place.indexMark) {
                // The index holds the versions up to its mark; the few kept since (a second's
                // worth, or what a crash left) are checked as the scan checks them. One set of
                // rowids either way, so the plan stays a lookup by rowid.
                c.where.append(QStringLiteral(
                    "v.rowid IN (SELECT rowid FROM version_search WHERE version_search MATCH ?"
                    " UNION ALL SELECT rowid FROM record_versions WHERE rowid >"
                    " (SELECT up_to FROM search_indexed) AND search_text LIKE ? ESCAPE '\\')"));
                c.values.append(phrase(part));
                c.values.append(likePattern(filter.text));
            } else {
                c.where.append(QStringLiteral(
                    "v.rowid IN (SELECT rowid FROM version_search WHERE version_search MATCH ?)"));
                c.values.append(phrase(part));
            }
            if (narrowed) {
                c.where.append(like);
                c.values.append(likePattern(filter.text));
            }
        } else if (place.engine == Engine::Postgres && narrowed) {
            c.where.append(like);
            c.values.append(likePattern(part));
            c.where.append(likeUnindexed);
            c.values.append(likePattern(filter.text));
        } else {
            c.where.append(like);
            c.values.append(likePattern(filter.text));
        }
    }
    if (filter.slot) {
        c.where.append(QStringLiteral("v.slot = ?"));
        c.values.append(*filter.slot);
    }
    if (!filter.model.isEmpty()) {
        c.where.append(QStringLiteral("v.model = ?"));
        c.values.append(filter.model);
    }
    if (!filter.source.isEmpty()) {
        c.where.append(QStringLiteral("v.source = ?"));
        c.values.append(filter.source);
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
                c.values.append(likePattern(filter.job));
            }
        }
        if (!filter.result.isEmpty()) {
            jobs += QStringLiteral(" AND jr.result = ?");
            c.values.append(filter.result);
        }
        c.where.append(jobs + QLatin1Char(')'));
    }
    return c;
}

QString whereClause(const Conditions& c) {
    return c.where.isEmpty() ? QString()
                             : QStringLiteral(" WHERE ") + c.where.join(QStringLiteral(" AND "));
}

QString selectFrom(const SearchPlace& place) {
    return QStringLiteral("SELECT ") + searchSelectList(place.engine, place.hostNames) +
           QStringLiteral(" FROM record_versions v");
}

// The database's reason, never empty: a connection the server closed fails without one.
QString reasonOf(const QSqlQuery& query) {
    const QString text = query.lastError().text().simplified();
    return text.isEmpty() ? QStringLiteral("the connection to the database is closed") : text;
}

bool prepareAndRun(QSqlQuery& query, const SearchQuery& search, QString* error) {
    query.setForwardOnly(true);
    if (!query.prepare(search.sql)) {
        *error = reasonOf(query);
        return false;
    }
    for (const QVariant& value : search.values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        *error = reasonOf(query);
        return false;
    }
    return true;
}

std::vector<KeptVersion> readRows(QSqlDatabase& db, const SearchQuery& search, QString* error) {
    std::vector<KeptVersion> found;
    QSqlQuery query(db);
    if (!prepareAndRun(query, search, error)) {
        return found;
    }
    while (query.next()) {
        found.push_back(versionFromRow(query));
    }
    return found;
}

std::optional<KeptVersion> oneVersion(QSqlDatabase& db, const QString& uuid,
                                      std::optional<int> version) {
    const SearchPlace place = searchPlaceOf(db);
    SearchQuery search;
    search.sql = selectFrom(place) + senderJoins(place.engine);
    if (version) {
        search.sql += QStringLiteral(" WHERE v.uuid = ? AND v.version = ?");
        search.values = {uuid, *version};
    } else {
        search.sql += QStringLiteral(
            " JOIN records r ON r.uuid = v.uuid AND r.latest_version = v.version"
            " WHERE v.uuid = ?");
        search.values = {uuid};
    }
    QString error;
    std::vector<KeptVersion> found = readRows(db, search, &error);
    if (found.empty()) {
        return std::nullopt;
    }
    KeptVersion kept = std::move(found.front());
    kept.savedIn = savedInPaths(db, kept.uuid, kept.version);
    return kept;
}

}  // namespace

SearchPlace searchPlaceOf(QSqlDatabase& db) {
    // Asked before every search: two short reads, never the engine's list of tables (a
    // catalog query on the team server).
    SearchPlace place;
    place.engine = engineOf(db);
    QSqlQuery query(db);
    const int version =
        query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) && query.next()
            ? query.value(0).toInt()
            : 0;
    if (place.engine == Engine::Sqlite) {
        place.textIndex =
            version >= 4 &&
            query.exec(QStringLiteral(
                "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'version_search'")) &&
            query.next();
        place.indexMark = place.textIndex && version >= 6;
    } else {
        place.hostNames = version >= 4;
    }
    return place;
}

// What to search with for this filter: a text within a short date range is read through the
// arrival index (SQLite), else the trigram index.
SearchPlace searchPlaceFor(QSqlDatabase& db, const SearchFilter& filter) {
    SearchPlace place = searchPlaceOf(db);
    if (filter.text.isEmpty() || (!filter.fromMs && !filter.toMs)) {
        return place;
    }
    const qint64 from = filter.fromMs.value_or(std::numeric_limits<qint64>::min());
    const qint64 to = filter.toMs.value_or(std::numeric_limits<qint64>::max());
    if (place.engine == Engine::Sqlite) {
        if (!place.textIndex) {
            return place;  // the scan it is anyway
        }
        // How many versions the range holds, from the positions of its first and last: kept
        // versions are written in the order they arrive, so the difference is near the
        // count, and two index lookups cost nothing beside counting.
        QSqlQuery first(db);
        first.prepare(
            QStringLiteral("SELECT rowid FROM record_versions WHERE arrived_ms >= ?"
                           " ORDER BY arrived_ms LIMIT 1"));
        first.addBindValue(from);
        QSqlQuery last(db);
        last.prepare(
            QStringLiteral("SELECT rowid FROM record_versions WHERE arrived_ms < ?"
                           " ORDER BY arrived_ms DESC LIMIT 1"));
        last.addBindValue(to);
        if (first.exec() && last.exec()) {
            const qint64 begin = first.next() ? first.value(0).toLongLong() : 0;
            const qint64 end = last.next() ? last.value(0).toLongLong() : 0;
            place.scanDates = end - begin < kDateScanLimit;
        }
        return place;
    }
    // The server's versions come from many laptops in any order: counted, up to the limit.
    QSqlQuery count(db);
    count.prepare(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM record_versions"
                                 " WHERE arrived_ms >= ? AND arrived_ms < ? LIMIT %1) range")
                      .arg(kDateScanLimit));
    count.addBindValue(from);
    count.addBindValue(to);
    place.scanDates = count.exec() && count.next() && count.value(0).toInt() < kDateScanLimit;
    return place;
}

SearchQuery searchQuery(const SearchFilter& filter, SearchColumn orderBy, bool ascending) {
    return searchQuery(SearchPlace{}, filter, orderBy, ascending);
}

SearchQuery searchQuery(const SearchPlace& place, const SearchFilter& filter, SearchColumn orderBy,
                        bool ascending) {
    const Conditions c = conditionsOf(place, filter);
    SearchQuery query;
    query.sql = selectFrom(place) + c.joins + senderJoins(place.engine) + whereClause(c);
    query.values = c.values;
    const QString direction = ascending ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    query.sql += QStringLiteral(" ORDER BY ") +
                 sortExpression(orderBy, place.engine, place.hostNames) + direction +
                 QStringLiteral(", v.uuid, v.version");
    return query;
}

SearchQuery countQuery(const SearchPlace& place, const SearchFilter& filter) {
    const Conditions c = conditionsOf(place, filter);
    return {QStringLiteral("SELECT COUNT(*) FROM record_versions v") + c.joins + whereClause(c),
            c.values};
}

std::vector<KeptVersion> searchArchive(QSqlDatabase& db, const SearchFilter& filter,
                                       QString* error) {
    std::vector<KeptVersion> found =
        readRows(db, searchQuery(searchPlaceFor(db, filter), filter), error);
    fillSavedIn(db, found);
    return found;
}

void fillSavedIn(QSqlDatabase& db, std::vector<KeptVersion>& versions) {
    // A few hundred records a query: one round trip to a team server for a page of them,
    // not one for each.
    constexpr std::size_t kPerQuery = 400;
    for (std::size_t first = 0; first < versions.size(); first += kPerQuery) {
        const std::size_t end = std::min(versions.size(), first + kPerQuery);
        std::map<std::pair<QString, int>, KeptVersion*> byKey;
        QStringList marks;
        QSqlQuery query(db);
        for (std::size_t i = first; i < end; ++i) {
            byKey[{versions[i].uuid, versions[i].version}] = &versions[i];
            marks.append(QStringLiteral("?"));
        }
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT uuid, version, path FROM saved_in WHERE uuid IN (%1)"
                                     " ORDER BY saved_at, path")
                          .arg(marks.join(QStringLiteral(", "))));
        for (std::size_t i = first; i < end; ++i) {
            query.addBindValue(versions[i].uuid);
        }
        if (!query.exec()) {
            continue;
        }
        while (query.next()) {
            const auto held = byKey.find({query.value(0).toString(), query.value(1).toInt()});
            if (held != byKey.end()) {
                held->second->savedIn.append(query.value(2).toString());
            }
        }
    }
}

std::vector<KeptVersion> searchPage(QSqlDatabase& db, const SearchFilter& filter,
                                    SearchColumn orderBy, bool ascending, int offset, int limit,
                                    QString* error) {
    SearchQuery search = searchQuery(searchPlaceFor(db, filter), filter, orderBy, ascending);
    search.sql += QStringLiteral(" LIMIT ? OFFSET ?");
    search.values << limit << offset;
    return readRows(db, search, error);
}

int countMatches(QSqlDatabase& db, const SearchFilter& filter, QString* error) {
    QSqlQuery query(db);
    if (!prepareAndRun(query, countQuery(searchPlaceFor(db, filter), filter), error)) {
        return -1;
    }
    return query.next() ? query.value(0).toInt() : 0;
}

std::optional<KeptVersion> newestVersion(QSqlDatabase& db, const QString& uuid) {
    return oneVersion(db, uuid, std::nullopt);
}

std::optional<KeptVersion> keptVersion(QSqlDatabase& db, const QString& uuid, int version) {
    return oneVersion(db, uuid, version);
}

std::optional<QByteArray> encodedValues(QSqlDatabase& db, const QString& uuid, int version) {
    // An archive of schema version 3 or older (read, never migrated, by a reader) has no
    // column `packing`: every blob there is as it is.
    for (const QString& packing : {QStringLiteral("packing"), QStringLiteral("0")}) {
        QSqlQuery query(db);
        if (!query.prepare(QStringLiteral("SELECT codes, %1 FROM record_values"
                                          " WHERE uuid = ? AND version = ?")
                               .arg(packing))) {
            continue;
        }
        query.addBindValue(uuid);
        query.addBindValue(version);
        if (!query.exec()) {
            continue;
        }
        if (!query.next()) {
            return std::nullopt;
        }
        return unpackValues(query.value(0).toByteArray(), query.value(1).toInt());
    }
    return std::nullopt;
}

std::optional<std::vector<RecordValue>> keptValues(QSqlDatabase& db, const QString& uuid,
                                                   int version, int count) {
    const auto encoded = encodedValues(db, uuid, version);
    if (!encoded) {
        return std::nullopt;
    }
    return decodeRecord(*encoded, count);
}

std::optional<QString> visitNewestValues(QSqlDatabase& db, const QString& model, int count,
                                         const std::function<bool(const NewestValues&)>& visit) {
    // An archive of schema version 4 or older, read and never migrated, has no `packing`.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString select = QStringLiteral(
        "SELECT c.uuid, c.version, r.slot, c.codes, %1 FROM records r"
        " JOIN record_values c ON c.uuid = r.uuid AND c.version = r.latest_version"
        " WHERE r.model = ?");
    if (!query.prepare(select.arg(QStringLiteral("c.packing"))) &&
        !query.prepare(select.arg(QStringLiteral("0")))) {
        return reasonOf(query);
    }
    query.addBindValue(model);
    if (!query.exec()) {
        return reasonOf(query);
    }
    NewestValues newest;
    while (query.next()) {
        const auto encoded = unpackValues(query.value(3).toByteArray(), query.value(4).toInt());
        auto values = encoded ? decodeRecord(*encoded, count) : std::nullopt;
        if (!values) {
            continue;
        }
        newest.uuid = query.value(0).toString();
        newest.version = query.value(1).toInt();
        newest.slot = query.value(2).toInt();
        newest.values = std::move(*values);
        if (!visit(newest)) {
            break;
        }
    }
    return std::nullopt;
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

}  // namespace trellicap::archive
