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
        ASSERT_EQ(sqlite.size(), postgres.size());
        for (qsizetype i = 0; i < sqlite.size(); ++i) {
            EXPECT_FALSE(sqlite[i].contains(QLatin1Char('{'))) << sqlite[i].toStdString();
            EXPECT_FALSE(postgres[i].contains(QLatin1Char('{'))) << postgres[i].toStdString();
            EXPECT_FALSE(postgres[i].contains(QLatin1String(" BLOB"))) << postgres[i].toStdString();
            // SQLite-only words never reach the shared statements.
            EXPECT_FALSE(sqlite[i].contains(QLatin1String("AUTOINCREMENT")));
            EXPECT_FALSE(sqlite[i].contains(QLatin1String("WITHOUT ROWID")));
            EXPECT_FALSE(sqlite[i].contains(QLatin1String("PRAGMA")));
        }
    }
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
