// The main window and the team server: no status field without archive.conf; with one, the
// field tells the sync's state, and Archive > Team server... opens its window.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTimer>

#include "archive/archive_schema.h"
#include "archive/archive_sync.h"
#include "archive/server_conf.h"
#include "archive/server_connection.h"
#include "archive/ui/frmteamserver.h"
#include "archive_filler.h"
#include "profiles/tft.h"
#include "shell/archive/archive_hooks.h"
#include "shell/archive/archive_results_model.h"
#include "shell/archive/frmarchive.h"
#include "shell/main/frmmain.h"
#include "support/fake_serial_port.h"
#include "support/pg_cluster.h"
#include "support/wait.h"

namespace trellicap {
namespace {

using testing::FakeSerialPort;
using testing::PgCluster;
using testing::waitUntil;

class TeamServerInWindow : public ::testing::Test {
protected:
    void start() {
        QFile config(m_dir.filePath(QStringLiteral("udc.cfg")));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write("/dev/ttyFAKE0\r\n");
        config.close();
        frmmain::Options options;
        options.workingDir = m_dir.path();
        options.messenger = [](QWidget*, const UserMessage&) {};
        w = std::make_unique<frmmain>(tft::kProfile, std::make_unique<FakeSerialPort>(), options);
        w->startUp();
    }
    QLabel* field() { return w->findChild<QLabel*>(QStringLiteral("lblteamsync")); }

    QTemporaryDir m_dir;
    std::unique_ptr<frmmain> w;
};

TEST_F(TeamServerInWindow, WithoutAServerTheFieldStaysHiddenAndTheArchiveMenuOffersIt) {
    start();
    ASSERT_NE(field(), nullptr);
    EXPECT_FALSE(field()->isVisible());
    // The entry sits in the archive's menu.
    auto* archiveMenu = w->findChild<QMenu*>(QStringLiteral("mnuarchive"));
    ASSERT_NE(archiveMenu, nullptr);
    EXPECT_EQ(archiveMenu->title(), QStringLiteral("Archive"));
    EXPECT_EQ(w->findChildren<QMenu*>(QStringLiteral("mnuarchive")).size(), 1);
    EXPECT_EQ(archiveMenu->actions().back()->objectName(), QStringLiteral("mnuteamserver"));

    auto* entry = w->findChild<QAction*>(QStringLiteral("mnuteamserver"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QStringLiteral("Team server..."));
    entry->trigger();
    auto* window = w->findChild<archive::frmteamserver*>(QStringLiteral("frmteamserver"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(TeamServerInWindow, TheStatusBarTellsTheSyncAndANewAddressTakesEffectOnOk) {
    PgCluster cluster;
    if (!PgCluster::unavailableReason().isEmpty()) {
        GTEST_SKIP() << PgCluster::unavailableReason().toStdString();
    }
    ASSERT_TRUE(cluster.start()) << cluster.error().toStdString();
    {
        // An archive as the window keeps it, empty.
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(m_dir.filePath(QStringLiteral("archive.sqlite")));
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(archive::migrateSchema(db).ok);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
    start();
    EXPECT_FALSE(field()->isVisible());

    // The address set in the window: Ok writes it and the sync starts at once.
    w->findChild<QAction*>(QStringLiteral("mnuteamserver"))->trigger();
    auto* window = w->findChild<archive::frmteamserver*>(QStringLiteral("frmteamserver"));
    ASSERT_NE(window, nullptr);
    window->findChild<QLineEdit*>(QStringLiteral("txtserverurl"))->setText(cluster.url());
    window->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
    EXPECT_EQ(archive::readServerConf(m_dir.path()).url, cluster.url());
    ASSERT_TRUE(waitUntil(
        [&] { return field()->text().startsWith(QStringLiteral("Team server: last sync")); },
        60000))
        << field()->text().toStdString();
    EXPECT_TRUE(field()->isVisible());
    EXPECT_TRUE(field()->text().endsWith(QStringLiteral(", 0 waiting")))
        << field()->text().toStdString();

    // A server that is gone: the field says so, the pointer on it shows the reason.
    ASSERT_TRUE(cluster.stopServer());
    w->findChild<QAction*>(QStringLiteral("mnuteamserver"))->trigger();
    window = w->findChild<archive::frmteamserver*>(QStringLiteral("frmteamserver"));
    ASSERT_NE(window, nullptr);
    window->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
    ASSERT_TRUE(
        waitUntil([&] { return field()->text().contains(QStringLiteral("not reached")); }, 60000))
        << field()->text().toStdString();
    EXPECT_TRUE(field()->toolTip().contains(QStringLiteral("refused"), Qt::CaseInsensitive))
        << field()->toolTip().toStdString();
}

}  // namespace
}  // namespace trellicap

namespace trellicap {
namespace {

TEST_F(TeamServerInWindow, TheArchiveWindowSearchesThisComputerOrTheTeamServer) {
    PgCluster cluster;
    if (!PgCluster::unavailableReason().isEmpty()) {
        GTEST_SKIP() << PgCluster::unavailableReason().toStdString();
    }
    ASSERT_TRUE(cluster.start()) << cluster.error().toStdString();
    start();  // no server yet: the window's archive, empty
    w->archive().openSearchWindow();
    frmarchive* window = w->archive().searchWindow();
    ASSERT_NE(window, nullptr);
    auto* scope = window->findChild<QComboBox*>(QStringLiteral("cboscope"));
    auto* count = window->findChild<QLabel*>(QStringLiteral("lblcount"));
    ASSERT_TRUE(scope && count);
    EXPECT_EQ(scope->itemText(0), QStringLiteral("This computer"));
    EXPECT_EQ(scope->itemText(1), QStringLiteral("Team server"));
    ASSERT_TRUE(waitUntil([&] { return count->text() == QStringLiteral("0 records"); }, 30000))
        << count->text().toStdString();
    delete window;

    // Another laptop's 12 records on the server; this folder names it.
    {
        QTemporaryDir other;
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(other.filePath(QStringLiteral("archive.sqlite")));
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(archive::migrateSchema(db).ok);
        ASSERT_EQ(archive::test::ArchiveFiller(db).addRecords(12).size(), 12u);
        archive::ServerConnection server(
            {cluster.superuser(), cluster.host(), cluster.port(), cluster.database()});
        ASSERT_TRUE(server.open());
        QSqlDatabase serverDb = server.database();
        ASSERT_TRUE(archive::syncArchive(db, serverDb, {other.path(), cluster.url()}).ok);
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }
    ASSERT_TRUE(archive::writeServerConf(m_dir.path(), cluster.url()).isEmpty());
    w->archive().openSearchWindow();
    window = w->archive().searchWindow();
    ASSERT_NE(window, nullptr);
    scope = window->findChild<QComboBox*>(QStringLiteral("cboscope"));
    count = window->findChild<QLabel*>(QStringLiteral("lblcount"));
    auto* fellBack = window->findChild<QLabel*>(QStringLiteral("lblscope"));
    ASSERT_TRUE(scope && count && fellBack);

    // How long the window's thread is ever kept from its events, from here to the end.
    QElapsedTimer sinceTick;
    qint64 longestBlock = 0;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longestBlock = std::max(longestBlock, sinceTick.restart()); });
    sinceTick.start();
    tick.start();

    scope->setCurrentIndex(1);
    ASSERT_TRUE(waitUntil([&] { return count->text() == QStringLiteral("12 records"); }, 30000))
        << count->text().toStdString();
    ASSERT_TRUE(window->settle());
    EXPECT_EQ(window->results().rowCount(), 12);
    // Who sent each: the laptop and the inspector.
    const int columns = window->results().columnCount();
    EXPECT_EQ(window->results().headerData(columns - 2, Qt::Horizontal, Qt::DisplayRole),
              QStringLiteral("Sent from"));
    EXPECT_EQ(window->results().headerData(columns - 1, Qt::Horizontal, Qt::DisplayRole),
              QStringLiteral("Inspector"));
    scope->setCurrentIndex(0);
    ASSERT_TRUE(waitUntil([&] { return count->text() == QStringLiteral("0 records"); }, 30000))
        << count->text().toStdString();

    // The server stops while the team scope is shown: the next search falls back to this
    // computer and says so in one line, the server's words on the pointer.
    scope->setCurrentIndex(1);
    ASSERT_TRUE(waitUntil([&] { return count->text() == QStringLiteral("12 records"); }, 30000));
    ASSERT_TRUE(cluster.stopServer());
    sinceTick.restart();  // the test's own wait for the server to stop is not the window's
    window->runSearch();
    ASSERT_TRUE(waitUntil([&] { return scope->currentIndex() == 0; }, 30000));
    EXPECT_FALSE(fellBack->isHidden());
    EXPECT_EQ(fellBack->text(),
              QStringLiteral("The team server did not answer: showing this computer"));
    EXPECT_FALSE(fellBack->toolTip().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return count->text() == QStringLiteral("0 records"); }, 30000))
        << count->text().toStdString();

    // Back again: the team scope works without a restart.
    ASSERT_TRUE(cluster.startServer());
    sinceTick.restart();
    scope->setCurrentIndex(1);
    ASSERT_TRUE(waitUntil([&] { return count->text() == QStringLiteral("12 records"); }, 30000))
        << count->text().toStdString();
    EXPECT_TRUE(fellBack->isHidden());
    tick.stop();
    EXPECT_LT(longestBlock, 200) << "the window's thread was kept from its events";
}

}  // namespace
}  // namespace trellicap
