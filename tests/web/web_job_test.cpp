// The job pages of trellicap-web over a real archive file: a job kept by trellicap-cli is
// listed, shown as its report gives it (its texts escaped), its report downloaded as the tool
// writes it, and its records found by the search's job and result fields.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "cli_fixture.h"
#include "web_fixture.h"

namespace trellicap::testing {
namespace {

QString countOf(const std::string& html) {
    return QRegularExpression(QStringLiteral("id=\"count\">([^<]*)<"))
        .match(QString::fromStdString(html))
        .captured(1);
}

TEST(WebJobs, aJobIsListedShownDownloadedAndFindsItsRecords) {
    samePdfObjectOrder();
    TestArchive archive;
    ASSERT_TRUE(makeTestArchive(archive));
    const QDir dir(archive.dir.path());
    const QString jobFile = dir.filePath(QStringLiteral("job.json"));
    {
        QFile file(jobFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"({"client": "<b>ACME</b> Steel", "order": "4711", "object": "W-12",
                       "evaluation": {"recording_level_db": -14, "acceptance_level_db": -6}})");
    }
    const CliRun made = runCli({"job", "new", "--from", jobFile, "--archive", archive.path,
                                "--model", "tft", "--by", "Tester"});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QString id = QString::fromUtf8(made.out).trimmed();
    ASSERT_EQ(id.size(), 36) << made.out.toStdString();
    const CliRun added = runCli(
        {"job", "add", id, "--uuids", archive.slot3, "--archive", archive.path, "--by", "Tester"});
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();

    WebProcess server({"--archive", archive.path, "--listen", "127.0.0.1:0"});
    ASSERT_TRUE(server.listening()) << server.error().toStdString();
    const auto page = [&](const std::string& path, int status) {
        const auto answer = get(server.port(), path);
        EXPECT_TRUE(answer) << path;
        EXPECT_EQ(answer ? answer->status : 0, status) << path;
        return answer ? answer->body : std::string();
    };

    const std::string list = page("/jobs", 200);
    EXPECT_NE(list.find("href=\"/job/" + id.toStdString() + "\""), std::string::npos);
    EXPECT_NE(list.find("&lt;b&gt;ACME&lt;/b&gt; Steel"), std::string::npos);
    EXPECT_EQ(list.find("<b>ACME"), std::string::npos);

    const std::string shown = page("/job/" + id.toStdString(), 200);
    EXPECT_NE(shown.find("4711"), std::string::npos);
    EXPECT_NE(shown.find("W-12"), std::string::npos);
    EXPECT_NE(shown.find("Indications"), std::string::npos);
    EXPECT_NE(shown.find("is a draft"), std::string::npos);  // no inspector, no procedure...
    EXPECT_NE(shown.find("/job/" + id.toStdString() + "/report.pdf"), std::string::npos);
    EXPECT_EQ(shown.find("<b>ACME"), std::string::npos);

    const auto report = get(server.port(), "/job/" + id.toStdString() + "/report.pdf");
    ASSERT_TRUE(report);
    EXPECT_EQ(report->status, 200);
    const QString cliPdf = dir.filePath(QStringLiteral("job.pdf"));
    const CliRun written =
        runCli({"job", "report", id, "-o", cliPdf, "--draft", "--archive", archive.path});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    const QByteArray pdf = QByteArray::fromStdString(report->body);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(withoutPdfStamps(pdf), withoutPdfStamps(fileBytes(cliPdf)));

    // The job's records by its order, client or object, and by their result there.
    EXPECT_EQ(countOf(page("/?job=4711", 200)), QStringLiteral("1 record found"));
    EXPECT_EQ(countOf(page("/?job=acme", 200)), QStringLiteral("1 record found"));
    EXPECT_EQ(countOf(page("/?job=W-13", 200)), QStringLiteral("0 records found"));
    const std::string byResult = page("/?result=reject", 200);
    EXPECT_NE(byResult.find("<option value=\"reject\" selected>"), std::string::npos);
    page("/?result=%3Cscript%3E", 400);

    // Anything but a kept job's UUID is refused or not found.
    page("/job/not-a-uuid", 400);
    page("/job/00000000-0000-4000-8000-000000000000", 404);
    page("/job/00000000-0000-4000-8000-000000000000/report.pdf", 404);
    EXPECT_EQ(server.stop(), 0);
}

}  // namespace
}  // namespace trellicap::testing
