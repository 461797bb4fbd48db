#include <gtest/gtest.h>

#include <QSqlQuery>

#include "archive/archive_schema.h"
#include "sqlite_file.h"

namespace trellicap::archive {
namespace {

using test::SqliteFile;

int rowCount(QSqlDatabase& db, const QString& table) {
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    return query.next() ? query.value(0).toInt() : -1;
}

TEST(ArchiveSchema, EachEngineGetsItsOwnTypesAndNoPlaceholderIsLeft) {
    for (const Migration& migration : migrations()) {
        const QStringList sqlite = engineStatements(migration, Engine::Sqlite);
        const QStringList postgres = engineStatements(migration, Engine::Postgres);
        // The shared statements first, then each engine's own.
        ASSERT_EQ(sqlite.size(), static_cast<qsizetype>(migration.statements.size() +
                                                        migration.sqliteOnly.size()));
        ASSERT_EQ(postgres.size(), static_cast<qsizetype>(migration.statements.size() +
                                                          migration.postgresOnly.size()));
        for (const QString& statement : sqlite) {
            EXPECT_FALSE(statement.contains(QLatin1Char('{'))) << statement.toStdString();
            // SQLite-only words never reach the statements PostgreSQL shares.
            EXPECT_FALSE(statement.contains(QLatin1String("AUTOINCREMENT")));
            EXPECT_FALSE(statement.contains(QLatin1String("WITHOUT ROWID")));
            EXPECT_FALSE(statement.contains(QLatin1String("PRAGMA")));
            EXPECT_FALSE(statement.contains(QLatin1String("TIMESTAMPTZ")));
        }
        for (const QString& statement : postgres) {
            EXPECT_FALSE(statement.contains(QLatin1Char('{'))) << statement.toStdString();
            EXPECT_FALSE(statement.contains(QLatin1String(" BLOB"))) << statement.toStdString();
        }
    }
    // A laptop's sync marks stay off the server, the server's own tables off the laptops.
    const QString laptop3 =
        engineStatements(migrations()[2], Engine::Sqlite).join(QLatin1Char('\n'));
    const QString server3 =
        engineStatements(migrations()[2], Engine::Postgres).join(QLatin1Char('\n'));
    EXPECT_TRUE(laptop3.contains(QLatin1String("sync_sent")));
    EXPECT_FALSE(laptop3.contains(QLatin1String("sent_from")));
    EXPECT_TRUE(server3.contains(QLatin1String("sent_from")));
    EXPECT_FALSE(server3.contains(QLatin1String("sync_sent")));
    const QStringList first = engineStatements(migrations()[0], Engine::Postgres);
    EXPECT_TRUE(first.join(QLatin1Char('\n')).contains(QLatin1String("codes BYTEA NOT NULL")));
    EXPECT_TRUE(
        first.join(QLatin1Char('\n')).contains(QLatin1String("arrived_ms BIGINT NOT NULL")));
}

TEST(ArchiveSchema, AFreshFileIsBroughtToTheCurrentVersionOnceAndStaysThere) {
    SqliteFile file;
    EXPECT_EQ(schemaVersion(file.db()), 0);
    const MigrationResult first = migrateSchema(file.db());
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_EQ(first.fromVersion, 0);
    EXPECT_EQ(first.toVersion, kSchemaVersion);
    EXPECT_EQ(schemaVersion(file.db()), kSchemaVersion);
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("schema_version")), 1);

    const MigrationResult again = migrateSchema(file.db());
    ASSERT_TRUE(again.ok) << again.error.toStdString();
    EXPECT_EQ(again.fromVersion, kSchemaVersion);
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("archive_info")), 1);
}

TEST(ArchiveSchema, AFirstVersionArchiveMigratesWithItsRecordsKept) {
    SqliteFile file;
    ASSERT_TRUE(migrateSchema(file.db(), 1).ok);
    EXPECT_EQ(schemaVersion(file.db()), 1);
    EXPECT_FALSE(file.db().tables().contains(QStringLiteral("runs")));
    QSqlQuery insert(file.db());
    ASSERT_TRUE(insert.exec(QStringLiteral(
        "INSERT INTO records (uuid, model, slot, latest_version) VALUES ('u1', 'tft', 7, 1)")));
    ASSERT_TRUE(insert.exec(QStringLiteral(
        "INSERT INTO saved_in (uuid, version, path, file_name, saved_at)"
        " VALUES ('u1', 1, '/a/shift.dat', 'shift.dat', '2026-12-08T14:02:11+01:00')")));

    const MigrationResult result = migrateSchema(file.db());
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.fromVersion, 1);
    EXPECT_EQ(result.toVersion, kSchemaVersion);
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("records")), 1);
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("saved_in")), 1);
    for (const char* table : {"runs", "run_slots", "arrivals", "archive_info"}) {
        EXPECT_TRUE(file.db().tables().contains(QLatin1String(table))) << table;
    }
    QSqlQuery identity(file.db());
    identity.exec(QStringLiteral("SELECT value FROM archive_info WHERE name = 'archive_uuid'"));
    ASSERT_TRUE(identity.next());
    EXPECT_EQ(identity.value(0).toString().size(), 36);
}

TEST(ArchiveSchema, TheSyncMarksComeWithVersionThreeFromEveryEarlierVersion) {
    const QStringList syncTables = {QStringLiteral("sync_sent"),
                                    QStringLiteral("sync_sent_saved_in"),
                                    QStringLiteral("sync_servers")};
    // From version 1, and from a version 2 that never synced: the marks arrive, the server's
    // own tables do not.
    for (const int from : {1, 2}) {
        SqliteFile file;
        ASSERT_TRUE(migrateSchema(file.db(), from).ok);
        for (const QString& table : syncTables) {
            EXPECT_FALSE(file.db().tables().contains(table)) << from << table.toStdString();
        }
        const MigrationResult result = migrateSchema(file.db(), 3);
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.fromVersion, from);
        EXPECT_EQ(result.toVersion, 3);
        EXPECT_EQ(schemaVersion(file.db()), 3);
        for (const QString& table : syncTables) {
            EXPECT_TRUE(file.db().tables().contains(table)) << from << table.toStdString();
        }
        EXPECT_FALSE(file.db().tables().contains(QStringLiteral("sent_from")));
        EXPECT_FALSE(file.db().tables().contains(QStringLiteral("laptops")));
    }

    // A version 2 archive whose first sync made the marks itself (the statements of that
    // time, kept here as they were): its marks survive and the sync goes on from them.
    SqliteFile synced;
    ASSERT_TRUE(migrateSchema(synced.db(), 2).ok);
    QSqlQuery earlier(synced.db());
    ASSERT_TRUE(earlier.exec(
        QStringLiteral("CREATE TABLE sync_sent (server_uuid TEXT NOT NULL, uuid TEXT NOT NULL,"
                       " version INTEGER NOT NULL, PRIMARY KEY (server_uuid, uuid, version))")));
    ASSERT_TRUE(earlier.exec(QStringLiteral(
        "CREATE TABLE sync_sent_saved_in (server_uuid TEXT NOT NULL, uuid TEXT NOT NULL,"
        " version INTEGER NOT NULL, path TEXT NOT NULL,"
        " PRIMARY KEY (server_uuid, uuid, version, path))")));
    ASSERT_TRUE(
        earlier.exec(QStringLiteral("CREATE TABLE sync_servers (server_url TEXT PRIMARY KEY,"
                                    " server_uuid TEXT NOT NULL, last_sync TEXT NOT NULL)")));
    ASSERT_TRUE(earlier.exec(
        QStringLiteral("INSERT INTO sync_sent VALUES ('s1', 'u1', 1), ('s1', 'u1', 2)")));
    ASSERT_TRUE(
        earlier.exec(QStringLiteral("INSERT INTO sync_servers VALUES ('postgresql://a@h/t', 's1', "
                                    "'2026-12-08T14:02:11+01:00')")));
    const MigrationResult result = migrateSchema(synced.db(), 3);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.fromVersion, 2);
    EXPECT_EQ(schemaVersion(synced.db()), 3);
    EXPECT_EQ(rowCount(synced.db(), QStringLiteral("sync_sent")), 2);
    EXPECT_EQ(rowCount(synced.db(), QStringLiteral("sync_servers")), 1);
    EXPECT_EQ(rowCount(synced.db(), QStringLiteral("schema_version")), 1);
}

TEST(ArchiveSchema, VersionFourBringsTheJobsAndTheRegisterAndKeepsEverythingOfThree) {
    const QStringList jobTables = {"job_versions", "job_records", "job_record_values",
                                   "equipment_versions", "sync_sent_inspection"};
    SqliteFile file;
    ASSERT_TRUE(migrateSchema(file.db(), 3).ok);
    QSqlQuery insert(file.db());
    ASSERT_TRUE(insert.exec(QStringLiteral(
        "INSERT INTO records (uuid, model, slot, latest_version) VALUES ('u1', 'tft', 7, 1)")));
    ASSERT_TRUE(insert.exec(QStringLiteral(
        "INSERT INTO record_values (uuid, version, codes) VALUES ('u1', 1, x'0102')")));
    ASSERT_TRUE(insert.exec(QStringLiteral("INSERT INTO sync_sent VALUES ('s1', 'u1', 1)")));
    for (const QString& table : jobTables) {
        EXPECT_FALSE(file.db().tables().contains(table)) << table.toStdString();
    }
    const MigrationResult result = migrateSchema(file.db());
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.fromVersion, 3);
    EXPECT_EQ(result.toVersion, kSchemaVersion);
    for (const QString& table : jobTables) {
        EXPECT_TRUE(file.db().tables().contains(table)) << table.toStdString();
    }
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("records")), 1);
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("record_values")), 1);
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("sync_sent")), 1);
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("schema_version")), 1);
    // The laptop's marks of what a server holds stay off the server's statements.
    const QString server4 =
        engineStatements(migrations()[3], Engine::Postgres).join(QLatin1Char('\n'));
    EXPECT_FALSE(server4.contains(QLatin1String("sync_sent_inspection")));
    EXPECT_TRUE(server4.contains(QLatin1String(" codes BYTEA NOT NULL)")));
}

TEST(ArchiveSchema, AFileThatCannotTakeALaterStepStaysWhollyAtItsOwnVersion) {
    SqliteFile file;
    ASSERT_TRUE(migrateSchema(file.db(), 4).ok);
    QSqlQuery prepare(file.db());
    ASSERT_TRUE(prepare.exec(QStringLiteral(
        "INSERT INTO records (uuid, model, slot, latest_version) VALUES ('u1', 'tft', 7, 1)")));
    // A table of that name that refuses version 6's mark: the steps 5 and 6 fail together.
    ASSERT_TRUE(prepare.exec(
        QStringLiteral("CREATE TABLE search_indexed (up_to INTEGER NOT NULL CHECK (up_to < 0))")));
    const MigrationResult refused = migrateSchema(file.db());
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.error.startsWith(QLatin1String("schema version 6:")))
        << refused.error.toStdString();
    EXPECT_EQ(refused.toVersion, 4);
    EXPECT_EQ(schemaVersion(file.db()), 4);
    EXPECT_FALSE(file.db().tables().contains(QStringLiteral("version_search")));
    EXPECT_FALSE(file.db().tables().contains(QStringLiteral("run_files")));
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("records")), 1);

    ASSERT_TRUE(prepare.exec(QStringLiteral("DROP TABLE search_indexed")));
    const MigrationResult done = migrateSchema(file.db());
    ASSERT_TRUE(done.ok) << done.error.toStdString();
    EXPECT_EQ(done.fromVersion, 4);
    EXPECT_EQ(schemaVersion(file.db()), kSchemaVersion);
    EXPECT_EQ(rowCount(file.db(), QStringLiteral("schema_version")), 1);
}

TEST(ArchiveSchema, AnArchiveFromANewerProgramIsRefusedUntouched) {
    SqliteFile file;
    ASSERT_TRUE(migrateSchema(file.db()).ok);
    QSqlQuery(file.db()).exec(
        QStringLiteral("UPDATE schema_version SET version = %1").arg(kSchemaVersion + 1));
    const MigrationResult result = migrateSchema(file.db());
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QLatin1String("newer program")))
        << result.error.toStdString();
    EXPECT_EQ(schemaVersion(file.db()), kSchemaVersion + 1);
}

}  // namespace
}  // namespace trellicap::archive
