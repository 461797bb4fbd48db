// The window program's background sync against a real server: it never holds up the
// caller's thread, keeps its status for the status bar, and goes on after the server was
// away.
#include <gtest/gtest.h>

#include <QDate>
#include <QElapsedTimer>

#include "archive/archive_schema.h"
#include "archive/background_sync.h"
#include "archive/server_conf.h"
#include "archive/server_connection.h"
#include "archive_filler.h"
#include "server_test_support.h"
#include "sqlite_file.h"
#include "support/wait.h"

namespace trellicap::archive {
namespace {

using test::addressOf;
using test::ArchiveFiller;
using test::countRows;
using test::SqliteFile;
using trellicap::testing::PgCluster;
using trellicap::testing::waitUntil;

TEST(SyncStatusText, SaysWhenItLastSyncedHowManyWaitAndNothingWithoutAServer) {
    SyncStatus status;
    EXPECT_TRUE(syncStatusText(status).isEmpty());
    status.configured = true;
    EXPECT_EQ(syncStatusText(status), QStringLiteral("Team server: no sync yet"));
    status.waiting = 12;
    const QString today = QDateTime(QDate::currentDate(), QTime(14, 2)).toString(Qt::ISODate);
    status.lastSync = today;
    EXPECT_EQ(syncStatusText(status), QStringLiteral("Team server: last sync 14:02, 12 waiting"));
    status.reason = QStringLiteral("connection refused");
    EXPECT_EQ(syncStatusText(status),
              QStringLiteral("Team server: not reached, 12 waiting (last sync 14:02)"));
    status.reason.clear();
    status.running = true;
    status.lastSync = QDateTime(QDate(2026, 12, 7), QTime(16, 40)).toString(Qt::ISODate);
    EXPECT_EQ(syncStatusText(status),
              QStringLiteral("Team server: sending, 12 waiting (last sync 07.12. 16:40)"));
}

TEST(BackgroundSync, SyncsAtStartWhenAskedAndAfterTheServerWasAway) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    SqliteFile laptop;
    ASSERT_TRUE(migrateSchema(laptop.db()).ok);
    ArchiveFiller filler(laptop.db());
    ASSERT_EQ(filler.addRecords(400).size(), 400u);
    ASSERT_TRUE(writeServerConf(laptop.folder(), cluster.url()).isEmpty());

    BackgroundSync sync(laptop.folder(), laptop.path());
    int published = 0;
    QObject::connect(&sync, &BackgroundSync::statusChanged, &sync,
                     [&](const SyncStatus&) { ++published; });
    QElapsedTimer clock;
    clock.start();
    sync.start();
    // The call hands the work to the sync's thread and returns.
    EXPECT_TRUE(sync.status().running);
    EXPECT_LT(clock.elapsed(), 1000);
    ASSERT_TRUE(waitUntil([&] { return !sync.status().running; }, 60000));
    EXPECT_TRUE(sync.status().reason.isEmpty()) << sync.status().reason.toStdString();
    EXPECT_EQ(sync.status().waiting, 0);
    EXPECT_FALSE(sync.status().lastSync.isEmpty());
    EXPECT_GE(published, 2);

    // The server goes away; new captures wait, the status says so.
    ASSERT_TRUE(cluster.stopServer());
    ASSERT_EQ(filler.addRecords(30).size(), 30u);
    sync.requestSync();
    ASSERT_TRUE(waitUntil([&] { return !sync.status().running; }, 60000));
    EXPECT_FALSE(sync.status().reason.isEmpty());
    EXPECT_EQ(sync.status().waiting, 30);
    EXPECT_TRUE(syncStatusText(sync.status())
                    .startsWith(QStringLiteral("Team server: not reached, 30 waiting")))
        << syncStatusText(sync.status()).toStdString();

    // Back again: the next request sends what waited, and a request during a sync is kept.
    ASSERT_TRUE(cluster.startServer());
    sync.requestSync();
    sync.requestSync();
    ASSERT_TRUE(
        waitUntil([&] { return !sync.status().running && sync.status().reason.isEmpty(); }, 60000));
    EXPECT_EQ(sync.status().waiting, 0);
    ServerConnection server(addressOf(cluster));
    ASSERT_TRUE(server.open());
    QSqlDatabase db = server.database();
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM record_versions")), 430);
}

TEST(BackgroundSync, StaysQuietWithoutAServer) {
    QTemporaryDir folder;
    BackgroundSync sync(folder.path(), folder.filePath(QStringLiteral("archive.sqlite")));
    sync.start();
    sync.requestSync();
    EXPECT_FALSE(sync.status().configured);
    EXPECT_FALSE(sync.status().running);
    EXPECT_TRUE(syncStatusText(sync.status()).isEmpty());
}

}  // namespace
}  // namespace trellicap::archive
