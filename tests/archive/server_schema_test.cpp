// The archive's migrations on PostgreSQL (the same ones every archive.sqlite gets), the
// server-only tables beside them, and an office's setup with a role per inspector.
#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>

#include "archive/archive_schema.h"
#include "archive/server_connection.h"
#include "archive/server_schema.h"
#include "server_test_support.h"

namespace trellicap::archive {
namespace {

using test::addressOf;
using test::countRows;
using trellicap::testing::PgCluster;

TEST(ServerSchema, TheArchiveMigrationsRunOnPostgresFromEveryVersion) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    ServerConnection server(addressOf(cluster));
    ASSERT_TRUE(server.open()) << server.error().toStdString();
    QSqlDatabase db = server.database();

    EXPECT_EQ(schemaVersion(db), 0);
    const MigrationResult first = migrateSchema(db, 1);
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_EQ(schemaVersion(db), 1);
    QSqlQuery insert(db);
    ASSERT_TRUE(insert.exec(QStringLiteral(
        "INSERT INTO records (uuid, model, slot, latest_version) VALUES ('u1', 'tft', 7, 1)")));
    ASSERT_TRUE(insert.exec(QStringLiteral(
        "INSERT INTO record_values (uuid, version, codes) VALUES ('u1', 1, '\\x0102'::bytea)")));

    // The server's preparation takes it the rest of the way and adds its own tables.
    const QString error = prepareServerSchema(db);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(schemaVersion(db), kSchemaVersion);
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM records")), 1);
    for (const char* table : {"record_versions", "record_values", "saved_in", "runs", "arrivals",
                              "archive_info", "sent_from", "laptops"}) {
        EXPECT_TRUE(db.tables().contains(QLatin1String(table))) << table;
    }
    // Types the engine spells its own way.
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM information_schema.columns WHERE"
                                           " table_name = 'record_values' AND column_name = 'codes'"
                                           " AND data_type = 'bytea'")),
              1);
    EXPECT_EQ(countRows(db, QStringLiteral(
                                "SELECT COUNT(*) FROM information_schema.columns WHERE"
                                " table_name = 'record_versions' AND column_name = 'arrived_ms'"
                                " AND data_type = 'bigint'")),
              1);

    // The free-text search has its trigram index where the server allows the extension.
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM pg_indexes WHERE indexname ="
                                           " 'record_versions_search_words'")),
              1);

    // Again: nothing changes, the server keeps one identity.
    EXPECT_TRUE(prepareServerSchema(db).isEmpty());
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM schema_version")), 1);
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM archive_info")), 1);
}

TEST(ServerSchema, AVersionTwoServerKeepsItsLaptopsAndSendersAtVersionThree) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    ServerConnection server(addressOf(cluster));
    ASSERT_TRUE(server.open()) << server.error().toStdString();
    QSqlDatabase db = server.database();

    // A server prepared before its own tables were versioned: version 2, and the tables the
    // first sync made beside the versions (as they were then), with a laptop's visit in them.
    ASSERT_TRUE(migrateSchema(db, 2).ok);
    QSqlQuery earlier(db);
    ASSERT_TRUE(earlier.exec(QStringLiteral(
        "CREATE TABLE sent_from (uuid TEXT NOT NULL, version INTEGER NOT NULL,"
        " laptop_uuid TEXT NOT NULL, working_folder TEXT NOT NULL, inspector TEXT NOT NULL,"
        " received TIMESTAMPTZ NOT NULL DEFAULT now(), PRIMARY KEY (uuid, version))")))
        << earlier.lastError().text().toStdString();
    ASSERT_TRUE(earlier.exec(QStringLiteral(
        "CREATE TABLE laptops (laptop_uuid TEXT PRIMARY KEY, working_folder TEXT NOT NULL,"
        " inspector TEXT NOT NULL, last_sync TIMESTAMPTZ NOT NULL)")));
    ASSERT_TRUE(earlier.exec(QStringLiteral(
        "INSERT INTO sent_from (uuid, version, laptop_uuid, working_folder, inspector)"
        " VALUES ('u1', 1, 'l1', '/home/anna/Trellicap/tft', 'anna')")));
    ASSERT_TRUE(earlier.exec(
        QStringLiteral("INSERT INTO laptops VALUES ('l1', '/home/anna/Trellicap/tft', 'anna',"
                       " now())")));

    const QString error = prepareServerSchema(db);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(schemaVersion(db), kSchemaVersion);
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM sent_from")), 1);
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM laptops")), 1);
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM pg_indexes WHERE indexname ="
                                           " 'sent_from_laptop'")),
              1);
    // A laptop's sync marks are no business of the server.
    EXPECT_FALSE(db.tables().contains(QStringLiteral("sync_sent")));
    EXPECT_FALSE(db.tables().contains(QStringLiteral("sync_servers")));
}

TEST(ServerSchema, AVersionThreeServerGetsTheJobTablesWithItsRecordsKept) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    ServerConnection server(addressOf(cluster));
    ASSERT_TRUE(server.open()) << server.error().toStdString();
    QSqlDatabase db = server.database();
    ASSERT_TRUE(migrateSchema(db, 3).ok);
    QSqlQuery insert(db);
    ASSERT_TRUE(insert.exec(QStringLiteral(
        "INSERT INTO records (uuid, model, slot, latest_version) VALUES ('u1', 'tft', 7, 1)")));
    ASSERT_TRUE(insert.exec(QStringLiteral(
        "INSERT INTO laptops VALUES ('l1', '/home/anna/Trellicap/tft', 'anna', now())")));
    EXPECT_FALSE(db.tables().contains(QStringLiteral("job_versions")));

    const QString error = prepareServerSchema(db);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(schemaVersion(db), kSchemaVersion);
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM records")), 1);
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM laptops")), 1);
    for (const char* table :
         {"job_versions", "job_records", "job_record_values", "equipment_versions"}) {
        EXPECT_TRUE(db.tables().contains(QLatin1String(table))) << table;
    }
    EXPECT_FALSE(db.tables().contains(QStringLiteral("sync_sent_inspection")));
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM information_schema.columns WHERE"
                                           " table_name = 'job_versions' AND column_name ="
                                           " 'changed_ms' AND data_type = 'bigint'")),
              1);
}

TEST(ServerSchema, EveryInspectorOfTheOfficeRoleWritesIntoTheSameTables) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    // The office's setup as the README gives it: a group role owns the database, each
    // inspector logs in with a role of their own in that group.
    ASSERT_TRUE(cluster.psql(QStringLiteral("CREATE ROLE inspectors NOLOGIN")))
        << cluster.error().toStdString();
    ASSERT_TRUE(cluster.psql(QStringLiteral("CREATE ROLE anna LOGIN IN ROLE inspectors")));
    ASSERT_TRUE(cluster.psql(QStringLiteral("CREATE ROLE bob LOGIN IN ROLE inspectors")));
    ASSERT_TRUE(cluster.psql(QStringLiteral("CREATE DATABASE office OWNER inspectors")));

    {
        ServerConnection anna(addressOf(cluster, QStringLiteral("anna"), QStringLiteral("office")));
        ASSERT_TRUE(anna.open()) << anna.error().toStdString();
        QSqlDatabase db = anna.database();
        const QString error = prepareServerSchema(db);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE"
                                               " tablename = 'record_versions'"
                                               " AND tableowner = 'inspectors'")),
                  1);
    }
    ServerConnection bob(addressOf(cluster, QStringLiteral("bob"), QStringLiteral("office")));
    ASSERT_TRUE(bob.open()) << bob.error().toStdString();
    QSqlDatabase db = bob.database();
    EXPECT_TRUE(prepareServerSchema(db).isEmpty());
    QSqlQuery insert(db);
    EXPECT_TRUE(insert.exec(
        QStringLiteral("INSERT INTO laptops (laptop_uuid, working_folder, inspector, last_sync)"
                       " VALUES ('l1', '/home/bob/Trellicap/tft', session_user, now())")))
        << insert.lastError().text().toStdString();
}

}  // namespace
}  // namespace trellicap::archive
