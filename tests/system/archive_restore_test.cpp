// The program killed with SIGKILL in the middle of a batch and started again: every slot
// filed before the kill is offered, and Restore gives it back value for value, with the
// record file the run had open read again (or, changed since, its records from the archive).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
#include "storage/record_file_reader.h"
#include "storage/record_file_writer.h"
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

    // Starts the victim in `folder` (with `file` open, when given) and kills it once
    // `count` slots are filed; what it filed, slot -> encoded column.
    std::map<int, QByteArray> killMidBatch(const QString& folder, int count,
                                           const QString& file = {}) {
        std::map<int, QByteArray> filed;
        SimProcess paced;  // 9600 baud: a slot takes about a second, room to kill between
        if (!paced.start({QStringLiteral("--model"), key()}) || !pointUdcCfgAt(paced)) {
            ADD_FAILURE() << "no simulator";
            return filed;
        }
        QProcess victim;
        victim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{key(), folder};
        if (!file.isEmpty()) {
            arguments << file;
        }
        victim.start(QStringLiteral(ARCHIVE_VICTIM), arguments);
        if (!victim.waitForStarted(10000)) {
            ADD_FAILURE() << "the victim did not start";
            return filed;
        }
        QByteArray pending;
        while (static_cast<int>(filed.size()) < count) {
            if (!victim.waitForReadyRead(60000)) {
                ADD_FAILURE() << "no slot filed";
                break;
            }
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
        victim.waitForFinished(10000);
        return filed;
    }

    QTemporaryDir m_dir;
};

// A record file holding records in slots 3 and 150.
QByteArray shiftFile(const ModelProfile& profile) {
    RecordStore store(profile);
    store.initMemoryTable();
    for (const int column : {2, 149}) {
        auto values = store.column(column);
        for (int i = 0; i < 251; ++i) {
            values[static_cast<std::size_t>(i)] = static_cast<RecordValue>((i * 7 + column) % 90);
        }
        const QByteArray digits = QByteArray::number(column + 1).rightJustified(3, '0');
        for (int i = 0; i < 3; ++i) {
            values[static_cast<std::size_t>(kMemoryNumberFirst + i)] = digits[i];
        }
    }
    return writeRecordFile(store);
}

// The table a record file holds, read as trellicap-cli reads one.
std::unique_ptr<RecordStore> tableOf(const ModelProfile& profile, const QByteArray& bytes) {
    auto store = std::make_unique<RecordStore>(profile);
    store->initMemoryTable();
    EXPECT_EQ(readRecordFile(bytes, *store).stop, LoadResult::Stop::Complete);
    return store;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_P(ArchiveRestoreTest, ABatchKilledMidwayIsOfferedAndRestoredValueForValue) {
    const ModelProfile& profile = *GetParam();
    // slot -> encoded column, as the killed program had it
    const std::map<int, QByteArray> filed = killMidBatch(m_dir.path(), kSlotsBeforeKill);
    ASSERT_EQ(static_cast<int>(filed.size()), kSlotsBeforeKill);

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

TEST_P(ArchiveRestoreTest, TheOpenRecordFileComesBackWholeOrFromTheArchiveWhenChanged) {
    const ModelProfile& profile = *GetParam();
    const QString shift = QDir(m_dir.path()).absoluteFilePath(QStringLiteral("shift.dat"));
    const QByteArray original = shiftFile(profile);
    {
        QFile file(shift);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(original);
    }
    const std::map<int, QByteArray> filed = killMidBatch(m_dir.path(), 2, shift);
    ASSERT_EQ(filed.size(), 2u);
    ASSERT_FALSE(filed.contains(3));
    // The same crash for a second start, after the file was changed.
    QTemporaryDir later;
    for (const char* part : {"archive.sqlite", "archive.sqlite-wal"}) {
        QFile::copy(m_dir.filePath(QString::fromLatin1(part)),
                    later.filePath(QString::fromLatin1(part)));
    }

    SimProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--model"), key(), QStringLiteral("--fast")}));
    const auto startIn = [&](const QString& folder, std::vector<UserMessage>& messages) {
        QFile cfg(QDir(folder).filePath(QStringLiteral("udc.cfg")));
        EXPECT_TRUE(cfg.open(QIODevice::WriteOnly));
        cfg.write(sim.pty().toLocal8Bit() + "\r\n");
        cfg.close();
        frmmain::Options options;
        options.workingDir = folder;
        options.messenger = [&messages](QWidget*, const UserMessage& m) { messages.push_back(m); };
        auto window = std::make_unique<frmmain>(profile, std::make_unique<QtSerialPort>(), options);
        window->startUp();
        EXPECT_TRUE(waitUntil([&] { return window->archive().restoreNotice() != nullptr; }, 10000));
        return window;
    };
    const auto holds = [&](frmmain& window, int slot, const RecordStore& from) {
        const auto have = window.session().store().column(slot - 1);
        const auto want = from.column(slot - 1);
        return std::equal(want.begin(), want.end(), have.begin());
    };
    const auto original_ = tableOf(profile, original);
    {
        std::vector<UserMessage> messages;
        auto window = startIn(m_dir.path(), messages);
        window->archive().restore();
        // The file as it is on the disk, its name in the title, the unsaved slots on top.
        EXPECT_EQ(window->session().currentFile(), shift);
        EXPECT_TRUE(window->windowTitle().contains(QLatin1String("shift.dat")))
            << window->windowTitle().toStdString();
        EXPECT_TRUE(holds(*window, 3, *original_));
        EXPECT_TRUE(holds(*window, 150, *original_));
        for (const auto& [slot, encoded] : filed) {
            EXPECT_EQ(archive::encodeRecord(window->session().store().column(slot - 1)), encoded);
        }
        EXPECT_TRUE(messages.empty());
        // Saved over the file: its own slots as they were, the restored ones beside them.
        ASSERT_TRUE(window->saveToFile(shift));
        const auto saved = tableOf(profile, bytesOf(shift));
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const auto have = saved->column(slot - 1);
            if (filed.contains(slot)) {
                EXPECT_EQ(archive::encodeRecord(have), filed.at(slot)) << "slot " << slot;
            } else {
                const auto want = original_->column(slot - 1);
                EXPECT_TRUE(std::equal(want.begin() + profile.fileRows.first,
                                       want.begin() + profile.fileRows.last + 1,
                                       have.begin() + profile.fileRows.first))
                    << "slot " << slot;
            }
        }
    }
    {
        // The save changed the file: the second start restores its records from the archive
        // into an untitled table, and says why.
        std::vector<UserMessage> messages;
        auto window = startIn(later.path(), messages);
        window->archive().restore();
        EXPECT_TRUE(window->session().currentFile().isEmpty());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].informative.contains(QLatin1String("was changed since")))
            << messages[0].informative.toStdString();
        EXPECT_TRUE(holds(*window, 3, *original_));
        EXPECT_TRUE(holds(*window, 150, *original_));
        for (const auto& [slot, encoded] : filed) {
            EXPECT_EQ(archive::encodeRecord(window->session().store().column(slot - 1)), encoded);
        }
    }
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
