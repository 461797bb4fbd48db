// Two laptops (two working folders, each with its own simulated instrument) capture, their
// window programs sync to one team server on their own, and a search on the server finds
// the records of both.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "archive/archive_search.h"
#include "archive/server_conf.h"
#include "archive/server_connection.h"
#include "link/instrument_link.h"
#include "link/qt_serial_port.h"
#include "profiles/tft.h"
#include "shell/main/frmmain.h"
#include "support/pg_cluster.h"
#include "support/sim_process.h"
#include "support/wait.h"

using namespace trellicap;
using trellicap::testing::PgCluster;
using trellicap::testing::SimProcess;
using trellicap::testing::waitUntil;

namespace {

class Laptop {
public:
    // A working folder with the simulator's pty in udc.cfg and the server in archive.conf.
    bool start(const QString& serverUrl) {
        if (!m_sim.start(
                {QStringLiteral("--model"), QStringLiteral("tft"), QStringLiteral("--fast")})) {
            return false;
        }
        QFile cfg(m_dir.filePath(QStringLiteral("udc.cfg")));
        if (!cfg.open(QIODevice::WriteOnly)) {
            return false;
        }
        cfg.write(m_sim.pty().toLocal8Bit() + "\r\n");
        cfg.close();
        if (!archive::writeServerConf(m_dir.path(), serverUrl).isEmpty()) {
            return false;
        }
        frmmain::Options options;
        options.workingDir = m_dir.path();
        options.waitTimerMs = 400;
        options.frameByteTimeoutMs = 300;
        options.messenger = [](QWidget*, const UserMessage&) {};
        window =
            std::make_unique<frmmain>(tft::kProfile, std::make_unique<QtSerialPort>(), options);
        window->startUp();
        return window->session().port().isOpen();
    }

    // Captures the slots through the window's own controls; true when the batch ended.
    bool capture(std::initializer_list<int> wanted) {
        QSignalSpy finished(&window->session().link(), &InstrumentLink::batchFinished);
        for (int slot : wanted) {
            window->slotList()->item(slot - 1)->setSelected(true);
        }
        window->findChild<QPushButton*>(QStringLiteral("cmdcapture"))->click();
        return finished.wait(20000);
    }

    [[nodiscard]] QString teamField() const {
        return window->findChild<QLabel*>(QStringLiteral("lblteamsync"))->text();
    }

    std::unique_ptr<frmmain> window;

private:
    SimProcess m_sim;
    QTemporaryDir m_dir;
};

TEST(TeamArchiveSystem, TwoLaptopsCaptureSyncOnTheirOwnAndTheServerFindsBoth) {
    if (SimProcess::executable().isEmpty()) {
        GTEST_SKIP() << "the instrument simulator is not built";
    }
    if (!PgCluster::unavailableReason().isEmpty()) {
        GTEST_SKIP() << PgCluster::unavailableReason().toStdString();
    }
    PgCluster cluster;
    ASSERT_TRUE(cluster.start()) << cluster.error().toStdString();
    Laptop north;
    Laptop south;
    ASSERT_TRUE(north.start(cluster.url()));
    ASSERT_TRUE(south.start(cluster.url()));

    ASSERT_TRUE(north.capture({3, 5}));
    ASSERT_TRUE(south.capture({3, 8, 9}));
    // Each window sends its batch by itself (the start-up sync, before the captures, found
    // nothing to send); then the status bar says that nothing waits.
    archive::ServerConnection server(
        {cluster.superuser(), cluster.host(), cluster.port(), cluster.database()});
    ASSERT_TRUE(server.open()) << server.error().toStdString();
    QSqlDatabase db = server.database();
    const auto onServer = [&db] {
        QSqlQuery count(db);
        return count.exec(QStringLiteral("SELECT COUNT(*) FROM record_versions")) && count.next()
                   ? count.value(0).toInt()
                   : -1;
    };
    ASSERT_TRUE(waitUntil([&] { return onServer() == 5; }, 60000)) << onServer();
    for (Laptop* laptop : {&north, &south}) {
        ASSERT_TRUE(waitUntil(
            [&] {
                return laptop->teamField().startsWith(QStringLiteral("Team server: last sync")) &&
                       laptop->teamField().endsWith(QStringLiteral(", 0 waiting"));
            },
            60000))
            << laptop->teamField().toStdString();
    }

    QString error;
    const auto all = archive::searchArchive(db, {}, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(all.size(), 5u);
    archive::SearchFilter slot3;
    slot3.slot = 3;
    const auto both = archive::searchArchive(db, slot3, &error);
    ASSERT_EQ(both.size(), 2u);  // the same slot from two laptops: two records
    EXPECT_NE(both[0].uuid, both[1].uuid);
    QSqlQuery laptops(db);
    ASSERT_TRUE(laptops.exec(QStringLiteral("SELECT COUNT(DISTINCT laptop_uuid) FROM sent_from")) &&
                laptops.next());
    EXPECT_EQ(laptops.value(0).toInt(), 2);
}

}  // namespace
