// QtSerialPort on a pty whose other end the test holds: delivery held back and resumed, and
// what the port says when the other end hangs up. Also the rule for that message.
#include "link/qt_serial_port.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <cerrno>

#include "link/port_loss_reason.h"
#include "support/pty.h"
#include "support/wait.h"

namespace trellicap {
namespace {

using testing::Pty;
using testing::waitUntil;

const QString kLoss = QStringLiteral("The device was disconnected or closed by the other end");

// The port on the pty's slave, with what readyRead brought.
class QtSerialPortOnAPty : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(pty.slave().isEmpty());
        ASSERT_TRUE(port.open(pty.slave())) << port.errorString().toStdString();
        QObject::connect(&port, &SerialPort::readyRead, [this] {
            ++readyReads;
            got += port.readAll();
        });
    }

    Pty pty;
    QtSerialPort port;
    int readyReads = 0;
    QByteArray got;
};

TEST_F(QtSerialPortOnAPty, HeldDeliveryWakesNobodyUntilResumedOrCollected) {
    port.setReadNotificationsEnabled(false);
    ASSERT_TRUE(pty.write("abc"));
    EXPECT_FALSE(waitUntil([&] { return readyReads > 0; }, 100));
    ASSERT_TRUE(pty.write("def"));
    port.setReadNotificationsEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return got.size() == 6; }, 2000));
    EXPECT_EQ(got, QByteArray("abcdef"));  // in one or two reads: the pty passes bytes on late

    // Collected on demand, and neither that nor the read in the slot switches them on again.
    port.setReadNotificationsEnabled(false);
    EXPECT_FALSE(port.deliverWaiting());
    ASSERT_TRUE(pty.write("xy"));
    ASSERT_TRUE(waitUntil(
        [&] {
            port.deliverWaiting();
            return got == "abcdefxy";
        },
        2000));
    const int collected = readyReads;
    ASSERT_TRUE(pty.write("z"));
    EXPECT_FALSE(waitUntil([&] { return readyReads > collected; }, 100));
    port.setReadNotificationsEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return got == "abcdefxyz"; }, 2000));
}

TEST_F(QtSerialPortOnAPty, AfterAReopenTheNewDescriptorsNotifierIsTheOneSwitched) {
    port.setReadNotificationsEnabled(false);
    port.close();
    ASSERT_TRUE(port.open(pty.slave()));
    port.setReadNotificationsEnabled(false);
    ASSERT_TRUE(pty.write("gh"));
    EXPECT_FALSE(waitUntil([&] { return !got.isEmpty(); }, 100));
    port.setReadNotificationsEnabled(true);
    ASSERT_TRUE(waitUntil([&] { return got == "gh"; }, 2000));
}

TEST_F(QtSerialPortOnAPty, HangUpIsToldAsWhatHappenedAlsoAfterHeldDelivery) {
    QSignalSpy lost(&port, &SerialPort::connectionLost);
    port.setReadNotificationsEnabled(false);
    pty.hangUp();
    port.setReadNotificationsEnabled(true);
    ASSERT_TRUE(lost.wait(2000));
    // Qt's own text here is a leftover errno ("Inappropriate ioctl for device").
    const QString reason = lost.at(0).at(0).toString();
    EXPECT_TRUE(reason == kLoss + '.' || reason == kLoss + " (" + qt_error_string(EIO) + ").")
        << reason.toStdString();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(lost.size(), 1);
}

TEST(PortLossReason, AfterAFailedReadOnlyTheTextsOfAVanishedDeviceAreShown) {
    for (const auto kind : {QSerialPort::ReadError, QSerialPort::ResourceError}) {
        for (const int stale : {ENOTTY, ENOENT, EAGAIN, 0}) {
            EXPECT_EQ(portLossReason(kind, qt_error_string(stale)), kLoss + '.') << stale;
        }
        EXPECT_EQ(portLossReason(kind, QString()), kLoss + '.');
        for (const int real : {EIO, ENXIO, ENODEV}) {
            EXPECT_EQ(portLossReason(kind, qt_error_string(real)),
                      kLoss + " (" + qt_error_string(real) + ").");
        }
    }
    // A failed write set errno itself.
    EXPECT_EQ(portLossReason(QSerialPort::WriteError, qt_error_string(EAGAIN)),
              kLoss + " (" + qt_error_string(EAGAIN) + ").");
    EXPECT_EQ(portLossReason(QSerialPort::WriteError, QString()), kLoss + '.');
}

}  // namespace
}  // namespace trellicap
