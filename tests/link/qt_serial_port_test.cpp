// QtSerialPort on a pty whose other end the test holds: trickling bytes handed over together,
// writes told when taken and timed out when stuck, and what the port says when the other end
// hangs up. Also the rule for that message.
#include "link/qt_serial_port.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <cerrno>
#include <chrono>
#include <thread>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <unistd.h>
#endif

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

// Reads what the program wrote, from the pty's master, until `count` bytes came.
QByteArray readFromMaster(Pty& pty, qsizetype count) {
    QByteArray got;
    static_cast<void>(waitUntil(
        [&] {
            char buf[4096];
            pollfd ready{pty.master(), POLLIN, 0};
            if (::poll(&ready, 1, 0) <= 0) {
                return false;
            }
            const ssize_t n = ::read(pty.master(), buf, sizeof buf);
            if (n > 0) {
                got.append(buf, static_cast<qsizetype>(n));
            }
            return got.size() >= count;
        },
        5000));
    return got;
}

TEST_F(QtSerialPortOnAPty, BytesThatTrickleInAreAllHandedOverInOrderAndNoneIsLeftBehind) {
    // A line paced about four bytes per millisecond (a USB adapter's small packets), written
    // from another thread while the test runs the event loop.
    constexpr int kPerWrite = 4;
    QByteArray sent;
    for (int i = 0; i < 333; ++i) {
        sent.append(static_cast<char>('0' + i % 64));
    }
    const auto writes = static_cast<int>((sent.size() + kPerWrite - 1) / kPerWrite);
    std::thread line([&] {
        for (qsizetype i = 0; i < sent.size(); i += kPerWrite) {
            pty.write(sent.mid(i, kPerWrite));
            std::this_thread::sleep_for(std::chrono::microseconds(1000));
        }
    });
    const bool allCame = waitUntil([&] { return got.size() >= sent.size(); }, 10000);
    line.join();
    ASSERT_TRUE(allCame) << got.size();
    EXPECT_EQ(got, sent);
    EXPECT_GT(readyReads, 0);
    EXPECT_LE(readyReads, writes + 1) << "at most a delivery per write (and the last byte)";

    // The last bytes of a stream, and a byte after a pause, arrive without more following.
    ASSERT_TRUE(pty.write("!"));
    ASSERT_TRUE(waitUntil([&] { return got.endsWith('!'); }, 2000));
}

TEST_F(QtSerialPortOnAPty, WrittenBytesAreToldWhenTheSystemTookThemAndAStuckLineTimesOut) {
    QSignalSpy written(&port, &SerialPort::allBytesWritten);
    QSignalSpy lost(&port, &SerialPort::connectionLost);
    const QByteArray request(110, 'Z');
    EXPECT_EQ(port.write(request), request.size());
    EXPECT_EQ(written.size(), 0) << "never from inside write()";
    ASSERT_TRUE(written.wait(2000));
    EXPECT_EQ(port.bytesToWrite(), 0);
    EXPECT_EQ(readFromMaster(pty, request.size()), request);

    // Nobody reads the other end: the pty's buffer fills, the rest waits in the port, and
    // the write timeout closes it and says why.
    port.setWriteTimeoutMs(200);
    EXPECT_EQ(port.write(QByteArray(256 * 1024, 'Z')), 256 * 1024);
    ASSERT_TRUE(lost.wait(5000));
    EXPECT_TRUE(lost.at(0).at(0).toString().contains(QStringLiteral("200 ms")))
        << lost.at(0).at(0).toString().toStdString();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.write("x"), -1);
    EXPECT_FALSE(port.errorString().isEmpty());
}

TEST_F(QtSerialPortOnAPty, AReopenedPortDeliversAsBefore) {
    ASSERT_TRUE(pty.write("ab"));
    ASSERT_TRUE(waitUntil([&] { return got == "ab"; }, 2000));
    port.close();
    ASSERT_TRUE(port.open(pty.slave()));
    ASSERT_TRUE(pty.write("gh"));
    ASSERT_TRUE(waitUntil([&] { return got == "abgh"; }, 2000));
}

TEST_F(QtSerialPortOnAPty, HangUpIsToldAsWhatHappenedAlsoWithBytesUnread) {
    QSignalSpy lost(&port, &SerialPort::connectionLost);
    ASSERT_TRUE(pty.write("abc"));
    ASSERT_TRUE(waitUntil([&] { return got == "abc"; }, 2000));
    ASSERT_TRUE(pty.write("de"));  // bytes still on their way: the hang-up must still wake
    pty.hangUp();
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
