// Finding kept records again: a filter turned into one query over the versions (short rows;
// the values are read only for the records asked for), and the kept versions read back.
// The query's columns, their order and what each sorts by come from the column table
// (version_columns.h). On SQLite a free text of three or more characters is looked up in
// the trigram index (version_search) and, among the versions kept since the index was last
// brought up to date (search_index.h), by LIKE; on PostgreSQL through the pg_trgm index
// behind LIKE; either finds exactly what LIKE '%text%' over the lower-case search text finds.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "archive/archive_schema.h"
#include "archive/kept_version.h"
#include "archive/version_columns.h"
#include "profiles/model_profile.h"

namespace trellicap::archive {

struct SearchFilter {
    std::optional<qint64> fromMs;  // arrived at or after (ms since the epoch)
    std::optional<qint64> toMs;    // arrived before
    QString text;                  // header fields and record file names, any case
    std::optional<int> slot;       // 1..200
    QString model;                 // "tft", "dac"; empty: both
    QString source;            // "capture", "unsolicited", "file", "restore", "edit"; empty: all
    bool allVersions = false;  // else the newest version of each record
    // The records of jobs (as each job's newest version holds them): a job whose client,
    // order or object holds this text, any case; and the result the record comes to there
    // ("reject", ...). Empty: any job, any result, or no job at all where both are empty.
    QString job;
    QString result;
};

struct SearchQuery {
    QString sql;
    QVariantList values;  // bound in order
};

// What a database offers a search: its engine, the trigram index (SQLite, schema version
// 5), the laptops' host names (team server, schema version 5).
struct SearchPlace {
    Engine engine = Engine::Sqlite;
    bool textIndex = false;
    // The trigram index holds the versions up to a mark (schema version 6); those kept since
    // are looked through as the scan does.
    bool indexMark = false;
    bool hostNames = false;
    // A text within a short date range: looked for in the range's versions, no text index.
    bool scanDates = false;
};
[[nodiscard]] SearchPlace searchPlaceOf(QSqlDatabase& db);
// The same for one filter: a text within a short date range is read through the arrival
// index, which carries the search texts (quicker than trigrams common to many records).
[[nodiscard]] SearchPlace searchPlaceFor(QSqlDatabase& db, const SearchFilter& filter);

// Newest arrivals first. `orderBy` names a SearchColumn to sort by instead. This form reads
// every engine without an index (LIKE over the search text); the form with a place uses
// what that database offers.
[[nodiscard]] SearchQuery searchQuery(const SearchFilter& filter,
                                      SearchColumn orderBy = kColArrivedMs, bool ascending = false);
[[nodiscard]] SearchQuery searchQuery(const SearchPlace& place, const SearchFilter& filter,
                                      SearchColumn orderBy = kColArrivedMs, bool ascending = false);
// SELECT COUNT(*) of what the search finds.
[[nodiscard]] SearchQuery countQuery(const SearchPlace& place, const SearchFilter& filter);

// Runs the search; empty with `error` set when the database refuses it.
[[nodiscard]] std::vector<KeptVersion> searchArchive(QSqlDatabase& db, const SearchFilter& filter,
                                                     QString* error);
// One page of it: `limit` rows from the `offset`th, in the order asked for (savedIn empty).
[[nodiscard]] std::vector<KeptVersion> searchPage(QSqlDatabase& db, const SearchFilter& filter,
                                                  SearchColumn orderBy, bool ascending, int offset,
                                                  int limit, QString* error);
// How many versions the search finds; -1 with `error` set when the database refuses it.
[[nodiscard]] int countMatches(QSqlDatabase& db, const SearchFilter& filter, QString* error);

// The newest version of a record; nothing for an unknown UUID.
[[nodiscard]] std::optional<KeptVersion> newestVersion(QSqlDatabase& db, const QString& uuid);
// One version of a record; nothing when there is no such version.
[[nodiscard]] std::optional<KeptVersion> keptVersion(QSqlDatabase& db, const QString& uuid,
                                                     int version);
// A version's values as encodeRecord() writes them (unpacked), whatever their count;
// nothing when they are missing or damaged.
[[nodiscard]] std::optional<QByteArray> encodedValues(QSqlDatabase& db, const QString& uuid,
                                                      int version);
// A version's values, or nothing when they are missing, damaged or not `count` values long.
[[nodiscard]] std::optional<std::vector<RecordValue>> keptValues(QSqlDatabase& db,
                                                                 const QString& uuid, int version,
                                                                 int count);
[[nodiscard]] QStringList savedInPaths(QSqlDatabase& db, const QString& uuid, int version);
// savedIn of each version, a few hundred versions a query.
void fillSavedIn(QSqlDatabase& db, std::vector<KeptVersion>& versions);

// One record's newest version with its values, as visitNewestValues hands them on.
struct NewestValues {
    QString uuid;
    int version = 0;
    int slot = 0;
    std::vector<RecordValue> values;
};
// Every record's newest version of `model` whose values read back `count` values long (a
// damaged one is passed over: verify names it), in the archive's order; `visit` returning
// false stops. The reason when the archive cannot be read.
[[nodiscard]] std::optional<QString> visitNewestValues(
    QSqlDatabase& db, const QString& model, int count,
    const std::function<bool(const NewestValues&)>& visit);

}  // namespace trellicap::archive
