// A real browser (Debian's chromium, headless, driven by browser_check.py through
// chromedriver) searches, opens a record and finds its SVG plot and header texts; the
// screenshot it takes stays in the build folder (tests/web/browser-record.png).
#include <gtest/gtest.h>

#include <QProcess>

#include "web_fixture.h"

namespace trellicap::testing {
namespace {

TEST(WebInABrowser, searchesOpensARecordAndSeesItsPlotAndHeader) {
    TestArchive archive;
    ASSERT_TRUE(makeTestArchive(archive));
    WebProcess server({"--archive", archive.path, "--listen", "127.0.0.1:0"});
    ASSERT_TRUE(server.listening()) << server.error().toStdString();
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral(TRELLICAP_BROWSER_CHECK), server.base(), QStringLiteral("axle 7"),
                 QStringLiteral("Weld & seam"), QStringLiteral(TRELLICAP_BROWSER_SCREENSHOT)});
    ASSERT_TRUE(check.waitForStarted(10000)) << "no /usr/bin/python3";
    ASSERT_TRUE(check.waitForFinished(110000));
    const QByteArray said = check.readAll();
    if (check.exitCode() == 77) {
        GTEST_SKIP() << said.trimmed().toStdString();
    }
    EXPECT_EQ(check.exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(QFile::exists(QStringLiteral(TRELLICAP_BROWSER_SCREENSHOT)));
}

}  // namespace
}  // namespace trellicap::testing
