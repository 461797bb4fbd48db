// capture against the instrument simulator on a pty: both models filed as the simulator
// generates them, a slot that never answers, SIGINT in the middle of a batch, a port that
// goes away, a port that cannot be opened, and --wait-for-device for a port that appears
// later and for an adapter unplugged within the batch.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QTemporaryDir>

#include "cli/slot_list.h"
#include "cli_fixture.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "storage/record_file_io.h"
#include "support/sim_process.h"

namespace trellicap {
namespace {

using testing::SimProcess;

// The tool running a capture, its progress read line by line as it comes.
class Capture {
public:
    explicit Capture(const QStringList& arguments) {
        m_process.setReadChannel(QProcess::StandardError);  // progress comes on stderr
        m_process.start(QStringLiteral(TRELLICAP_CLI_PATH), QStringList{"capture"} + arguments);
    }
    // Waits for a progress line; false when it does not come within the time.
    bool waitForLine(const QString& line, int timeoutMs = 10000) {
        while (!m_lines.contains(line)) {
            if (!m_process.waitForReadyRead(timeoutMs)) {
                return false;
            }
            collect();
        }
        return true;
    }
    void signal(int number) { ::kill(static_cast<pid_t>(m_process.processId()), number); }
    // The exit status once the tool has ended; -1 when it does not end in time.
    int finish() {
        if (!m_process.waitForFinished(30000) || m_process.exitStatus() != QProcess::NormalExit) {
            return -1;
        }
        collect();
        return m_process.exitCode();
    }
    [[nodiscard]] const QStringList& lines() const { return m_lines; }

private:
    void collect() {
        m_pending += m_process.readAllStandardError();
        while (m_pending.contains('\n')) {
            const qsizetype end = m_pending.indexOf('\n');
            m_lines.append(QString::fromUtf8(m_pending.left(end)));
            m_pending.remove(0, end + 1);
        }
    }

    QProcess m_process;
    QByteArray m_pending;
    QStringList m_lines;
};

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SimProcess::executable().isEmpty()) {
            GTEST_SKIP() << "instrument-sim is not built";
        }
    }
    bool startSim(const QStringList& arguments) {
        const bool ok = sim.start(arguments);
        EXPECT_TRUE(ok) << sim.error().toStdString();
        return ok;
    }
    // The saved file, loaded as the window loads it; its marked slots.
    std::vector<int> marked(RecordStore& store) {
        const LoadResult result = loadRecordFile(out, store);
        EXPECT_EQ(result.stop, LoadResult::Stop::Complete);
        return cli::markedSlots(result.marked);
    }

    QTemporaryDir dir;
    QString out = dir.filePath("captured.dat");
    SimProcess sim;
};

TEST_F(CaptureTest, bothModelsFileWhatTheInstrumentSendsAndReleaseIt) {
    for (const auto& [profile, model] :
         {std::pair{&tft::kProfile, "tft"}, std::pair{&dac::kProfile, "dac"}}) {
        SimProcess modelSim;
        ASSERT_TRUE(modelSim.start({"--model", model, "--fast"})) << modelSim.error().toStdString();
        Capture capture(
            {"--port", modelSim.pty(), "--model", model, "--slots", "200,1,7", "-o", out});
        ASSERT_EQ(capture.finish(), 0) << capture.lines().join('\n').toStdString();
        EXPECT_EQ(
            capture.lines(),
            QStringList({"slot 1 (1 of 3): filed", "slot 7 (2 of 3): filed",
                         "slot 200 (3 of 3): filed",
                         QStringLiteral("trellicap-cli capture: 3 of 3 slots filed (1,7,200); "
                                        "release sent; saved to \"%1\".")
                             .arg(out)}));
        EXPECT_TRUE(modelSim.waitForLine("release"));
        RecordStore store(*profile);
        EXPECT_EQ(marked(store), (std::vector<int>{1, 7, 200}));
        for (const int slot : {1, 7, 200}) {
            const auto column = store.column(slot - 1);
            for (const auto& [index, value] : SimProcess::record({"--model", model}, slot)) {
                if (index <= profile->batchFileRows.last && index <= profile->fileRows.last) {
                    ASSERT_EQ(column[static_cast<std::size_t>(index)], value)
                        << model << " slot " << slot << " index " << index;
                }
            }
        }
    }
}

TEST_F(CaptureTest, recordsThatDoNotNameTheirSlotAreFiledWithAWarningPerSlotAndInTheSummary) {
    // Every frame names slot 0, as a frame read with the other model's layout may.
    ASSERT_TRUE(startSim({"--model", "tft", "--fast", "--memno", "000"}));
    Capture capture({"--port", sim.pty(), "--model", "tft", "--slots", "3,4", "-o", out});
    ASSERT_EQ(capture.finish(), 0) << capture.lines().join('\n').toStdString();
    const QStringList& lines = capture.lines();
    for (const char* slot : {"3", "4"}) {
        EXPECT_TRUE(lines.contains(
            QStringLiteral("warning: slot %1: the record names slot 0; is the instrument a DAC "
                           "model?")
                .arg(QLatin1String(slot))))
            << lines.join('\n').toStdString();
    }
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("trellicap-cli capture: 2 of 2 slots")));
    EXPECT_TRUE(lines.last().endsWith(
        QStringLiteral(" Warning: 2 of the records filed name another slot (3-4); is the "
                       "instrument a DAC model?")))
        << lines.last().toStdString();
    RecordStore store(tft::kProfile);
    EXPECT_TRUE(marked(store).empty());  // the window would not mark them either
}

TEST_F(CaptureTest, aSlotThatNeverAnswersIsAskedTwiceAndTheRestIsSaved) {
    ASSERT_TRUE(startSim({"--model", "dac", "--fast", "--silent-slot", "7"}));
    Capture capture({"--port", sim.pty(), "--model", "dac", "--slots", "6-8", "--timeout-ms", "200",
                     "-o", out});
    EXPECT_EQ(capture.finish(), 1);
    EXPECT_EQ(capture.lines(),
              QStringList({"slot 6 (1 of 3): filed", "slot 7 (2 of 3): no answer, asking again",
                           "slot 7 (2 of 3): no answer", "slot 8 (3 of 3): filed",
                           QStringLiteral("trellicap-cli capture: 2 of 3 slots filed (6,8); no "
                                          "answer from 7; release sent; saved to \"%1\".")
                               .arg(out)}));
    EXPECT_TRUE(sim.waitForLine("release"));
    RecordStore store(dac::kProfile);
    EXPECT_EQ(marked(store), (std::vector<int>{6, 8}));
}

TEST_F(CaptureTest, sigintStopsAfterTheSlotUnderWaySendsTheReleaseAndSaves) {
    ASSERT_TRUE(startSim({"--model", "tft"}));  // paced as at 9600 baud: a second a frame
    Capture capture({"--port", sim.pty(), "--model", "tft", "--slots", "1-10", "-o", out});
    ASSERT_TRUE(capture.waitForLine("slot 1 (1 of 10): filed"));
    capture.signal(SIGINT);
    EXPECT_EQ(capture.finish(), 128 + SIGINT);
    ASSERT_FALSE(capture.lines().isEmpty());
    EXPECT_TRUE(capture.lines().contains(
        "SIGINT: stopping after the slot under way (a second one ends at once)"));
    const QString summary = capture.lines().last();
    EXPECT_TRUE(summary.startsWith("trellicap-cli capture: stopped by SIGINT. "))
        << summary.toStdString();
    EXPECT_TRUE(summary.endsWith(QStringLiteral("release sent; saved to \"%1\".").arg(out)));
    EXPECT_TRUE(sim.waitForLine("release"));
    RecordStore store(tft::kProfile);
    const std::vector<int> filed = marked(store);
    // Slot 1, and slot 2 when its request was out before the signal; never more.
    ASSERT_FALSE(filed.empty());
    EXPECT_EQ(filed.front(), 1);
    EXPECT_LE(filed.size(), 2u);
}

TEST_F(CaptureTest, aPortThatGoesAwayEndsTheBatchAndWhatArrivedIsSaved) {
    ASSERT_TRUE(startSim({"--model", "tft"}));
    Capture capture({"--port", sim.pty(), "--model", "tft", "--slots", "1-5", "-o", out});
    ASSERT_TRUE(capture.waitForLine("slot 1 (1 of 5): filed"));
    ASSERT_TRUE(sim.commandAcknowledged("fault hangup 100"));
    EXPECT_EQ(capture.finish(), 1);
    const QString summary = capture.lines().last();
    EXPECT_TRUE(summary.startsWith("trellicap-cli capture: the port went away: "))
        << summary.toStdString();
    EXPECT_TRUE(summary.endsWith(QStringLiteral("no release sent; saved to \"%1\".").arg(out)));
    EXPECT_EQ(capture.lines().filter("cut off, the port went away").size(), 1);
    RecordStore store(tft::kProfile);
    const std::vector<int> filed = marked(store);
    ASSERT_FALSE(filed.empty());
    EXPECT_EQ(filed.front(), 1);
}

TEST_F(CaptureTest, waitForDeviceWaitsForAPortThatAppearsLaterOrSaysHowLongItWaited) {
    const QString link = dir.filePath("ttyLATE");
    Capture capture(
        {"--port", link, "--model", "dac", "--slots", "4,9", "--wait-for-device", "30", "-o", out});
    ASSERT_TRUE(capture.waitForLine(
        QStringLiteral("waiting up to 30 s for \"%1\" (No such file or directory)").arg(link)));
    ASSERT_TRUE(startSim({"--model", "dac", "--fast", "--link", link}));
    ASSERT_EQ(capture.finish(), 0) << capture.lines().join('\n').toStdString();
    EXPECT_TRUE(capture.lines().contains(QStringLiteral("\"%1\" is there").arg(link)));
    EXPECT_EQ(capture.lines().last(),
              QStringLiteral("trellicap-cli capture: 2 of 2 slots filed (4,9); release sent; saved "
                             "to \"%1\".")
                  .arg(out));

    const QString none = dir.filePath("ttyNEVER");
    const testing::CliRun run =
        testing::runCli({"capture", "--port", none, "--model", "tft", "--slots", "1",
                         "--wait-for-device", "1", "-o", dir.filePath("never.dat")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(run.err).trimmed().endsWith(
        QStringLiteral("trellicap-cli capture: the port \"%1\" cannot be opened: No such file or "
                       "directory (waited 1 s).")
            .arg(none)))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("never.dat")));
}

TEST_F(CaptureTest, waitForDeviceGoesOnWithTheCutSlotOnceTheSameAdapterIsBack) {
    const QString link = dir.filePath("ttyCORVANE");
    ASSERT_TRUE(startSim({"--model", "tft", "--link", link}));  // paced: a second a frame
    Capture capture(
        {"--port", link, "--model", "tft", "--slots", "1-4", "--wait-for-device", "30", "-o", out});
    ASSERT_TRUE(sim.waitForLine("served 2", 15000));
    ASSERT_TRUE(sim.commandAcknowledged("unplug"));  // slot 2's frame is on the line
    ASSERT_TRUE(capture.waitForLine("waiting up to 30 s for the instrument to come back"));
    ASSERT_TRUE(sim.commandAcknowledged("replug new-name"));
    ASSERT_EQ(capture.finish(), 0) << capture.lines().join('\n').toStdString();
    EXPECT_EQ(
        capture.lines(),
        QStringList({"slot 1 (1 of 4): filed", "slot 2 (2 of 4): cut off, the port went away",
                     "waiting up to 30 s for the instrument to come back",
                     QStringLiteral("reconnected on \"%1\"; going on with slot 2").arg(link),
                     "slot 2 (2 of 4): filed", "slot 3 (3 of 4): filed", "slot 4 (4 of 4): filed",
                     QStringLiteral("trellicap-cli capture: 4 of 4 slots filed (1-4); release "
                                    "sent; saved to \"%1\".")
                         .arg(out)}));
    RecordStore store(tft::kProfile);
    EXPECT_EQ(marked(store), (std::vector<int>{1, 2, 3, 4}));
    for (const int slot : {1, 2, 3, 4}) {
        const auto column = store.column(slot - 1);
        for (const auto& [index, value] : SimProcess::record({"--model", "tft"}, slot)) {
            if (index <= tft::kProfile.batchFileRows.last) {
                ASSERT_EQ(column[static_cast<std::size_t>(index)], value)
                    << "slot " << slot << " index " << index;
            }
        }
    }
}

TEST_F(CaptureTest, waitForDeviceGivesUpOnAnAdapterThatStaysAwayAndSavesWhatArrived) {
    const QString link = dir.filePath("ttyCORVANE");
    ASSERT_TRUE(startSim({"--model", "tft", "--link", link}));
    Capture capture(
        {"--port", link, "--model", "tft", "--slots", "1-3", "--wait-for-device", "1", "-o", out});
    ASSERT_TRUE(sim.waitForLine("served 2", 15000));
    ASSERT_TRUE(sim.commandAcknowledged("unplug"));
    EXPECT_EQ(capture.finish(), 1);
    EXPECT_TRUE(capture.lines().contains("waiting up to 1 s for the instrument to come back"));
    const QString summary = capture.lines().last();
    EXPECT_TRUE(summary.startsWith("trellicap-cli capture: the port went away: "))
        << summary.toStdString();
    EXPECT_TRUE(summary.endsWith(
        QStringLiteral("1 of 3 slots filed (1); not captured 2-3; no release sent; saved to "
                       "\"%1\".")
            .arg(out)))
        << summary.toStdString();
    RecordStore store(tft::kProfile);
    EXPECT_EQ(marked(store), (std::vector<int>{1}));
}

TEST_F(CaptureTest, aPortThatCannotBeOpenedOrAMissingOptionSaysSo) {
    const QString none = dir.filePath("ttyNone");
    const testing::CliRun run =
        testing::runCli({"capture", "--port", none, "--model", "tft", "--slots", "1", "-o", out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(run.err).trimmed(),
              QStringLiteral("trellicap-cli capture: the port \"%1\" cannot be opened: No such "
                             "file or directory.")
                  .arg(none));
    const testing::CliRun noSlots =
        testing::runCli({"capture", "--port", none, "--model", "tft", "-o", out});
    EXPECT_EQ(noSlots.exitCode, 2);
    EXPECT_EQ(
        QString::fromUtf8(noSlots.err).trimmed(),
        "trellicap-cli capture: capture needs --slots LIST. See 'trellicap-cli capture --help'.");
    EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
}  // namespace trellicap
