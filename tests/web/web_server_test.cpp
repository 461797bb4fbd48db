// trellicap-web over the team server: a private PostgreSQL 15 cluster filled by
// trellicap-cli archive sync, read through a role that may only SELECT (the README's GRANT
// lines); and the read-only connections themselves, which refuse a write even where the
// login could make one.
#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>

#include "archive/read_only_archive.h"
#include "archive/read_only_server.h"
#include "cli_fixture.h"
#include "server_test_support.h"
#include "web_fixture.h"

namespace trellicap::testing {
namespace {

// What the README tells an office to run for the viewer's role (the group role there is
// `inspectors`; here the tables belong to the cluster's superuser, who synced them).
bool grantViewer(PgCluster& cluster) {
    return cluster.psql(QStringLiteral("CREATE ROLE office_viewer LOGIN")) &&
           cluster.psql(QStringLiteral("GRANT CONNECT ON DATABASE trellicap TO office_viewer")) &&
           cluster.psql(QStringLiteral("GRANT USAGE ON SCHEMA public TO office_viewer")) &&
           cluster.psql(
               QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO office_viewer"));
}

TEST(WebOverTeamServer, theOfficeBrowsesTheSyncedRecordsReadOnly) {
    samePdfObjectOrder();
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    TestArchive archive;
    ASSERT_TRUE(makeTestArchive(archive));
    const CliRun sync =
        runCli({"archive", "sync", "--archive", archive.path, "--server", cluster.url()});
    ASSERT_EQ(sync.exitCode, 0) << sync.err.toStdString();
    ASSERT_TRUE(grantViewer(cluster)) << cluster.error().toStdString();
    const QString viewer = QStringLiteral("postgresql://office_viewer@%1:%2/trellicap")
                               .arg(cluster.host())
                               .arg(cluster.port());

    WebProcess server({"--server", viewer, "--listen", "127.0.0.1:0"});
    ASSERT_TRUE(server.listening()) << server.error().toStdString();
    WebProcess local({"--archive", archive.path, "--listen", "127.0.0.1:0"});
    ASSERT_TRUE(local.listening()) << local.error().toStdString();

    const auto search = get(server.port(), "/?all=1&size=10");
    ASSERT_TRUE(search);
    EXPECT_EQ(search->status, 200);
    EXPECT_NE(search->body.find("6 versions found"), std::string::npos);
    EXPECT_NE(search->body.find("team server"), std::string::npos);
    const auto text = get(server.port(), "/?q=AXLE%207%2F123");
    ASSERT_TRUE(text);
    EXPECT_NE(text->body.find("1 record found"), std::string::npos);
    const auto hostile = get(server.port(), "/?q=%25%27%20OR%201%3D1%20--");
    ASSERT_TRUE(hostile);
    EXPECT_NE(hostile->body.find("0 records found"), std::string::npos);

    const std::string record = "/record/" + archive.slot3.toStdString();
    const auto page = get(server.port(), record);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("<img class=\"ascan\""), std::string::npos);
    const auto plot = get(server.port(), "/plot/" + archive.slot3.toStdString() + "/2.svg");
    ASSERT_TRUE(plot);
    EXPECT_EQ(plot->status, 200);
    EXPECT_NE(plot->body.find("<polyline"), std::string::npos);
    EXPECT_NE(page->body.find("&lt;script&gt;alert(1)"), std::string::npos);
    EXPECT_EQ(page->body.find("<script"), std::string::npos);
    EXPECT_NE(page->body.find("night-shift.dat"), std::string::npos);
    // Who sent it: the inspector's login and the laptop.
    EXPECT_NE(page->body.find("postgres on laptop"), std::string::npos);

    // The same downloads as over the laptop's file (which are trellicap-cli's bytes).
    for (const std::string what : {"record.dat", "table.csv", "data.json"}) {
        const auto remote = get(server.port(), record + "/" + what);
        const auto file = get(local.port(), record + "/" + what);
        ASSERT_TRUE(remote && file) << what;
        EXPECT_EQ(remote->status, 200) << what;
        EXPECT_EQ(remote->body, file->body) << what;
    }
    const auto remotePdf = get(server.port(), record + "/report.pdf");
    const auto filePdf = get(local.port(), record + "/report.pdf");
    ASSERT_TRUE(remotePdf && filePdf);
    EXPECT_EQ(withoutPdfStamps(QByteArray::fromStdString(remotePdf->body)),
              withoutPdfStamps(QByteArray::fromStdString(filePdf->body)));

    // The server going away: a page says why, and when it is back the pages are too.
    ASSERT_TRUE(cluster.stopServer());
    const auto gone = get(server.port(), record);
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->status, 503);
    ASSERT_TRUE(cluster.startServer());
    const auto back = get(server.port(), record);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->status, 200);
    EXPECT_EQ(server.stop(), 0);
}

TEST(ReadOnlyConnections, refuseEveryWriteWhatEverTheLoginMayDo) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    TestArchive archive;
    ASSERT_TRUE(makeTestArchive(archive));
    ASSERT_EQ(
        runCli({"archive", "sync", "--archive", archive.path, "--server", cluster.url()}).exitCode,
        0);

    // The superuser could write anything; the session it opens for reading cannot.
    archive::ReadOnlyServer server(archive::test::addressOf(cluster));
    ASSERT_TRUE(server.open()) << server.error().toStdString();
    QSqlQuery write(server.db());
    EXPECT_FALSE(write.exec(QStringLiteral("DELETE FROM record_versions")));
    EXPECT_TRUE(write.lastError().text().contains(QStringLiteral("read-only")))
        << write.lastError().text().toStdString();
    EXPECT_FALSE(write.exec(QStringLiteral("CREATE TABLE intruder (x INTEGER)")));
    QSqlQuery read(server.db());
    ASSERT_TRUE(read.exec(QStringLiteral("SELECT COUNT(*) FROM record_versions")) && read.next());
    EXPECT_EQ(read.value(0).toInt(), 6);

    archive::ReadOnlyFile file(archive.path);
    ASSERT_TRUE(file.open()) << file.error().toStdString();
    QSqlQuery local(file.db());
    EXPECT_FALSE(local.exec(QStringLiteral("DELETE FROM record_versions")));
    // Even with query_only turned off, SQLite's read-only mode holds.
    local.exec(QStringLiteral("PRAGMA query_only = OFF"));
    EXPECT_FALSE(local.exec(QStringLiteral("DELETE FROM records")));
    QSqlQuery count(file.db());
    ASSERT_TRUE(count.exec(QStringLiteral("SELECT COUNT(*) FROM record_versions")) && count.next());
    EXPECT_EQ(count.value(0).toInt(), 6);

    // A database that holds no archive, and a file that does not exist, are named as such.
    ASSERT_TRUE(cluster.psql(QStringLiteral("CREATE DATABASE empty")));
    archive::ReadOnlyServer empty(archive::test::addressOf(cluster, {}, QStringLiteral("empty")));
    EXPECT_FALSE(empty.open());
    EXPECT_TRUE(empty.error().contains(QStringLiteral("holds no archive")))
        << empty.error().toStdString();
    archive::ReadOnlyFile nowhere(archive.dir.filePath(QStringLiteral("none.sqlite")));
    EXPECT_FALSE(nowhere.open());
    EXPECT_FALSE(QFile::exists(archive.dir.filePath(QStringLiteral("none.sqlite"))));
}

}  // namespace
}  // namespace trellicap::testing
