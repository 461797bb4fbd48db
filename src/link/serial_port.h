// The few operations the link needs from a serial port. QSerialPort backs it in the program,
// a scripted fake in unit tests, a pty with the instrument simulator in system tests.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace trellicap {

class SerialPort : public QObject {
    Q_OBJECT
public:
    // Queued bytes that the system has not taken after this long mean a line that is stuck.
    static constexpr int kDefaultWriteTimeoutMs = 3000;

    using QObject::QObject;
    ~SerialPort() override = default;

    // Opens the device at 9600 baud, no parity, 8 data bits, 1 stop bit, and drops bytes
    // that were waiting before the open. False with errorString() set when it fails.
    virtual bool open(const QString& device) = 0;
    // Bytes still queued are dropped, and so is an allBytesWritten() still to come.
    virtual void close() = 0;
    [[nodiscard]] virtual bool isOpen() const = 0;
    [[nodiscard]] virtual QString deviceName() const = 0;

    // Queues the bytes; they reach the line whole and in order, from the event loop. Returns
    // how many were queued, which is all of them, or -1 when the port takes none (it is not
    // open; errorString() says why).
    virtual qint64 write(const QByteArray& bytes) = 0;
    // Bytes queued that the system has not taken yet.
    [[nodiscard]] virtual qint64 bytesToWrite() const = 0;
    // How long queued bytes may wait for the system to take them: after that the port is
    // closed and connectionLost() tells why. kDefaultWriteTimeoutMs until set.
    virtual void setWriteTimeoutMs(int ms) = 0;

    [[nodiscard]] virtual qint64 bytesAvailable() const = 0;
    // Everything that is waiting in the port.
    virtual QByteArray readAll() = 0;

    [[nodiscard]] virtual QString errorString() const = 0;
    // True when the last open failed because the user may not use the device.
    [[nodiscard]] virtual bool lastOpenDeniedPermission() const = 0;

    // Why the last connectionLost() came. Only a device that went away is worth watching
    // for: a stuck line's device is still there and would only get stuck again.
    enum class Loss {
        DeviceGone,  // an adapter pulled, a pty hung up, a laptop that slept
        LineStuck,   // the device took no bytes within the write timeout
    };
    [[nodiscard]] virtual Loss lastLoss() const { return Loss::DeviceGone; }

signals:
    // Bytes are waiting (not re-emitted while a slot connected to it runs: read them all).
    // A port may hold arriving bytes back for a few milliseconds to hand them over together.
    void readyRead();
    // The system took every queued byte (emitted from the event loop, never inside write()).
    void allBytesWritten();
    // The device went away (adapter pulled, pty hung up) or took no bytes within the write
    // timeout; the port is already closed.
    void connectionLost(const QString& reason);
};

}  // namespace trellicap
