// The columns of a kept version, in one table: what record_versions holds and how each
// engine types it, what a search reads back and sorts by, the key `trellicap-cli archive
// search --json` writes, and the heading of the archive window's results. CREATE, INSERT,
// SELECT, the JSON and the results model are made from it, so a new column is one line
// here (with the schema version that adds it) plus that version's entry in
// archive_schema.cpp's migration list; the ALTER TABLE is made from this line.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <span>
#include <string_view>

#include "archive/archive_schema.h"
#include "archive/kept_version.h"
#include "profiles/model_profile.h"

class QSqlQuery;

namespace trellicap::archive {

enum class ColumnKind {
    Text,          // TEXT NOT NULL
    OptionalText,  // TEXT, NULL when empty
    Integer,       // INTEGER NOT NULL
    BigInt,        // INTEGER (SQLite), BIGINT (PostgreSQL), NOT NULL
    HeaderJson,    // TEXT NOT NULL: the header fields as [["txtopname", "J. Smith"], ...]
};

enum class ColumnPlace {
    Version,  // a column of record_versions, on every engine
    Sender,   // the team server's note of who sent the version (sent_from, laptops)
};

// The KeptVersion member a column fills (one of the three).
struct KeptMember {
    QString KeptVersion::*text = nullptr;
    int KeptVersion::*integer = nullptr;
    qint64 KeptVersion::*bigint = nullptr;
};
constexpr KeptMember text(QString KeptVersion::*member) {
    return {member, nullptr, nullptr};
}
constexpr KeptMember integer(int KeptVersion::*member) {
    return {nullptr, member, nullptr};
}
constexpr KeptMember bigint(qint64 KeptVersion::*member) {
    return {nullptr, nullptr, member};
}

struct VersionColumn {
    std::string_view name;
    ColumnKind kind;
    int since;                 // the schema version that added it to record_versions
    bool searched;             // read back by a search (the SELECT), in table order
    std::string_view sortBy;   // what a sort on it orders by; empty: the column itself
    std::string_view jsonKey;  // `archive search --json`; empty: not written there
    std::string_view heading;  // the archive window's results; empty: not shown
    int shownAt;               // its place among the shown columns, left to right
    KeptMember member;         // empty for the header (HeaderJson)
    // A Sender column: its expression on the team server over sent_from f and laptops l.
    std::string_view onServer = {};
    [[nodiscard]] constexpr ColumnPlace place() const {
        return onServer.empty() ? ColumnPlace::Version : ColumnPlace::Sender;
    }
};

// The searched columns in the order a search returns them (their positions in the table);
// code that names one column uses these. kSearchColumns counts them.
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
    kColSentFrom,
    kColSentBy,
};

// Who sent a version, on the team server: the laptop by its host name (else its working
// folder), and the inspector's role.
inline constexpr std::string_view kSentFromOnServer =
    "COALESCE(NULLIF(l.host_name, ''), f.working_folder, '')";
inline constexpr std::string_view kSentByOnServer = "COALESCE(f.inspector, '')";

// One line per column: name, kind, since, searched, sort by, JSON key, heading, shown at,
// the member it fills. The searched columns come first, in SearchColumn order; the columns
// written but never read back by a search follow.
// clang-format off
inline constexpr VersionColumn kVersionColumns[] = {
    {"uuid", ColumnKind::Text, 1, true, {}, "uuid", {}, -1, text(&KeptVersion::uuid)},
    {"version", ColumnKind::Integer, 1, true, {}, "version", "Version", 10, integer(&KeptVersion::version)},
    {"model", ColumnKind::Text, 1, true, {}, "model", "Model", 2, text(&KeptVersion::model)},
    {"slot", ColumnKind::Integer, 1, true, {}, "slot", "Slot", 3, integer(&KeptVersion::slot)},
    {"source", ColumnKind::Text, 1, true, {}, "source", "Source", 4, text(&KeptVersion::source)},
    {"source_path", ColumnKind::OptionalText, 1, true, {}, "path", "File", 9, text(&KeptVersion::path)},
    {"arrived", ColumnKind::Text, 1, true, "arrived_ms", "arrived", "Arrived", 1, text(&KeptVersion::arrived)},
    {"time_date", ColumnKind::Text, 1, true, {}, "time_date", "Stored", 8, text(&KeptVersion::timeDate)},
    {"header_json", ColumnKind::HeaderJson, 1, true, {}, "header", "Header", 5, {}},
    {"range_text", ColumnKind::Text, 1, true, {}, {}, "RANGE", 6, text(&KeptVersion::range)},
    {"delay_text", ColumnKind::Text, 1, true, {}, {}, {}, -1, text(&KeptVersion::delay)},
    {"gain_text", ColumnKind::Text, 1, true, {}, {}, "Gain", 7, text(&KeptVersion::gain)},
    {"gate1_text", ColumnKind::Text, 1, true, {}, {}, {}, -1, text(&KeptVersion::gate1)},
    {"gate2_text", ColumnKind::Text, 1, true, {}, {}, {}, -1, text(&KeptVersion::gate2)},
    {"arrived_ms", ColumnKind::BigInt, 1, true, {}, {}, {}, -1, bigint(&KeptVersion::arrivedMs)},
    {"sent_from", ColumnKind::Text, 3, true, {}, {}, "Sent from", 11, text(&KeptVersion::sentFrom), kSentFromOnServer},
    {"sent_by", ColumnKind::Text, 3, true, {}, {}, "Inspector", 12, text(&KeptVersion::sentBy), kSentByOnServer},
    {"content_hash", ColumnKind::Text, 1, false, {}, {}, {}, -1, text(&KeptVersion::contentHash)},
    {"search_text", ColumnKind::Text, 1, false, {}, {}, {}, -1, text(&KeptVersion::searchText)},
};
// clang-format on

consteval int countSearched() {
    int count = 0;
    for (const VersionColumn& column : kVersionColumns) {
        count += column.searched ? 1 : 0;
    }
    return count;
}
// How many columns a search returns.
inline constexpr int kSearchColumns = countSearched();

consteval bool searchedComeFirst() {
    bool searched = true;
    for (const VersionColumn& column : kVersionColumns) {
        if (column.searched && !searched) {
            return false;
        }
        searched = column.searched;
    }
    return true;
}
static_assert(searchedComeFirst(), "a search reads the table's first columns");
static_assert(kVersionColumns[kColArrived].name == "arrived" &&
                  kVersionColumns[kColHeader].name == "header_json" &&
                  kVersionColumns[kColArrivedMs].name == "arrived_ms" &&
                  kVersionColumns[kColSentBy].name == "sent_by" && kColSentBy < kSearchColumns,
              "SearchColumn names the table's searched columns in their order");

// The column definitions of record_versions that `version` brings, typed for the engine,
// without the key ("uuid TEXT NOT NULL, version INTEGER NOT NULL, ...").
[[nodiscard]] QString versionColumnDefinitions(int version, Engine engine);
// ALTER TABLE record_versions ADD COLUMN ... for the columns a later `version` adds (with a
// default, so existing rows get a value).
[[nodiscard]] QStringList addedVersionColumns(int version, Engine engine);

// The columns record_versions holds now, and one row of them as a version gives it: what
// the writer inserts and the sync copies to the team server.
[[nodiscard]] QStringList storedColumnNames();
[[nodiscard]] QVariantList storedValues(const KeptVersion& kept);
// INSERT INTO record_versions (...) VALUES (?, ...) [ON CONFLICT DO NOTHING]
[[nodiscard]] QString insertVersionSql(bool keepExisting = false);

// The SELECT list of a search over record_versions v; on the team server the Sender
// columns read sent_from f and laptops l (withHostName: the server's laptops table has the
// host names, schema version 5), elsewhere they are empty.
[[nodiscard]] QString searchSelectList(Engine engine, bool withHostName = true);
// LEFT JOINs the Sender columns need on the team server (empty elsewhere).
[[nodiscard]] QString senderJoins(Engine engine);
// The ORDER BY expression for a searched column.
[[nodiscard]] QString sortExpression(int column, Engine engine, bool withHostName = true);

// A search's row (from its first column on) read into a version; savedIn stays empty.
[[nodiscard]] KeptVersion versionFromRow(const QSqlQuery& row);

// The header pairs as kept, and back.
[[nodiscard]] QString headerToJson(const std::vector<std::pair<QString, QString>>& header);
[[nodiscard]] std::vector<std::pair<QString, QString>> headerFromJson(const QString& json);

// A version as `archive search --json` writes it: each column with a JSON key; the header
// fields named as `trellicap-cli json` names them (the label of their box, "Operator"),
// when the record's profile is known, else by the box's name.
[[nodiscard]] QJsonObject versionJson(const KeptVersion& kept, const ModelProfile* profile);

}  // namespace trellicap::archive
