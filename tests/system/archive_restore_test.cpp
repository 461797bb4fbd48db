// The program killed with SIGKILL in the middle of a batch and started again: every slot
// filed before the kill is offered, and Restore gives it back value for value.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <csignal>
#include <map>

#include "archive/archive_keeper.h"
#include "archive/archive_search.h"
#include "archive/record_codes.h"
#include "link/qt_serial_port.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "shell/archive/archive_hooks.h"
#include "shell/archive/frmrestore.h"
#include "shell/main/frmmain.h"
#include "support/sim_process.h"
#include "support/wait.h"

using namespace trellicap;
using trellicap::testing::SimProcess;
using trellicap::testing::waitUntil;

namespace {

constexpr int kSlotsBeforeKill = 3;

class ArchiveRestoreTest : public ::testing::TestWithParam<const ModelProfile*> {
protected:
    void SetUp() override {
        if (SimProcess::executable().isEmpty()) {
            GTEST_SKIP() << "the instrument simulator is not built";
        }
    }

    QString key() const { return QString::fromLatin1(GetParam()->modelKey.data()); }

    bool pointUdcCfgAt(const SimProcess& sim) {
        QFile cfg(m_dir.filePath(QStringLiteral("udc.cfg")));
        if (!cfg.open(QIODevice::WriteOnly)) {
            return false;
        }
        cfg.write(sim.pty().toLocal8Bit() + "\r\n");
        return true;
    }

    QTemporaryDir m_dir;
};

TEST_P(ArchiveRestoreTest, ABatchKilledMidwayIsOfferedAndRestoredValueForValue) {
    const ModelProfile& profile = *GetParam();
    std::map<int, QByteArray> filed;  // slot -> encoded column, as the killed program had it
    {
        SimProcess paced;  // 9600 baud: a slot takes about a second, room to kill between
        ASSERT_TRUE(paced.start({QStringLiteral("--model"), key()})) << paced.error().toStdString();
        ASSERT_TRUE(pointUdcCfgAt(paced));
        QProcess victim;
        victim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        victim.start(QStringLiteral(ARCHIVE_VICTIM), {key(), m_dir.path()});
        ASSERT_TRUE(victim.waitForStarted(10000));
        QByteArray pending;
        while (static_cast<int>(filed.size()) < kSlotsBeforeKill) {
            ASSERT_TRUE(victim.waitForReadyRead(60000)) << "no slot filed";
            pending += victim.readAllStandardOutput();
            while (pending.contains('\n')) {
                const qsizetype end = pending.indexOf('\n');
                const QList<QByteArray> parts = pending.left(end).split(' ');
                pending.remove(0, end + 1);
                if (parts.size() == 3 && parts[0] == "filed") {
                    filed[parts[1].toInt()] = QByteArray::fromHex(parts[2]);
                }
            }
        }
        ::kill(static_cast<pid_t>(victim.processId()), SIGKILL);
        ASSERT_TRUE(victim.waitForFinished(10000));
        EXPECT_EQ(victim.exitStatus(), QProcess::CrashExit);
    }

    SimProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--model"), key(), QStringLiteral("--fast")}));
    ASSERT_TRUE(pointUdcCfgAt(sim));
    frmmain::Options options;
    options.workingDir = m_dir.path();
    std::vector<UserMessage> messages;
    options.messenger = [&messages](QWidget*, const UserMessage& m) { messages.push_back(m); };
    frmmain window(profile, std::make_unique<QtSerialPort>(), options);
    window.startUp();
    // The archive opens once the window has painted: the offer comes then.
    ASSERT_TRUE(waitUntil([&] { return window.archive().restoreNotice() != nullptr; }, 10000));
    ASSERT_GE(window.archive().keeper().restoreOffer().items.size(), filed.size());
    frmrestore* notice = window.archive().restoreNotice();
    const auto* text = notice->findChild<QLabel*>(QStringLiteral("lblrestore"));
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->text().contains(QLatin1String("captured on"))) << text->text().toStdString();
    EXPECT_TRUE(text->text().endsWith(QLatin1String("not saved to a record file.")));
    // Nothing was filed before the operator chose.
    EXPECT_EQ(window.slotList()->item(0)->text(), QStringLiteral("Mem 1"));

    notice->findChild<QPushButton*>(QStringLiteral("cmdrestore"))->click();
    for (const auto& [slot, encoded] : filed) {
        EXPECT_EQ(archive::encodeRecord(window.session().store().column(slot - 1)), encoded)
            << "slot " << slot;
        EXPECT_EQ(window.slotList()->item(slot - 1)->text(), QStringLiteral("Mem %1 *").arg(slot));
    }
    const auto* unsaved = window.findChild<QLabel*>(QStringLiteral("lblunsaved"));
    ASSERT_TRUE(unsaved);
    EXPECT_EQ(unsaved->text(), QStringLiteral("unsaved changes"));
    EXPECT_TRUE(messages.empty());
}

TEST_P(ArchiveRestoreTest, ACleanEndOffersNothingAtTheNextStart) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--model"), key(), QStringLiteral("--fast")}));
    ASSERT_TRUE(pointUdcCfgAt(sim));
    frmmain::Options options;
    options.workingDir = m_dir.path();
    options.messenger = [](QWidget*, const UserMessage&) {};
    options.asker = [](QWidget*, const UserQuestion&) { return Answer::Discard; };
    bool ended = false;
    options.endProgram = [&ended] { ended = true; };
    {
        frmmain window(*GetParam(), std::make_unique<QtSerialPort>(), options);
        window.startUp();
        ASSERT_TRUE(sim.commandAcknowledged("send 12"));
        ASSERT_TRUE(waitUntil(
            [&] { return window.slotList()->item(11)->text() == QStringLiteral("Mem 12 *"); },
            8000));
        // The frame the operator sent is kept as it reached the table.
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("read"));
        db.setDatabaseName(window.archive().archivePath());
        ASSERT_TRUE(db.open());
        QString error;
        const auto found = archive::searchArchive(db, {}, &error);
        ASSERT_EQ(found.size(), 1u) << error.toStdString();
        EXPECT_EQ(found[0].source, QStringLiteral("unsolicited"));
        EXPECT_EQ(found[0].slot, 12);
        EXPECT_EQ(archive::keptValues(db, found[0].uuid, 1, GetParam()->recordSize()),
                  std::vector<RecordValue>(window.session().store().column(11).begin(),
                                           window.session().store().column(11).end()));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("read"));
        // File > Exit, and the operator discards the frame: a clean end.
        window.requestExit();
        ASSERT_TRUE(ended);
    }
    frmmain again(*GetParam(), std::make_unique<QtSerialPort>(), options);
    again.startUp();
    QTest::qWait(200);
    EXPECT_EQ(again.archive().restoreNotice(), nullptr);
    EXPECT_TRUE(again.archive().keeper().restoreOffer().empty());
}

INSTANTIATE_TEST_SUITE_P(Models, ArchiveRestoreTest,
                         ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
