// trellicap-web as a real process over a real archive file: the search and its pages, the
// record page, the downloads against trellicap-cli's own, and what a hostile request or
// record gets. The archive file is not changed by any of it.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "cli_fixture.h"
#include "profiles/tft.h"
#include "web_fixture.h"

namespace trellicap::testing {
namespace {

class WebOverFile : public ::testing::Test {
protected:
    void SetUp() override {
        samePdfObjectOrder();
        ASSERT_TRUE(makeTestArchive(m_archive));
        m_before = QCryptographicHash::hash(fileBytes(m_archive.path), QCryptographicHash::Sha256);
        m_server = std::make_unique<WebProcess>(
            QStringList{"--archive", m_archive.path, "--listen", "127.0.0.1:0"});
        ASSERT_TRUE(m_server->listening()) << m_server->error().toStdString();
    }
    void TearDown() override {
        if (m_server) {
            EXPECT_EQ(m_server->stop(), 0);
            // Read-only: the archive is the same file, byte for byte, and its journal (which a
            // reader of a journaled file opens beside it, as every reader does) holds nothing.
            EXPECT_EQ(
                QCryptographicHash::hash(fileBytes(m_archive.path), QCryptographicHash::Sha256),
                m_before);
            EXPECT_EQ(QFileInfo(m_archive.path + QStringLiteral("-wal")).size(), 0);
        }
    }
    std::string page(const std::string& path, int status = 200) {
        const auto answer = get(m_server->port(), path);
        EXPECT_TRUE(answer) << path;
        if (!answer) {
            return {};
        }
        EXPECT_EQ(answer->status, status) << path;
        return answer->body;
    }

    TestArchive m_archive;
    QByteArray m_before;
    std::unique_ptr<WebProcess> m_server;
};

// "4 records found", as the page says it.
std::string countLine(const std::string& html) {
    const auto match = QRegularExpression(QStringLiteral("id=\"count\">([^<]*)<"))
                           .match(QString::fromStdString(html));
    return match.hasMatch() ? match.captured(1).toStdString() : std::string("(no count)");
}

int rowCount(const std::string& html) {
    return static_cast<int>(
        QString::fromStdString(html).count(QStringLiteral("<tr><td class=\"thumb\">")));
}

TEST_F(WebOverFile, theSearchFindsPagesAndSortsTheRecords) {
    // The newest version of each record: TFT slots 3 and 7, the hostile copy of 7, DAC slots 2
    // and 150.
    const std::string all = page("/");
    EXPECT_EQ(countLine(all), "5 records found");
    EXPECT_EQ(rowCount(all), 5);
    EXPECT_NE(all.find(m_archive.slot3.toStdString()), std::string::npos);
    EXPECT_NE(all.find(m_archive.dacSlot2.toStdString()), std::string::npos);

    // Every version: slot 3 has two.
    EXPECT_EQ(countLine(page("/?all=1")), "6 versions found");

    // Paging on the server: pages of 10 over 6 versions, then a page that is not there.
    const std::string first = page("/?all=1&size=10");
    EXPECT_EQ(rowCount(first), 6);
    EXPECT_NE(first.find("Page 1 of 1"), std::string::npos);
    const std::string beyond = page("/?all=1&size=10&page=2");
    EXPECT_EQ(rowCount(beyond), 0);
    EXPECT_NE(beyond.find("There is no page 2"), std::string::npos);

    // Filters: model, slot, a text in the header and in a record file's name.
    EXPECT_EQ(countLine(page("/?model=dac")), "2 records found");
    // The file's and the hostile copy.
    EXPECT_EQ(countLine(page("/?slot=7&model=tft")), "2 records found");
    EXPECT_EQ(countLine(page("/?q=AXLE%207%2F123")), "1 record found");
    // Saved into night-shift.dat: slot 3's newest version and slot 7's.
    EXPECT_EQ(countLine(page("/?q=night-shift")), "2 records found");

    // Sorted by slot, ascending: Mem 2 (DAC) first, then 3, 7, 7.
    const QString bySlot = QString::fromStdString(page("/?sort=slot&dir=asc"));
    const auto at = [&bySlot](const QString& uuid) { return bySlot.indexOf(uuid); };
    EXPECT_LT(at(m_archive.dacSlot2), at(m_archive.slot3));
    EXPECT_LT(at(m_archive.slot3), at(m_archive.slot7));
    EXPECT_GT(at(m_archive.slot7), 0);

    // What cannot be used is named, and nothing is searched.
    const std::string wrong = page("/?slot=0&from=2026-13-45&size=7", 400);
    EXPECT_NE(wrong.find("1 to 200"), std::string::npos);
    EXPECT_NE(wrong.find("is not a date"), std::string::npos);
    EXPECT_NE(wrong.find("10, 25, 50 or 100"), std::string::npos);
    EXPECT_EQ(rowCount(wrong), 0);
}

TEST_F(WebOverFile, theRecordPageShowsThePlotTextsAndEveryVersion) {
    const std::string html = page("/record/" + m_archive.slot3.toStdString());
    // The plot drawn by the display core, as SVG the browser keeps: it never changes.
    const std::string plotPath = "/plot/" + m_archive.slot3.toStdString() + "/2.svg";
    EXPECT_NE(html.find("<img class=\"ascan\" src=\"" + plotPath + "\""), std::string::npos);
    const auto plot = get(m_server->port(), plotPath);
    ASSERT_TRUE(plot);
    EXPECT_EQ(plot->status, 200);
    EXPECT_EQ(plot->get_header_value("Content-Type"), "image/svg+xml");
    EXPECT_NE(plot->body.find("<svg"), std::string::npos);
    EXPECT_GT(QString::fromStdString(plot->body).count(QStringLiteral("<polyline")), 100);
    EXPECT_NE(plot->get_header_value("Cache-Control").find("immutable"), std::string::npos);
    // The settings and the header texts of the newest version (the header store's).
    EXPECT_NE(html.find("data-control=\"txtrange\">100"), std::string::npos);
    EXPECT_NE(html.find("data-control=\"txtgain\">45.5 dB"), std::string::npos);
    EXPECT_NE(html.find("Axle 7/123"), std::string::npos);
    EXPECT_NE(html.find("Weld &amp; seam"), std::string::npos);
    EXPECT_NE(html.find("version 2 of 2"), std::string::npos);
    // Both versions, where they came from and the file the newest was saved into.
    EXPECT_NE(html.find("tft.dat"), std::string::npos);
    EXPECT_NE(html.find("night-shift.dat"), std::string::npos);
    EXPECT_NE(html.find("?version=1\">1</a>"), std::string::npos);
    EXPECT_NE(html.find("this computer&#39;s archive"), std::string::npos);

    // The older version, as it was before the header store.
    const std::string older = page("/record/" + m_archive.slot3.toStdString() + "?version=1");
    EXPECT_NE(older.find("version 1 of 2"), std::string::npos);
    EXPECT_NE(older.find("A. Example"), std::string::npos);
    EXPECT_NE(older.find("The newest is version 2"), std::string::npos);

    // Unknown records and versions are named, not guessed at.
    page("/record/00000000-0000-4000-8000-000000000000", 404);
    page("/record/" + m_archive.slot3.toStdString() + "?version=9", 404);
    page("/record/" + m_archive.slot3.toStdString() + "?version=x", 400);
}

TEST_F(WebOverFile, theDownloadsAreTrellicapClisOwnBytes) {
    const QDir dir(m_archive.dir.path());
    const std::string uuid = m_archive.slot3.toStdString();
    const auto download = [&](const std::string& what) {
        const auto answer = get(m_server->port(), "/record/" + uuid + "/" + what);
        EXPECT_TRUE(answer && answer->status == 200) << what;
        return answer ? QByteArray::fromStdString(answer->body) : QByteArray();
    };
    const QByteArray recordFile = download("record.dat");
    const QByteArray csv = download("table.csv");
    const QByteArray json = download("data.json");
    const QByteArray pdf = download("report.pdf");

    const auto answer = get(m_server->port(), "/record/" + uuid + "/record.dat");
    ASSERT_TRUE(answer);
    const QString disposition =
        QString::fromStdString(answer->get_header_value("Content-Disposition"));
    const QString name =
        QRegularExpression(QStringLiteral("filename=\"([^\"]+)\"")).match(disposition).captured(1);
    EXPECT_EQ(name, QStringLiteral("mem3-%1-v2.dat").arg(m_archive.slot3.left(8)));

    const QString cliDat = dir.filePath(QStringLiteral("cli.dat"));
    const QString cliCsv = dir.filePath(QStringLiteral("cli.csv"));
    for (const QString& out : {cliDat, cliCsv}) {
        const CliRun run = runCli({"archive", "export", "--uuids", m_archive.slot3, "-o", out,
                                   "--archive", m_archive.path});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    EXPECT_EQ(recordFile, fileBytes(cliDat));
    EXPECT_EQ(csv, fileBytes(cliCsv));
    EXPECT_TRUE(csv.contains("Axle 7/123"));

    // The record file as the browser saves it, read by the tool.
    const QString saved = dir.filePath(name);
    {
        QFile file(saved);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(recordFile);
    }
    const CliRun cliJson = runCli({"json", saved, "--slots", "3"});
    ASSERT_EQ(cliJson.exitCode, 0) << cliJson.err.toStdString();
    EXPECT_EQ(json, cliJson.out);
    const QString cliPdf = dir.filePath(QStringLiteral("cli.pdf"));
    const CliRun pdfRun = runCli({"pdf", saved, "--vector", "--slots", "3", "-o", cliPdf});
    ASSERT_EQ(pdfRun.exitCode, 0) << pdfRun.err.toStdString();
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.size(), fileBytes(cliPdf).size());
    EXPECT_EQ(withoutPdfStamps(pdf), withoutPdfStamps(fileBytes(cliPdf)));

    // Another version by its number; an ID that is none gets no file.
    const auto older = get(m_server->port(), "/record/" + uuid + "/table.csv?version=1");
    ASSERT_TRUE(older);
    EXPECT_EQ(older->status, 200);
    EXPECT_NE(older->body.find("A. Example"), std::string::npos);
    const auto none = get(m_server->port(), "/record/not-a-uuid/record.dat");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->status, 400);
    EXPECT_FALSE(none->has_header("Content-Disposition"));
}

TEST_F(WebOverFile, picturesAreCachedByTheirVersion) {
    const std::string path = "/thumb/" + m_archive.slot7.toStdString() + "/1.png";
    const auto first = get(m_server->port(), path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->status, 200);
    EXPECT_EQ(first->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(first->body.substr(1, 3), "PNG");
    const std::string etag = first->get_header_value("ETag");
    ASSERT_FALSE(etag.empty());
    EXPECT_NE(first->get_header_value("Cache-Control").find("immutable"), std::string::npos);
    const auto again = get(m_server->port(), path, {{"If-None-Match", etag}});
    ASSERT_TRUE(again);
    EXPECT_EQ(again->status, 304);
    EXPECT_TRUE(again->body.empty());
    const auto missing =
        get(m_server->port(), "/thumb/" + m_archive.slot7.toStdString() + "/5.png");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
}

TEST_F(WebOverFile, hostileTextsRequestsAndIdsAreShownAsTextOrRefused) {
    // A script in a header field, in a record file's path, in the search text: text on the page.
    for (const std::string& path :
         {std::string("/"), "/record/" + m_archive.slot3.toStdString(),
          "/record/" + m_archive.hostile.toStdString(), std::string("/?q=%3Cscript%3Ealert(1)"),
          std::string("/?q=%22%3E%3Cscript%3Ealert(3)%3C%2Fscript%3E")}) {
        const auto answer = get(m_server->port(), path);
        ASSERT_TRUE(answer) << path;
        EXPECT_EQ(answer->body.find("<script"), std::string::npos) << path;
        EXPECT_NE(answer->get_header_value("Content-Security-Policy").find("default-src 'none'"),
                  std::string::npos);
        EXPECT_EQ(answer->get_header_value("X-Content-Type-Options"), "nosniff");
    }
    const std::string record = page("/record/" + m_archive.slot3.toStdString());
    EXPECT_NE(record.find("&lt;script&gt;alert(1)"), std::string::npos);
    EXPECT_NE(page("/record/" + m_archive.hostile.toStdString())
                  .find("&lt;script&gt;alert(2)&lt;/script&gt;"),
              std::string::npos);
    EXPECT_NE(page("/?q=hostile").find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);

    // SQL in the search text is text to look for, bound, never a statement.
    EXPECT_EQ(countLine(page("/?q=%25%27%20OR%201%3D1%20--")), "0 records found");
    EXPECT_EQ(countLine(page("/?q=%25")), "0 records found");

    // A path where a record ID belongs: refused before the archive is asked, no file read.
    for (const std::string& path :
         {std::string("/record/..%2F..%2Fetc%2Fpasswd"), std::string("/record/../../etc/passwd"),
          std::string("/record/%2E%2E%2F%2E%2E%2Fetc%2Fpasswd/record.dat"),
          std::string("/thumb/..%2F..%2Fetc%2Fpasswd/1.png"),
          std::string("/plot/..%2F..%2Fetc%2Fpasswd/1.svg"),
          std::string("/static/..%2F..%2Fetc%2Fpasswd")}) {
        const auto answer = get(m_server->port(), path);
        ASSERT_TRUE(answer) << path;
        EXPECT_TRUE(answer->status == 400 || answer->status == 404) << path << answer->status;
        EXPECT_EQ(answer->body.find("root:"), std::string::npos) << path;
    }

    // A 100 KB query string: refused, and the server answers the next request as before.
    const auto huge = get(m_server->port(), "/?q=" + std::string(100 * 1024, 'a'));
    if (huge) {
        EXPECT_EQ(huge->status, 414);
    }
    page("/");
    EXPECT_TRUE(m_server->running());
}

TEST(WebWhileKept, aRecordKeptWhileTheServerRunsIsFoundAtTheNextSearch) {
    TestArchive archive;
    ASSERT_TRUE(makeTestArchive(archive));
    WebProcess server({"--archive", archive.path, "--listen", "127.0.0.1:0"});
    ASSERT_TRUE(server.listening()) << server.error().toStdString();
    const auto before = get(server.port(), "/?size=10");
    ASSERT_TRUE(before);
    EXPECT_EQ(countLine(before->body), "5 records found");
    EXPECT_EQ(countLine(get(server.port(), "/?q=new%20arrival")->body), "0 records found");

    // Another program keeps a record meanwhile (as a window program does beside the viewer).
    RecordStore store(tft::kProfile);
    store.initMemoryTable();
    craft(
        store,
        {9, {{"txtrange", "50"}, {"txtmemno", "009"}}, "1200311224", {"New Arrival"}, 33, {0, 0}});
    const QString file = archive.dir.filePath(QStringLiteral("later.dat"));
    writeFile(store, file);
    const CliRun imported = runCli({"archive", "import", file, "--archive", archive.path});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();

    // The searches remembered before do not hide it.
    EXPECT_EQ(countLine(get(server.port(), "/?size=10")->body), "6 records found");
    EXPECT_EQ(countLine(get(server.port(), "/?q=new%20arrival")->body), "1 record found");
}

TEST(WebStart, refusesWhatItCannotServeSafely) {
    // Beyond this computer without logins: refused before anything starts.
    const WebRun open = runWeb({"--listen", "0.0.0.0:8080"});
    EXPECT_EQ(open.exitCode, 2);
    EXPECT_TRUE(open.err.contains("--users")) << open.err.toStdString();

    const WebRun missing =
        runWeb({"--archive", "/nonexistent/archive.sqlite", "--listen", "127.0.0.1:0"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("there is no archive")) << missing.err.toStdString();

    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("archive.sqlite"));
    {
        QFile file(garbage);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    const WebRun damaged = runWeb({"--archive", garbage, "--listen", "127.0.0.1:0"});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_FALSE(damaged.err.isEmpty());
    EXPECT_EQ(fileBytes(garbage), QByteArray(4096, 'x'));

    EXPECT_EQ(runWeb({"--archive", garbage, "--server", "postgresql://a@h/d"}).exitCode, 2);
    EXPECT_EQ(runWeb({"--bogus"}).exitCode, 2);
}

TEST(WebLogin, aUsersFileMakesEveryRequestLogInFirst) {
    TestArchive archive;
    ASSERT_TRUE(makeTestArchive(archive));
    const QString users = archive.dir.filePath(QStringLiteral("users"));
    const WebRun added = runWeb({"--add-user", "anna", "--users", users}, "correct horse\n");
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_EQ(QFile(users).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

    WebProcess server({"--archive", archive.path, "--listen", "127.0.0.1:0", "--users", users});
    ASSERT_TRUE(server.listening()) << server.error().toStdString();
    const std::string recordPath = "/record/" + archive.slot7.toStdString();
    const auto anonymous = get(server.port(), recordPath);
    ASSERT_TRUE(anonymous);
    EXPECT_EQ(anonymous->status, 303);
    EXPECT_EQ(anonymous->get_header_value("Location").rfind("/login?next=", 0), 0u);
    for (const std::string& path :
         {std::string("/"), "/thumb/" + archive.slot7.toStdString() + "/1.png",
          recordPath + "/record.dat"}) {
        const auto refused = get(server.port(), path);
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->status, 303) << path;
        EXPECT_EQ(refused->body.find(archive.slot7.toStdString()), std::string::npos);
    }

    httplib::Client client("127.0.0.1", server.port());
    const auto wrong = client.Post("/login", "user=anna&password=wrong+horse&next=%2F",
                                   "application/x-www-form-urlencoded");
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->status, 401);
    EXPECT_FALSE(wrong->has_header("Set-Cookie"));
    EXPECT_NE(wrong->body.find("The user name or the password is wrong."), std::string::npos);
    const auto stranger = client.Post("/login", "user=bob&password=correct+horse",
                                      "application/x-www-form-urlencoded");
    ASSERT_TRUE(stranger);
    EXPECT_EQ(stranger->status, 401);

    const auto right =
        client.Post("/login",
                    "user=anna&password=correct+horse&next=" +
                        QUrl::toPercentEncoding(QString::fromStdString(recordPath)).toStdString(),
                    "application/x-www-form-urlencoded");
    ASSERT_TRUE(right);
    EXPECT_EQ(right->status, 303);
    EXPECT_EQ(right->get_header_value("Location"), recordPath);
    const std::string cookie = right->get_header_value("Set-Cookie");
    EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
    EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos);
    const std::string session = cookie.substr(0, cookie.find(';'));
    const auto inside = get(server.port(), recordPath, {{"Cookie", session}});
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->status, 200);
    EXPECT_NE(inside->body.find("<img class=\"ascan\""), std::string::npos);
    EXPECT_NE(inside->body.find("anna"), std::string::npos);

    // A login from another site's page may not go anywhere but here.
    const auto away =
        client.Post("/login", "user=anna&password=correct+horse&next=%2F%2Fevil.example",
                    "application/x-www-form-urlencoded");
    ASSERT_TRUE(away);
    EXPECT_EQ(away->get_header_value("Location"), "/");

    const auto out =
        client.Post("/logout", {{"Cookie", session}}, "", "application/x-www-form-urlencoded");
    ASSERT_TRUE(out);
    EXPECT_EQ(out->status, 303);
    const auto after = get(server.port(), recordPath, {{"Cookie", session}});
    ASSERT_TRUE(after);
    EXPECT_EQ(after->status, 303);

    // Beyond loopback with the users file: allowed (the address is this computer's own).
    WebProcess everywhere({"--archive", archive.path, "--listen", "0.0.0.0:0", "--users", users});
    EXPECT_TRUE(everywhere.listening()) << everywhere.error().toStdString();
}

TEST(WebLimits, aClientAskingTooFastIsToldToWait) {
    TestArchive archive;
    ASSERT_TRUE(makeTestArchive(archive));
    WebProcess server({"--archive", archive.path, "--listen", "127.0.0.1:0", "--rate-limit", "2"});
    ASSERT_TRUE(server.listening()) << server.error().toStdString();
    int refused = 0;
    httplib::Client client("127.0.0.1", server.port());
    for (int i = 0; i < 20; ++i) {
        const auto answer = client.Get("/static/style.css");
        ASSERT_TRUE(answer);
        if (answer->status == 429) {
            ++refused;
            EXPECT_FALSE(answer->get_header_value("Retry-After").empty());
        }
    }
    // A burst of three seconds' worth passes (and what the rate adds meanwhile), the rest
    // waits.
    EXPECT_GE(refused, 10);
    EXPECT_LE(refused, 14);
}

}  // namespace
}  // namespace trellicap::testing
