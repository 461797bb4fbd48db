// The link on a real pty with the instrument simulator (its own frame code): the QSerialPort
// path, records filed as the simulator generates them, faults on the line. Most cases run at
// full speed; the paced ones get the bytes one by one, as a 9600 baud line hands them over,
// which is where the link pauses delivery during a frame.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <memory>

#include "link/instrument_link.h"
#include "link/qt_serial_port.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/record_store.h"
#include "support/sim_process.h"

namespace trellicap {
namespace {

using testing::SimProcess;

struct Rig {
    explicit Rig(const ModelProfile& p) : profile(p), store(p), link(p, store, port) {
        store.initMemoryTable();
        link.setWaitIntervalMs(500);
        link.setFrameByteTimeoutMs(300);
    }
    bool open(const QStringList& simArguments) {
        if (!sim.start(simArguments)) {
            ADD_FAILURE() << sim.error().toStdString();
            return false;
        }
        return port.open(sim.pty());
    }
    // Each index the simulator's frame carries holds its value in the column.
    void expectFiled(int slot, const QStringList& modelArguments, int lastRow) {
        const auto column = store.column(slot - 1);
        const auto expected = SimProcess::record(modelArguments, slot);
        ASSERT_FALSE(expected.empty());
        for (const auto& [index, value] : expected) {
            if (index <= lastRow) {
                EXPECT_EQ(column[static_cast<std::size_t>(index)], value)
                    << "slot " << slot << " index " << index;
            }
        }
    }

    const ModelProfile& profile;
    RecordStore store;
    QtSerialPort port;
    InstrumentLink link;
    SimProcess sim;
};

class InstrumentLinkPtyTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SimProcess::executable().isEmpty()) {
            GTEST_SKIP() << "instrument-sim is not built";
        }
    }
};

bool startsWithTheLoss(const QString& reason) {
    return reason.startsWith(
        QStringLiteral("The device was disconnected or closed by the other end"));
}

TEST_F(InstrumentLinkPtyTest, BatchFilesTheSimulatorsRecordsForBothModels) {
    for (const auto& [profile, model] :
         {std::pair{&tft::kProfile, "tft"}, std::pair{&dac::kProfile, "dac"}}) {
        const QStringList modelArgs{"--model", model};
        Rig rig(*profile);
        // Noise before the sync byte, a 255 separator and filler before block B.
        ASSERT_TRUE(rig.open(modelArgs +
                             QStringList{"--fast", "--noise", "5", "--sep255", "--filler", "3"}));
        QSignalSpy finished(&rig.link, &InstrumentLink::batchFinished);
        QSignalSpy filed(&rig.link, &InstrumentLink::slotFiled);
        rig.link.startBatch({0, 6, 199});
        ASSERT_TRUE(finished.wait(10000));
        EXPECT_EQ(filed.size(), 3);
        for (const int slot : {1, 7, 200}) {
            rig.expectFiled(slot, modelArgs, profile->batchFileRows.last);
        }
    }
}

TEST_F(InstrumentLinkPtyTest, SlotSentFromTheInstrumentIsFiledAndAFollowingOneToo) {
    Rig rig(tft::kProfile);
    ASSERT_TRUE(rig.open({"--fast"}));
    QSignalSpy filed(&rig.link, &InstrumentLink::recordArrived);
    rig.sim.command("send 12");
    ASSERT_TRUE(filed.wait(5000));
    rig.sim.command("send 13");
    ASSERT_TRUE(filed.wait(5000));
    EXPECT_EQ(filed.at(0).at(0).toInt(), 11);
    EXPECT_EQ(filed.at(1).at(0).toInt(), 12);
    rig.expectFiled(12, {}, 599);
    rig.expectFiled(13, {}, 599);
}

TEST_F(InstrumentLinkPtyTest, CutOffAnswersAreRetriedThenGivenUp) {
    Rig rig(tft::kProfile);
    ASSERT_TRUE(rig.open({"--fast", "--cut", "600"}));
    const std::vector<RecordValue> before(rig.store.column(4).begin(), rig.store.column(4).end());
    QSignalSpy finished(&rig.link, &InstrumentLink::batchFinished);
    QSignalSpy incomplete(&rig.link, &InstrumentLink::frameIncomplete);
    QSignalSpy filed(&rig.link, &InstrumentLink::slotFiled);
    rig.link.startBatch({4});
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(incomplete.size(), 2);
    EXPECT_EQ(filed.size(), 0);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), rig.store.column(4).begin()));
}

TEST_F(InstrumentLinkPtyTest, HangUpMidFrameIsReportedAndFilesNothing) {
    Rig rig(tft::kProfile);
    ASSERT_TRUE(rig.open({"--fast", "--hangup", "500"}));
    QSignalSpy lost(&rig.link, &InstrumentLink::linkLost);
    QSignalSpy finished(&rig.link, &InstrumentLink::batchFinished);
    QSignalSpy filed(&rig.link, &InstrumentLink::slotFiled);
    rig.link.startBatch({2, 3});
    ASSERT_TRUE(lost.wait(10000));
    // What happened, not the stale errno text QSerialPort carries after a hang-up.
    EXPECT_TRUE(startsWithTheLoss(lost.at(0).at(0).toString()))
        << lost.at(0).at(0).toString().toStdString();
    ASSERT_EQ(finished.size(), 1);
    const auto result = finished.at(0).at(0).value<BatchResult>();
    EXPECT_EQ(result.requested, QList<int>({2, 3}));
    EXPECT_TRUE(result.filed.isEmpty());
    EXPECT_FALSE(result.releaseSent);
    EXPECT_EQ(filed.size(), 0);
    EXPECT_FALSE(rig.link.isBusy());
    EXPECT_FALSE(rig.port.isOpen());
}

TEST_F(InstrumentLinkPtyTest, AtTheLinesPaceACutAnswerTimesOutAndTheRetryIsFiled) {
    Rig rig(tft::kProfile);
    ASSERT_TRUE(rig.open({}));
    ASSERT_TRUE(rig.sim.commandAcknowledged("fault cut 300"));
    QSignalSpy finished(&rig.link, &InstrumentLink::batchFinished);
    QSignalSpy incomplete(&rig.link, &InstrumentLink::frameIncomplete);
    rig.link.startBatch({4});
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(incomplete.size(), 1);
    const auto result = finished.at(0).at(0).value<BatchResult>();
    EXPECT_EQ(result.filed, QList<int>({4}));
    EXPECT_TRUE(result.releaseSent);
    rig.expectFiled(5, {}, tft::kProfile.batchFileRows.last);
}

TEST_F(InstrumentLinkPtyTest, AtTheLinesPaceAHangUpMidFrameIsSeenAndTold) {
    Rig rig(dac::kProfile);
    ASSERT_TRUE(rig.open({"--model", "dac", "--hangup", "400"}));
    QSignalSpy lost(&rig.link, &InstrumentLink::linkLost);
    QSignalSpy finished(&rig.link, &InstrumentLink::batchFinished);
    rig.link.startBatch({2});
    ASSERT_TRUE(lost.wait(10000));
    EXPECT_TRUE(startsWithTheLoss(lost.at(0).at(0).toString()))
        << lost.at(0).at(0).toString().toStdString();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(finished.at(0).at(0).value<BatchResult>().filed.isEmpty());
    EXPECT_FALSE(rig.link.isBusy());
    EXPECT_FALSE(rig.port.isOpen());
}

}  // namespace
}  // namespace trellicap
