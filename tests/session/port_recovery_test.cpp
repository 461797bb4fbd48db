// A session's port after an unplug, on the scripted port, the test's devices and a clock the
// test moves: the adapter watched for and reopened through the session (and only that one),
// nothing partial filed, the rest of a cut batch offered and captured exactly, and no watch
// where there is nothing to wait for.
#include "session/port_recovery.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "link/adapter_watch.h"
#include "link/wire_frames.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "session/session.h"
#include "support/fake_serial_devices.h"
#include "support/fake_serial_port.h"
#include "support/manual_clock.h"

namespace trellicap {
namespace {

using testing::FakeSerialDevices;
using testing::FakeSerialPort;
using testing::frameWithMemoryNumber;
using testing::ftdiAdapter;
using testing::ManualClock;
using testing::requestedSlot;

const QString kById =
    QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0");

QByteArray frameFor(const ModelProfile& profile, int slot) {
    return frameWithMemoryNumber(
        profile, QStringLiteral("%1").arg(slot, 3, 10, QLatin1Char('0')).toStdString(),
        static_cast<std::uint8_t>(slot));
}

class PortRecoveryTest : public ::testing::TestWithParam<const ModelProfile*> {
protected:
    void SetUp() override {
        auto fake = std::make_unique<FakeSerialPort>();
        port = fake.get();
        port->useClock(clock);
        // The instrument answers each request with a frame of the slot asked for; the test
        // pulls the cable from here when a given slot is asked for.
        port->onWrite = [this](const QByteArray& bytes) {
            const int slot = requestedSlot(bytes);
            if (slot == 0) {
                return;
            }
            requested.append(slot);
            if (slot == unplugAt) {
                unplugAt = 0;
                // Half the frame is on the line when the cable goes.
                port->injectLater(frameFor(profile(), slot).left(400), 2);
                clock.schedule(5, [this] { pullOut(); });
                return;
            }
            port->injectLater(frameFor(profile(), slot));
        };
        session = std::make_unique<Session>(profile(), std::move(fake),
                                            Session::Options{40, 80, {}, &clock});
        auto own = std::make_unique<FakeSerialDevices>();
        devices = own.get();
        session->recovery().setDeviceSource(std::move(own));
        session->begin();
        devices->plugIn(
            ftdiAdapter(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("A6008isP"), "2"));
        ASSERT_TRUE(session->openDevice(kById));
    }

    [[nodiscard]] const ModelProfile& profile() const { return *GetParam(); }

    void pullOut() {
        devices->pullOut(QStringLiteral("/dev/ttyUSB0"));
        port->loseConnection(QStringLiteral("cable pulled"));
    }

    bool capture(const QList<int>& columns) {
        bool finished = false;
        QObject scope;
        QObject::connect(session.get(), &Session::batchFinished, &scope,
                         [&finished] { finished = true; });
        if (session->startBatch(columns).refused()) {
            return false;
        }
        return clock.advanceUntil([&finished] { return finished; }, 60'000);
    }

    std::vector<RecordValue> column(int c) const {
        const auto values = session->store().column(c);
        return {values.begin(), values.end()};
    }

    ManualClock clock;
    FakeSerialPort* port = nullptr;
    FakeSerialDevices* devices = nullptr;
    std::unique_ptr<Session> session;
    QList<int> requested;
    int unplugAt = 0;
};

TEST_P(PortRecoveryTest, AnUnpluggedAdapterIsReopenedWhenItComesBackAndNoOtherIsTaken) {
    PortRecovery& recovery = session->recovery();
    QSignalSpy waiting(&recovery, &PortRecovery::waitingForDevice);
    QSignalSpy reconnected(&recovery, &PortRecovery::reconnected);
    QSignalSpy lost(session.get(), &Session::linkLost);
    pullOut();
    EXPECT_EQ(lost.size(), 1);
    EXPECT_EQ(waiting.size(), 1);
    EXPECT_TRUE(recovery.watching());
    // Tried by hand while it is still away (Cancel in the port selection): the watch goes on.
    port->setOpenSucceeds(false);
    EXPECT_FALSE(session->openDevice(kById));
    EXPECT_TRUE(recovery.watching());
    port->setOpenSucceeds(true);

    // Another adapter of the same make appears, even under the old name: left alone.
    devices->plugIn(ftdiAdapter(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("B7119jQ"), "3"));
    clock.advance(5000);
    EXPECT_FALSE(port->isOpen());
    EXPECT_EQ(reconnected.size(), 0);
    EXPECT_EQ(recovery.watch().looks(), 5);

    // Ours comes back as ttyUSB1, and its rights come a moment later: tried again next look.
    devices->plugIn(ftdiAdapter(QStringLiteral("/dev/ttyUSB1"), QStringLiteral("A6008isP"), "2"));
    port->setOpenSucceeds(false);
    clock.advance(1000);
    EXPECT_FALSE(port->isOpen());
    EXPECT_TRUE(recovery.watching());
    port->setOpenSucceeds(true);
    clock.advance(1000);
    ASSERT_EQ(reconnected.size(), 1);
    EXPECT_EQ(reconnected.at(0).at(0).toString(), kById);  // by the path as written
    EXPECT_TRUE(port->isOpen());
    EXPECT_EQ(port->deviceName(), kById);
    EXPECT_EQ(session->device(), kById);
    EXPECT_TRUE(session->portFailure().isEmpty());
    EXPECT_FALSE(recovery.watching());

    // The link takes frames again.
    QSignalSpy filed(session.get(), &Session::recordFiled);
    port->inject(frameFor(profile(), 12));
    ASSERT_EQ(filed.size(), 1);
    EXPECT_EQ(filed.at(0).at(0).toInt(), 11);
    EXPECT_TRUE(session->isMarked(11));
}

TEST_P(PortRecoveryTest, ABatchCutByAnUnplugFilesNothingPartialAndItsRestIsCapturedExactly) {
    PortRecovery& recovery = session->recovery();
    QSignalSpy offers(&recovery, &PortRecovery::remainingChanged);
    QList<int> columns;
    for (int slot = 55; slot <= 60; ++slot) {
        columns.append(slot - 1);
    }
    const std::vector<RecordValue> before = column(56);
    unplugAt = 57;
    ASSERT_TRUE(capture(columns));
    EXPECT_EQ(requested, (QList<int>{55, 56, 57}));
    EXPECT_TRUE(session->isMarked(54));
    EXPECT_TRUE(session->isMarked(55));
    EXPECT_FALSE(session->isMarked(56));
    EXPECT_EQ(column(56), before);  // half a frame never reaches the table
    EXPECT_EQ(recovery.remainingColumns(), (QList<int>{56, 57, 58, 59}));
    EXPECT_EQ(offers.size(), 1);
    EXPECT_TRUE(recovery.watching());

    devices->plugIn(ftdiAdapter(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("A6008isP"), "2"));
    clock.advance(1000);
    ASSERT_TRUE(port->isOpen());
    // The offer stands until a batch ends: the rest, and nothing else, is asked for.
    EXPECT_EQ(recovery.remainingColumns(), (QList<int>{56, 57, 58, 59}));
    requested.clear();
    ASSERT_TRUE(capture(recovery.remainingColumns()));
    EXPECT_EQ(requested, (QList<int>{57, 58, 59, 60}));
    for (int c = 54; c <= 59; ++c) {
        EXPECT_TRUE(session->isMarked(c)) << "column " << c;
    }
    EXPECT_TRUE(recovery.remainingColumns().isEmpty());
    EXPECT_EQ(offers.size(), 2);
}

TEST_P(PortRecoveryTest, NothingIsWatchedForWhereNothingWillComeBack) {
    PortRecovery& recovery = session->recovery();
    QSignalSpy waiting(&recovery, &PortRecovery::waitingForDevice);
    QSignalSpy ended(&recovery, &PortRecovery::watchEnded);

    // A stuck line: the device is still there and would only get stuck again.
    port->loseConnection(QStringLiteral("write timed out"), SerialPort::Loss::LineStuck);
    EXPECT_FALSE(recovery.watching());
    // A batch that meets the closed port offers its slots for later, and starts no watch.
    ASSERT_TRUE(capture({4, 5}));
    EXPECT_EQ(recovery.remainingColumns(), (QList<int>{4, 5}));
    EXPECT_EQ(waiting.size(), 0);

    // An unplug, then the operator chooses another port: the watch ends, that port's device is
    // the one watched for from then on.
    ASSERT_TRUE(session->openDevice(kById));
    pullOut();
    ASSERT_TRUE(recovery.watching());
    devices->setPath(QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS0"));
    ASSERT_TRUE(session->openDevice(QStringLiteral("/dev/ttyS0")));
    EXPECT_EQ(ended.size(), 1);
    EXPECT_FALSE(recovery.watching());
    EXPECT_EQ(recovery.identity(), pathIdentity(QStringLiteral("/dev/ttyS0")));
    devices->plugIn(ftdiAdapter(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("A6008isP"), "2"));
    clock.advance(5000);
    EXPECT_EQ(session->device(), QStringLiteral("/dev/ttyS0"));

    // A pty named directly: its name goes to the next pty anyone opens, so nothing is watched.
    devices->setPath(QStringLiteral("/dev/pts/5"), QStringLiteral("/dev/pts/5"));
    ASSERT_TRUE(session->openDevice(QStringLiteral("/dev/pts/5")));
    port->loseConnection();
    EXPECT_FALSE(recovery.watching());
    EXPECT_EQ(waiting.size(), 1);

    // A port that fails to open leaves nothing to watch for after the next loss.
    port->setOpenSucceeds(false);
    EXPECT_FALSE(session->openDevice(QStringLiteral("/dev/ttyGONE")));
    EXPECT_FALSE(recovery.identity().known());
    ASSERT_TRUE(capture({1}));
    EXPECT_FALSE(recovery.watching());
}

TEST(RemainingColumns, OnlyABatchCutShortLeavesARestAndNeverTheSlotsThatWereAnswered) {
    BatchResult cut{{2, 8, 56, 57, 199}, {2}, {8}, false, false};
    EXPECT_EQ(remainingColumns(cut), (QList<int>{56, 57, 199}));
    BatchResult stopped = cut;
    stopped.stoppedByOperator = true;
    EXPECT_TRUE(remainingColumns(stopped).isEmpty());
    BatchResult whole{{2, 8}, {2}, {8}, false, true};
    EXPECT_TRUE(remainingColumns(whole).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Models, PortRecoveryTest,
                         ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
}  // namespace trellicap
