// The archive's tables, written once for every engine the archive runs on (SQLite on the
// PC, PostgreSQL on a team server), and the migrations that bring a database from any
// earlier schema version to the current one. The version lives in the table
// schema_version; the migrations a file needs run in one transaction on SQLite, each
// version in its own on PostgreSQL, so a database is always at one whole version.
#pragma once

#include <QSqlError>
#include <QString>
#include <QStringList>
#include <span>
#include <string_view>

class QSqlDatabase;

namespace trellicap::archive {

enum class Engine { Sqlite, Postgres };

// The few column types the engines spell differently; every shared statement names them
// as {BLOB} and {BIGINT} and takes the rest (TEXT, INTEGER) as both engines write them.
struct EngineTypes {
    std::string_view blob;    // the record's values: BLOB, BYTEA
    std::string_view bigint;  // milliseconds since the epoch: INTEGER, BIGINT
};

[[nodiscard]] const EngineTypes& engineTypes(Engine engine);
// The engine behind an open connection, from its Qt driver name (QSQLITE, QPSQL).
[[nodiscard]] Engine engineOf(const QSqlDatabase& db);

// The schema version this program writes: the last entry of the migration list
// (archive_schema.cpp, checked there by the compiler).
inline constexpr int kSchemaVersion = 6;

// The steps from version - 1 to version: shared statements, then the statements of one
// engine only (tables only a laptop or only the team server needs), then the columns of
// record_versions this version adds (version_columns.h), then (optionally) work that needs
// the program, such as a fresh identity.
struct Migration {
    int version;
    std::span<const std::string_view> statements;
    bool (*afterStatements)(QSqlDatabase& db, QString* error) = nullptr;
    std::span<const std::string_view> sqliteOnly = {};
    std::span<const std::string_view> postgresOnly = {};
};

[[nodiscard]] std::span<const Migration> migrations();
// A migration's statements for one engine (the shared ones, then the engine's own) with the
// engine's column types filled in.
[[nodiscard]] QStringList engineStatements(const Migration& migration, Engine engine);

// The database's schema version: 0 for a database without the archive's tables, -1 when it
// cannot be read (error says why).
[[nodiscard]] int schemaVersion(QSqlDatabase& db, QString* error = nullptr);

struct MigrationResult {
    bool ok = false;
    int fromVersion = 0;
    int toVersion = 0;
    QString error;          // what failed, with the engine's words
    QSqlError engineError;  // the engine's own error, when the engine refused a statement
};

// Brings the database to targetVersion (never down). A database written by a newer
// program (a higher version) is refused, so an old program never writes into tables it
// does not know.
[[nodiscard]] MigrationResult migrateSchema(QSqlDatabase& db, int targetVersion = kSchemaVersion);

}  // namespace trellicap::archive
