// The team server's sync at size and at its edges: 20,000 records across a server that
// dies part-way, deflated values read back on the server, one last-sync note per server
// however its address is spelled, a program's exit that never waits long for a sync, and
// what a missing password is said to be.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTemporaryDir>

#include "archive/archive_keeper.h"
#include "archive/archive_schema.h"
#include "archive/archive_search.h"
#include "archive/archive_sync.h"
#include "archive/background_sync.h"
#include "archive/server_conf.h"
#include "archive/server_connection.h"
#include "archive/sync_local.h"
#include "archive/sync_marks.h"
#include "archive_filler.h"
#include "profiles/tft.h"
#include "server_test_support.h"
#include "sqlite_file.h"
#include "support/wait.h"
#include "test_records.h"

namespace trellicap::archive {
namespace {

using test::addressOf;
using test::ArchiveFiller;
using test::countRows;
using test::SqliteFile;
using trellicap::testing::PgCluster;
using trellicap::testing::waitUntil;

SyncResult syncTo(PgCluster& cluster, QSqlDatabase& local, const QString& folder,
                  const SyncProgress& progress = {}) {
    ServerConnection server(addressOf(cluster));
    if (!server.open()) {
        SyncResult failed;
        failed.error = server.error();
        return failed;
    }
    QSqlDatabase db = server.database();
    return syncArchive(local, db, {folder, cluster.url()}, progress);
}

long long onServer(PgCluster& cluster, const QString& sql) {
    ServerConnection server(addressOf(cluster));
    if (!server.open()) {
        return -1;
    }
    QSqlDatabase db = server.database();
    return countRows(db, sql);
}

TEST(TeamSync, TwentyThousandRecordsAcrossAServerThatDiesPartWayArriveOnceEach) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    // 100 records as the window keeps them (values deflated), 19,900 filled in bulk.
    std::vector<std::vector<RecordValue>> kept;
    {
        ArchiveKeeper keeper(tft::kProfile, path);
        keeper.start();
        for (int column = 0; column < 100; ++column) {
            kept.push_back(test::keptRecord(tft::kProfile, column + 1, column));
            keeper.keepFiled(column, kept.back(), Source::Capture);
        }
        keeper.endRunCleanly();
        ASSERT_FALSE(keeper.failing());
    }
    SyncLocalArchive local(path);
    ASSERT_TRUE(local.open());
    QSqlDatabase localDb = local.database();
    ArchiveFiller filler(localDb);
    ASSERT_EQ(filler.addRecords(19900).size(), 19900u) << filler.error().toStdString();

    int batches = 0;
    const SyncResult cut = syncTo(cluster, localDb, dir.path(), [&](const SyncResult&) {
        if (++batches == 17) {
            EXPECT_TRUE(cluster.stopServer(true)) << cluster.error().toStdString();
        }
        return true;
    });
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.sent, 17 * kSyncBatchSize);
    EXPECT_EQ(cut.waiting, 20000 - 17 * kSyncBatchSize);
    ASSERT_TRUE(cluster.startServer()) << cluster.error().toStdString();

    const SyncResult resumed = syncTo(cluster, localDb, dir.path());
    ASSERT_TRUE(resumed.ok) << resumed.error.toStdString();
    EXPECT_TRUE(cut.copied && resumed.copied);  // both by COPY
    EXPECT_EQ(resumed.sent, 20000 - 17 * kSyncBatchSize);
    EXPECT_EQ(resumed.waiting, 0);
    for (const char* table : {"record_versions", "record_values", "records", "sent_from"}) {
        EXPECT_EQ(onServer(cluster, QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table)),
                  20000)
            << table;
    }
    EXPECT_EQ(onServer(cluster, QStringLiteral("SELECT COUNT(*) FROM record_values WHERE"
                                               " packing = 1")),
              100);
    // Every version's values the same bytes on both engines, and read back value for value
    // where they were deflated.
    ServerConnection server(addressOf(cluster));
    ASSERT_TRUE(server.open());
    QSqlDatabase serverDb = server.database();
    const QString all = QStringLiteral(
        "SELECT uuid, version, codes, packing FROM record_values"
        " ORDER BY uuid, version");
    QSqlQuery here(localDb);
    QSqlQuery there(serverDb);
    ASSERT_TRUE(here.exec(all) && there.exec(all));
    int compared = 0;
    while (here.next()) {
        ASSERT_TRUE(there.next());
        ASSERT_EQ(here.value(0), there.value(0));
        ASSERT_EQ(here.value(2).toByteArray(), there.value(2).toByteArray());
        ASSERT_EQ(here.value(3).toInt(), there.value(3).toInt());
        ++compared;
    }
    EXPECT_FALSE(there.next());
    EXPECT_EQ(compared, 20000);
    SearchFilter first;
    first.allVersions = true;
    first.fromMs = 0;
    QString error;
    int checked = 0;
    for (const KeptVersion& version : searchArchive(serverDb, first, &error)) {
        if (!version.timeDate.isEmpty()) {  // the keeper's records; the filler writes none
            const auto values = keptValues(serverDb, version.uuid, version.version, 701);
            ASSERT_TRUE(values);
            EXPECT_EQ(*values, kept[static_cast<std::size_t>(version.slot - 1)]);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 100) << error.toStdString();
}

TEST(TeamSync, TheWindowAndTheCommandLineShareOneLastSyncPerServer) {
    SqliteFile laptop;
    ASSERT_TRUE(migrateSchema(laptop.db()).ok);
    // archive.conf as typed (postgres://, no port) and the command line's canonical form.
    const QString typed = QStringLiteral("postgres://anna@office/trellicap");
    const QString canonical = QStringLiteral("postgresql://anna@office:5432/trellicap");
    EXPECT_EQ(serverKey(typed), canonical);
    ASSERT_TRUE(noteSyncDone(laptop.db(), QStringLiteral("s1"), typed,
                             QStringLiteral("2026-12-08T14:02:00+01:00"))
                    .isEmpty());
    EXPECT_EQ(syncHistory(laptop.db(), canonical).lastSync,
              QStringLiteral("2026-12-08T14:02:00+01:00"));
    ASSERT_TRUE(noteSyncDone(laptop.db(), QStringLiteral("s1"), canonical,
                             QStringLiteral("2026-12-08T15:30:00+01:00"))
                    .isEmpty());
    EXPECT_EQ(syncHistory(laptop.db(), typed).lastSync,
              QStringLiteral("2026-12-08T15:30:00+01:00"));
    EXPECT_EQ(syncHistory(laptop.db(), typed).serverUuid, QStringLiteral("s1"));
    EXPECT_EQ(test::countRows(laptop.db(), QStringLiteral("SELECT COUNT(*) FROM sync_servers")), 1);
    // A row an earlier program wrote under the typed address is found and then replaced.
    QSqlQuery(laptop.db())
        .exec(
            QStringLiteral("INSERT INTO sync_servers VALUES ('postgresql://anna@office/trellicap',"
                           " 's1', '2026-12-09T08:00:00+01:00')"));
    EXPECT_EQ(syncHistory(laptop.db(), canonical).lastSync,
              QStringLiteral("2026-12-09T08:00:00+01:00"));
    ASSERT_TRUE(noteSyncDone(laptop.db(), QStringLiteral("s1"), typed,
                             QStringLiteral("2026-12-09T09:00:00+01:00"))
                    .isEmpty());
    EXPECT_EQ(test::countRows(laptop.db(), QStringLiteral("SELECT COUNT(*) FROM sync_servers")), 1);
}

TEST(TeamSync, TheProgramsExitWaitsAtMostASecondForASyncStuckOnTheServer) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    SqliteFile laptop;
    ASSERT_TRUE(migrateSchema(laptop.db()).ok);
    ArchiveFiller filler(laptop.db());
    ASSERT_EQ(filler.addRecords(10).size(), 10u);
    ASSERT_TRUE(syncTo(cluster, laptop.db(), laptop.folder()).ok);
    ASSERT_EQ(filler.addRecords(10).size(), 10u);
    ASSERT_TRUE(writeServerConf(laptop.folder(), cluster.url()).isEmpty());

    // Another session holds the versions' table: the sync's insert waits for it.
    ServerConnection holder(addressOf(cluster));
    ASSERT_TRUE(holder.open());
    QSqlDatabase held = holder.database();
    ASSERT_TRUE(held.transaction());
    ASSERT_TRUE(QSqlQuery(held).exec(
        QStringLiteral("LOCK TABLE record_versions IN ACCESS EXCLUSIVE MODE")));

    QElapsedTimer clock;
    {
        BackgroundSync sync(laptop.folder(), laptop.path());
        sync.start();
        QTest::qWait(1500);
        EXPECT_TRUE(sync.status().running);  // stuck behind the lock
        clock.start();
    }
    const qint64 exitMs = clock.elapsed();
    std::printf("exit with a sync stuck on the server: %lld ms\n", static_cast<long long>(exitMs));
    EXPECT_LT(exitMs, 1500);
    held.rollback();
    EXPECT_EQ(onServer(cluster, QStringLiteral("SELECT COUNT(*) FROM record_versions")), 10);
}

TEST(TeamSync, TheProgramsExitDoesNotWaitForAServerThatNeverAnswers) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    SqliteFile laptop;
    ASSERT_TRUE(migrateSchema(laptop.db()).ok);
    ASSERT_TRUE(
        writeServerConf(laptop.folder(),
                        QStringLiteral("postgresql://anna@127.0.0.1:%1/t").arg(silent.serverPort()))
            .isEmpty());
    QElapsedTimer clock;
    {
        BackgroundSync sync(laptop.folder(), laptop.path());
        sync.start();
        QTest::qWait(300);
        EXPECT_TRUE(sync.status().running);
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 1500);
}

// The sync's thread left connecting above still removes its connections from Qt's list when
// the connect gives up: the program's end must wait for it, or that happens in the middle of
// the process's teardown (a crash at exit).
TEST(TeamSync, AThreadLeftRunningAtExitEndsBeforeTheProgramDoes) {
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("ended"));
    QProcess child;
    child.start(QStringLiteral(OUTLIVING_THREAD_CHILD), {marker});
    ASSERT_TRUE(child.waitForFinished(20000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(marker));
}

TEST(ServerRefusal, AMissingPasswordIsSaidInWordsWithWherePostgresLooks) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldFile = qgetenv("PGPASSFILE");
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("PGPASSFILE");
    const ServerAddress address{QStringLiteral("anna"), QStringLiteral("office"), 5433,
                                QStringLiteral("trellicap")};
    const QString libpq = QStringLiteral("fe_sendauth: no password supplied");
    const QString none = explainRefusal(libpq, address);
    EXPECT_EQ(none,
              QStringLiteral("the server asks for a password for anna and none was found: put the "
                             "line office:5433:trellicap:anna:PASSWORD into ~/.pgpass (readable by "
                             "you alone, mode 0600) or set the environment variable PGPASSWORD"));
#ifndef Q_OS_WIN
    QFile pgpass(home.filePath(QStringLiteral(".pgpass")));
    ASSERT_TRUE(pgpass.open(QIODevice::WriteOnly));
    pgpass.write("office:5433:other:anna:x\n");
    pgpass.close();
    pgpass.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ReadOther);
    EXPECT_TRUE(explainRefusal(libpq, address)
                    .endsWith(QStringLiteral("; ~/.pgpass is there, but others may read it, so "
                                             "PostgreSQL ignores it (chmod 600 ~/.pgpass)")));
    pgpass.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_TRUE(explainRefusal(libpq, address)
                    .endsWith(QStringLiteral("; ~/.pgpass has no line for this server, database "
                                             "and user")));
#endif
    // Any other answer is the server's own.
    EXPECT_EQ(explainRefusal(QStringLiteral("Connection refused"), address),
              QStringLiteral("Connection refused"));
    qputenv("HOME", oldHome);
    if (!oldFile.isEmpty()) {
        qputenv("PGPASSFILE", oldFile);
    }
}

}  // namespace
}  // namespace trellicap::archive
