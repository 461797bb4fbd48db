// Finding kept records again: a filter turned into one query over the versions (short rows;
// the values are read only for the records asked for), and the kept versions read back.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>
#include <utility>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap::archive {

struct SearchFilter {
    std::optional<qint64> fromMs;  // arrived at or after (ms since the epoch)
    std::optional<qint64> toMs;    // arrived before
    QString text;                  // header fields and record file names, any case
    std::optional<int> slot;       // 1..200
    QString model;                 // "tft", "dac"; empty: both
    QString source;                // "capture", "unsolicited", "file", "restore"; empty: all
    bool allVersions = false;      // else the newest version of each record
    // The records of jobs (as each job's newest version holds them): a job whose client,
    // order or object holds this text, any case; and the result the record comes to there
    // ("reject", ...). Empty: any job, any result, or no job at all where both are empty.
    QString job;
    QString result;
};

// The columns a search returns, in this order.
enum SearchColumn {
    kColUuid,
    kColVersion,
    kColModel,
    kColSlot,
    kColSource,
    kColPath,
    kColArrived,
    kColTimeDate,
    kColHeader,
    kColRange,
    kColDelay,
    kColGain,
    kColGate1,
    kColGate2,
    kColArrivedMs,
    kSearchColumns
};

struct SearchQuery {
    QString sql;
    QVariantList values;  // bound in order
};

// Newest arrivals first. `orderBy` names a SearchColumn to sort by instead.
[[nodiscard]] SearchQuery searchQuery(const SearchFilter& filter,
                                      SearchColumn orderBy = kColArrivedMs, bool ascending = false);

struct KeptVersion {
    QString uuid;
    int version = 0;
    QString model;
    int slot = 0;
    QString source;
    QString path;  // the record file a `file` record came from
    QString arrived;
    QString timeDate;
    std::vector<std::pair<QString, QString>> header;  // box name -> text
    QString range;
    QString delay;
    QString gain;
    QString gate1;
    QString gate2;
    QStringList savedIn;
};

// Runs the search; empty with `error` set when the database refuses it.
[[nodiscard]] std::vector<KeptVersion> searchArchive(QSqlDatabase& db, const SearchFilter& filter,
                                                     QString* error);
// The newest version of a record; nothing for an unknown UUID.
[[nodiscard]] std::optional<KeptVersion> newestVersion(QSqlDatabase& db, const QString& uuid);
// A version's values, or nothing when they are missing or not `count` values long.
[[nodiscard]] std::optional<std::vector<RecordValue>> keptValues(QSqlDatabase& db,
                                                                 const QString& uuid, int version,
                                                                 int count);
[[nodiscard]] QStringList savedInPaths(QSqlDatabase& db, const QString& uuid, int version);

// The (box name, text) pairs of a version's header_json, in the profile's order.
[[nodiscard]] std::vector<std::pair<QString, QString>> headerFromJson(const QString& json);

}  // namespace trellicap::archive
