// The whole program against the instrument simulator on a pty: the main window is driven
// through its named controls, the simulator stands in for the instrument.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "link/instrument_link.h"
#include "link/qt_serial_port.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "shell/main/frmmain.h"
#include "support/sim_process.h"
#include "support/wait.h"

using namespace trellicap;
using trellicap::testing::SimProcess;
using trellicap::testing::waitUntil;

namespace {

// How long a slot sent from the simulator (at full speed here) may take to be filed.
constexpr int kArrivalMs = 8000;

class CaptureSystemTest : public ::testing::TestWithParam<const ModelProfile*> {
protected:
    void SetUp() override {
        if (SimProcess::executable().isEmpty()) {
            GTEST_SKIP() << "the instrument simulator is not built";
        }
        ASSERT_TRUE(m_sim.start(simArguments() + QStringList{"--fast"}))
            << m_sim.error().toStdString();
        QFile cfg(m_dir.filePath(QStringLiteral("udc.cfg")));
        ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
        cfg.write(m_sim.pty().toLocal8Bit() + "\r\n");
        cfg.close();

        frmmain::Options options;
        options.workingDir = m_dir.path();
        options.waitTimerMs = 400;  // short waits through the test seam only
        options.frameByteTimeoutMs = 300;
        options.messenger = [this](QWidget*, const UserMessage& m) { m_messages.push_back(m); };
        m_window =
            std::make_unique<frmmain>(*GetParam(), std::make_unique<QtSerialPort>(), options);
        m_window->startUp();
        ASSERT_TRUE(m_window->session().port().isOpen());
    }

    QStringList simArguments() const {
        return {QStringLiteral("--model"),
                GetParam() == &dac::kProfile ? QStringLiteral("dac") : QStringLiteral("tft")};
    }

    // The record indexes a frame of this slot carries, as the simulator generates it.
    void expectFiled(int slot, int lastRow) {
        const auto record = SimProcess::record(simArguments(), slot);
        ASSERT_FALSE(record.empty());
        const auto column = m_window->session().store().column(slot - 1);
        int compared = 0;
        for (const auto& [index, value] : record) {
            if (index <= lastRow) {
                ASSERT_EQ(column[static_cast<std::size_t>(index)], value)
                    << "slot " << slot << " index " << index;
                ++compared;
            }
        }
        EXPECT_GT(compared, 500);
    }

    QListWidget& list() { return *m_window->slotList(); }

    SimProcess m_sim;
    QTemporaryDir m_dir;
    std::unique_ptr<frmmain> m_window;
    std::vector<UserMessage> m_messages;
};

TEST_P(CaptureSystemTest, CaptureFetchesTheSelectedSlotsAndReleasesTheInstrument) {
    const ModelProfile& profile = *GetParam();
    InstrumentLink& link = m_window->session().link();
    QSignalSpy finished(&link, &InstrumentLink::batchFinished);
    auto* capture = m_window->findChild<QPushButton*>(QStringLiteral("cmdcapture"));
    auto* progress = m_window->findChild<QLabel*>(QStringLiteral("lblprogress"));

    for (int row : {2, 4, 149}) {
        list().item(row)->setSelected(true);
    }
    capture->click();
    EXPECT_TRUE(link.batchOn());
    EXPECT_FALSE(capture->isEnabled());  // refused while the batch runs
    EXPECT_TRUE(progress->text().startsWith(QStringLiteral("slot 1 of 3")));
    // A recall during the batch is refused: the shown slot does not change.
    m_window->lstmem_DblClick();
    EXPECT_EQ(m_window->shownslot(), 0);

    ASSERT_TRUE(finished.wait(15000));
    EXPECT_TRUE(capture->isEnabled());
    for (int slot : {3, 5, 150}) {
        EXPECT_EQ(list().item(slot - 1)->text(), QStringLiteral("Mem %1 *").arg(slot));
        EXPECT_FALSE(list().item(slot - 1)->isSelected());
        expectFiled(slot, profile.batchFileRows.last);
    }
    EXPECT_EQ(list().item(3)->text(), QStringLiteral("Mem 4"));
    // The last frame is shown.
    EXPECT_EQ(m_window->controlText("txtmemno").left(3), QStringLiteral("150"));
    EXPECT_TRUE(m_messages.empty());
}

TEST_P(CaptureSystemTest, ASlotSentFromTheInstrumentIsFiledAndShown) {
    ASSERT_TRUE(m_sim.commandAcknowledged("send 12"));
    ASSERT_TRUE(waitUntil([&] { return list().item(11)->text() == QStringLiteral("Mem 12 *"); },
                          kArrivalMs));
    expectFiled(12, 599);
    EXPECT_EQ(m_window->controlText("txtmemno").left(3), QStringLiteral("012"));

    // Noise before the sync byte is dropped; the frame still lands.
    ASSERT_TRUE(m_sim.commandAcknowledged("fault noise 40"));
    ASSERT_TRUE(m_sim.commandAcknowledged("send 13"));
    ASSERT_TRUE(waitUntil([&] { return list().item(12)->text() == QStringLiteral("Mem 13 *"); },
                          kArrivalMs));
    expectFiled(13, 599);
}

TEST_P(CaptureSystemTest, AFrameThatStopsOrNamesNoSlotChangesNothing) {
    const auto before = std::vector<RecordValue>(m_window->session().store().column(6).begin(),
                                                 m_window->session().store().column(6).end());
    QSignalSpy incomplete(&m_window->session().link(), &InstrumentLink::frameIncomplete);
    ASSERT_TRUE(m_sim.commandAcknowledged("fault cut 500"));
    ASSERT_TRUE(m_sim.commandAcknowledged("send 7"));
    ASSERT_TRUE(incomplete.wait(5000));
    EXPECT_EQ(list().item(6)->text(), QStringLiteral("Mem 7"));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), m_window->session().store().column(6).begin()));
    EXPECT_EQ(m_window->session().store().capture()[13], 100);  // still the start-up trace

    QSignalSpy notFiled(&m_window->session().link(), &InstrumentLink::frameNotFiled);
    ASSERT_TRUE(m_sim.commandAcknowledged("fault memno 345"));
    ASSERT_TRUE(m_sim.commandAcknowledged("send 7"));
    ASSERT_TRUE(notFiled.wait(5000));
    EXPECT_EQ(list().item(6)->text(), QStringLiteral("Mem 7"));

    // The link is idle again and takes the next frame.
    ASSERT_TRUE(m_sim.commandAcknowledged("send 7"));
    ASSERT_TRUE(
        waitUntil([&] { return list().item(6)->text() == QStringLiteral("Mem 7 *"); }, kArrivalMs));
}

TEST_P(CaptureSystemTest, AnInstrumentThatHangsUpMidFrameEndsTheBatchWithAMessage) {
    QSignalSpy lost(&m_window->session().link(), &InstrumentLink::linkLost);
    ASSERT_TRUE(m_sim.commandAcknowledged("fault hangup 300"));
    list().item(8)->setSelected(true);
    m_window->findChild<QPushButton*>(QStringLiteral("cmdcapture"))->click();
    ASSERT_TRUE(lost.wait(8000));
    EXPECT_FALSE(m_window->session().link().batchOn());
    EXPECT_FALSE(m_window->session().port().isOpen());
    EXPECT_EQ(list().item(8)->text(), QStringLiteral("Mem 9"));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].title, QStringLiteral("Link lost"));
    EXPECT_TRUE(m_window->findChild<QPushButton*>(QStringLiteral("cmdcapture"))->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Models, CaptureSystemTest,
                         ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
