#include "archive/archive_schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <algorithm>
#include <array>
#include <vector>

#include "archive/inspection_schema.h"
#include "archive/version_columns.h"

namespace trellicap::archive {

namespace {

constexpr EngineTypes kSqliteTypes{"BLOB", "INTEGER"};
constexpr EngineTypes kPostgresTypes{"BYTEA", "BIGINT"};

// Version 1: records, their versions, the values of each version (kept apart, so that a
// search reads short rows) and the record files each version was saved into.
constexpr std::array<std::string_view, 6> kVersion1 = {
    "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS records ("
    " uuid TEXT PRIMARY KEY,"
    " model TEXT NOT NULL,"
    " slot INTEGER NOT NULL,"
    " latest_version INTEGER NOT NULL)",
    // The columns come from the column table (version_columns.h).
    "CREATE TABLE IF NOT EXISTS record_versions ({VERSION_COLUMNS}, PRIMARY KEY (uuid, version))",
    "CREATE TABLE IF NOT EXISTS record_values ("
    " uuid TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " codes {BLOB} NOT NULL,"
    " PRIMARY KEY (uuid, version))",
    "CREATE TABLE IF NOT EXISTS saved_in ("
    " uuid TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " path TEXT NOT NULL,"
    " file_name TEXT NOT NULL,"
    " saved_at TEXT NOT NULL,"
    " PRIMARY KEY (uuid, version, path))",
    "CREATE INDEX IF NOT EXISTS record_versions_arrived ON record_versions (arrived_ms)",
};

// Version 2: what a run leaves behind for the next start (the runs, which version each
// slot held and whether it was saved), every later arrival of a kept record, the
// archive's own identity, and the indexes the content check and the searches use.
constexpr std::array<std::string_view, 8> kVersion2 = {
    "CREATE TABLE IF NOT EXISTS archive_info ("
    " name TEXT PRIMARY KEY,"
    " value TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS runs ("
    " run_id TEXT PRIMARY KEY,"
    " model TEXT NOT NULL,"
    " started TEXT NOT NULL,"
    " started_ms {BIGINT} NOT NULL,"
    " ended_cleanly INTEGER NOT NULL,"
    " offered INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS run_slots ("
    " run_id TEXT NOT NULL,"
    " slot INTEGER NOT NULL,"
    " uuid TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " unsaved INTEGER NOT NULL,"
    " PRIMARY KEY (run_id, slot))",
    "CREATE TABLE IF NOT EXISTS arrivals ("
    " uuid TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " source TEXT NOT NULL,"
    " source_path TEXT,"
    " arrived TEXT NOT NULL,"
    " arrived_ms {BIGINT} NOT NULL,"
    " run_id TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS record_versions_content"
    " ON record_versions (model, slot, content_hash)",
    "CREATE INDEX IF NOT EXISTS saved_in_version ON saved_in (uuid, version)",
    "CREATE INDEX IF NOT EXISTS arrivals_version ON arrivals (uuid, version)",
    "CREATE INDEX IF NOT EXISTS runs_model ON runs (model, ended_cleanly, offered)",
};

// Version 3, on a laptop: what this archive has sent to which team server, one mark per
// version and per record-file note the server committed, and each server's last sync.
constexpr std::array<std::string_view, 3> kVersion3Laptop = {
    "CREATE TABLE IF NOT EXISTS sync_sent ("
    " server_uuid TEXT NOT NULL,"
    " uuid TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " PRIMARY KEY (server_uuid, uuid, version))",
    "CREATE TABLE IF NOT EXISTS sync_sent_saved_in ("
    " server_uuid TEXT NOT NULL,"
    " uuid TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " path TEXT NOT NULL,"
    " PRIMARY KEY (server_uuid, uuid, version, path))",
    "CREATE TABLE IF NOT EXISTS sync_servers ("
    " server_url TEXT PRIMARY KEY,"
    " server_uuid TEXT NOT NULL,"
    " last_sync TEXT NOT NULL)",
};

// Version 3, on the team server: which laptop, working folder and inspector sent each
// version, and each laptop's last visit.
constexpr std::array<std::string_view, 3> kVersion3Server = {
    "CREATE TABLE IF NOT EXISTS sent_from ("
    " uuid TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " laptop_uuid TEXT NOT NULL,"
    " working_folder TEXT NOT NULL,"
    " inspector TEXT NOT NULL,"
    " received TIMESTAMPTZ NOT NULL DEFAULT now(),"
    " PRIMARY KEY (uuid, version))",
    "CREATE TABLE IF NOT EXISTS laptops ("
    " laptop_uuid TEXT PRIMARY KEY,"
    " working_folder TEXT NOT NULL,"
    " inspector TEXT NOT NULL,"
    " last_sync TIMESTAMPTZ NOT NULL)",
    "CREATE INDEX IF NOT EXISTS sent_from_laptop ON sent_from (laptop_uuid)",
};

// Version 5, on both: a kept version's values deflated when that is smaller (the column
// says how each blob is held; older blobs stay as they were), and every version made by
// "S  A  V  E" labelled `edit` (before, it carried the source of the version it edited;
// only a header store makes a version after the first).
constexpr std::array<std::string_view, 2> kVersion5 = {
    "ALTER TABLE record_values ADD COLUMN packing INTEGER NOT NULL DEFAULT 0",
    "UPDATE record_versions SET source = 'edit' WHERE version > 1",
};

// Version 5, on a laptop: the free-text search's index (FTS5 with trigrams, so any part of
// a word matches as LIKE '%...%' did; the texts are kept lower-case, so the index compares
// them as they are), kept by triggers and filled from the versions kept so far; the arrival
// index carrying the search text, so that a text within a few weeks is looked for in the
// index alone; and the record file each run had open (the restore brings it back whole).
constexpr std::array<std::string_view, 8> kVersion5Laptop = {
    "CREATE VIRTUAL TABLE IF NOT EXISTS version_search USING fts5(search_text,"
    " content='record_versions', content_rowid='rowid', columnsize=0,"
    " tokenize='trigram case_sensitive 1')",
    "CREATE TRIGGER IF NOT EXISTS version_search_added AFTER INSERT ON record_versions BEGIN"
    " INSERT INTO version_search (rowid, search_text) VALUES (new.rowid, new.search_text); END",
    "CREATE TRIGGER IF NOT EXISTS version_search_removed AFTER DELETE ON record_versions BEGIN"
    " INSERT INTO version_search (version_search, rowid, search_text)"
    " VALUES ('delete', old.rowid, old.search_text); END",
    "CREATE TRIGGER IF NOT EXISTS version_search_changed AFTER UPDATE OF search_text"
    " ON record_versions BEGIN"
    " INSERT INTO version_search (version_search, rowid, search_text)"
    " VALUES ('delete', old.rowid, old.search_text);"
    " INSERT INTO version_search (rowid, search_text) VALUES (new.rowid, new.search_text); END",
    "INSERT INTO version_search (version_search) VALUES ('rebuild')",
    "CREATE INDEX IF NOT EXISTS record_versions_arrived_text"
    " ON record_versions (arrived_ms, search_text)",
    "DROP INDEX IF EXISTS record_versions_arrived",
    "CREATE TABLE IF NOT EXISTS run_files ("
    " run_id TEXT PRIMARY KEY,"
    " path TEXT NOT NULL,"
    " size {BIGINT} NOT NULL,"
    " content_hash TEXT NOT NULL)",
};

// Version 5, on the team server: each laptop's host name, so that the team's records say
// which laptop sent them in words; and no index of the values' hashes (only a laptop's
// writer looks a record up by them: on the server it cost every synced version its upkeep).
constexpr std::array<std::string_view, 2> kVersion5Server = {
    "ALTER TABLE laptops ADD COLUMN IF NOT EXISTS host_name TEXT NOT NULL DEFAULT ''",
    "DROP INDEX IF EXISTS record_versions_content",
};

// Version 6, on both: no second index of the record files' notes (their key, uuid and version
// first, serves every lookup by version), which cost each note written its upkeep.
constexpr std::array<std::string_view, 1> kVersion6 = {
    "DROP INDEX IF EXISTS saved_in_version",
};

// Version 6, on a laptop: the trigram index is kept up to date outside the commit that keeps a
// capture. Its upkeep was half of the pages that commit wrote and flushed; now the keeper
// indexes the versions kept after a mark (search_indexed.up_to, the last rowid indexed) when
// it is idle, in one transaction that moves the mark, and a search looks through the versions
// after the mark as the scan does. A crash before that only leaves more to index. The index
// is external content: a 'delete' of a row it never held damages it, so a version changed or
// removed reaches it only at or below the mark; a version removed at the top moves the mark
// down with it, so that its rowid, taken again by the next version, is not taken for indexed.
// Every version kept so far is indexed (by the triggers of version 5).
constexpr std::array<std::string_view, 7> kVersion6Laptop = {
    "DROP TRIGGER IF EXISTS version_search_added",
    "DROP TRIGGER IF EXISTS version_search_removed",
    "DROP TRIGGER IF EXISTS version_search_changed",
    "CREATE TABLE IF NOT EXISTS search_indexed (up_to INTEGER NOT NULL)",
    "INSERT INTO search_indexed (up_to) SELECT COALESCE(MAX(rowid), 0) FROM record_versions",
    "CREATE TRIGGER version_search_removed AFTER DELETE ON record_versions"
    " WHEN old.rowid <= (SELECT up_to FROM search_indexed) BEGIN"
    " INSERT INTO version_search (version_search, rowid, search_text)"
    " VALUES ('delete', old.rowid, old.search_text);"
    " UPDATE search_indexed SET up_to = (SELECT COALESCE(MAX(rowid), 0) FROM record_versions)"
    " WHERE up_to > (SELECT COALESCE(MAX(rowid), 0) FROM record_versions); END",
    "CREATE TRIGGER version_search_changed AFTER UPDATE OF search_text ON record_versions"
    " WHEN old.rowid <= (SELECT up_to FROM search_indexed) BEGIN"
    " INSERT INTO version_search (version_search, rowid, search_text)"
    " VALUES ('delete', old.rowid, old.search_text);"
    " INSERT INTO version_search (rowid, search_text) VALUES (new.rowid, new.search_text); END",
};

// Every archive knows itself by a UUID, so that records from several PCs stay apart
// wherever they meet.
bool addArchiveIdentity(QSqlDatabase& db, QString* error) {
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("INSERT INTO archive_info (name, value) VALUES ('archive_uuid', ?)"));
    query.addBindValue(QUuid::createUuid().toString(QUuid::WithoutBraces));
    if (!query.exec()) {
        *error = query.lastError().text();
        return false;
    }
    return true;
}

// The migration list: a new schema version is one entry here (and kSchemaVersion).
// Version 3's tables were made outside the versions by the first sync before, hence
// IF NOT EXISTS: an archive or a server that has them keeps them and their rows.
constexpr std::array<Migration, 6> kMigrations = {{
    {1, kVersion1, nullptr, {}, {}},
    {2, kVersion2, addArchiveIdentity, {}, {}},
    {3, {}, nullptr, kVersion3Laptop, kVersion3Server},
    {4, kInspectionTables, nullptr, kInspectionSyncMarks, {}},
    {5, kVersion5, nullptr, kVersion5Laptop, kVersion5Server},
    {6, kVersion6, nullptr, kVersion6Laptop, {}},
}};
static_assert(kMigrations.back().version == kSchemaVersion,
              "the last migration brings the version this program writes");

QString sqlError(const QSqlError& error) {
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

bool exec(QSqlDatabase& db, const QString& statement, QString* error,
          QSqlError* engineError = nullptr) {
    QSqlQuery query(db);
    if (!query.exec(statement)) {
        *error = sqlError(query.lastError());
        if (engineError) {
            *engineError = query.lastError();
        }
        return false;
    }
    return true;
}

bool hasVersionTable(QSqlDatabase& db) {
    return db.tables().contains(QStringLiteral("schema_version"));
}

}  // namespace

const EngineTypes& engineTypes(Engine engine) {
    return engine == Engine::Postgres ? kPostgresTypes : kSqliteTypes;
}

Engine engineOf(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String("QPSQL") ? Engine::Postgres : Engine::Sqlite;
}

std::span<const Migration> migrations() {
    return kMigrations;
}

QStringList engineStatements(const Migration& migration, Engine engine) {
    const EngineTypes& types = engineTypes(engine);
    QStringList statements;
    const auto own = engine == Engine::Postgres ? migration.postgresOnly : migration.sqliteOnly;
    std::vector<std::string_view> all(migration.statements.begin(), migration.statements.end());
    all.insert(all.end(), own.begin(), own.end());
    for (std::string_view statement : all) {
        QString text =
            QString::fromLatin1(statement.data(), static_cast<qsizetype>(statement.size()));
        text.replace(QLatin1String("{BLOB}"),
                     QLatin1String(types.blob.data(), static_cast<qsizetype>(types.blob.size())));
        text.replace(
            QLatin1String("{BIGINT}"),
            QLatin1String(types.bigint.data(), static_cast<qsizetype>(types.bigint.size())));
        text.replace(QLatin1String("{VERSION_COLUMNS}"),
                     versionColumnDefinitions(migration.version, engine));
        statements.append(text);
    }
    statements.append(addedVersionColumns(migration.version, engine));
    return statements;
}

int schemaVersion(QSqlDatabase& db, QString* error) {
    if (!hasVersionTable(db)) {
        // A database that cannot even list its tables is damaged or not a database.
        if (db.lastError().isValid()) {
            if (error) {
                *error = sqlError(db.lastError());
            }
            return -1;
        }
        return 0;
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version"))) {
        if (error) {
            *error = sqlError(query.lastError());
        }
        return -1;
    }
    return query.next() ? query.value(0).toInt() : 0;
}

namespace {

// A migration's statements and program work, then the version it brings, inside the
// caller's transaction; false with *error.
bool applyMigration(QSqlDatabase& db, const Migration& migration, Engine engine, QString* error,
                    QSqlError* engineError) {
    for (const QString& statement : engineStatements(migration, engine)) {
        if (!exec(db, statement, error, engineError)) {
            return false;
        }
    }
    if (migration.afterStatements && !migration.afterStatements(db, error)) {
        return false;
    }
    return exec(db, QStringLiteral("DELETE FROM schema_version"), error, engineError) &&
           exec(db,
                QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)")
                    .arg(migration.version),
                error, engineError);
}

// On SQLite every step a file needs runs in one transaction: a new archive is made with one
// flush to the disk instead of one per version (the window's first start waits for it), and
// the file is at one whole version, the old one or the new, whatever happens. Two programs
// may open a new archive at once (a window program and trellicap-cli): the migration takes
// the write lock first and reads the version again under it, so the second one finds the
// steps done instead of doing them twice.
MigrationResult migrateSqlite(QSqlDatabase& db, int targetVersion, MigrationResult result) {
    QString error;
    if (!exec(db, QStringLiteral("BEGIN IMMEDIATE"), &error, &result.engineError)) {
        result.error = QStringLiteral("schema version %1: %2")
                           .arg(std::min(targetVersion, result.fromVersion + 1))
                           .arg(error);
        return result;
    }
    const int under = schemaVersion(db, nullptr);
    int reached = under;
    for (const Migration& migration : kMigrations) {
        if (migration.version <= under || migration.version > targetVersion) {
            continue;
        }
        if (!applyMigration(db, migration, Engine::Sqlite, &error, &result.engineError)) {
            QString ignored;
            exec(db, QStringLiteral("ROLLBACK"), &ignored);
            result.error =
                QStringLiteral("schema version %1: %2").arg(migration.version).arg(error);
            return result;
        }
        reached = migration.version;
    }
    if (!exec(db, QStringLiteral("COMMIT"), &error, &result.engineError)) {
        QString ignored;
        exec(db, QStringLiteral("ROLLBACK"), &ignored);
        result.error = QStringLiteral("schema version %1: %2").arg(reached).arg(error);
        return result;
    }
    result.toVersion = std::max(reached, result.fromVersion);
    result.ok = true;
    return result;
}

}  // namespace

MigrationResult migrateSchema(QSqlDatabase& db, int targetVersion) {
    MigrationResult result;
    const int current = schemaVersion(db, &result.error);
    result.fromVersion = current;
    result.toVersion = current;
    if (current < 0) {
        return result;
    }
    if (current > kSchemaVersion) {
        result.error = QStringLiteral(
                           "the archive was written by a newer program (schema version %1, "
                           "this program knows up to %2)")
                           .arg(current)
                           .arg(kSchemaVersion);
        return result;
    }
    if (current >= targetVersion) {
        result.ok = true;  // nothing to do: no lock taken, a read-only file opens
        return result;
    }
    const Engine engine = engineOf(db);
    if (engine == Engine::Sqlite) {
        return migrateSqlite(db, targetVersion, result);
    }
    for (const Migration& migration : kMigrations) {
        if (migration.version <= current || migration.version > targetVersion) {
            continue;
        }
        // On PostgreSQL each version in a transaction of its own (under the server-wide lock
        // prepareServerSchema takes).
        QString error;
        if (!db.transaction()) {
            result.error = sqlError(db.lastError());
            result.engineError = db.lastError();
            return result;
        }
        const bool ok = applyMigration(db, migration, engine, &error, &result.engineError);
        if (!ok || !db.commit()) {
            if (ok) {
                error = sqlError(db.lastError());
                result.engineError = db.lastError();
            }
            db.rollback();
            result.error =
                QStringLiteral("schema version %1: %2").arg(migration.version).arg(error);
            return result;
        }
        result.toVersion = migration.version;
    }
    result.ok = true;
    return result;
}

}  // namespace trellicap::archive
