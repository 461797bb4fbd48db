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
    using QObject::QObject;
    ~SerialPort() override = default;

    // Opens the device at 9600 baud, no parity, 8 data bits, 1 stop bit, and drops bytes
    // that were waiting before the open. False with errorString() set when it fails.
    virtual bool open(const QString& device) = 0;
    virtual void close() = 0;
    [[nodiscard]] virtual bool isOpen() const = 0;
    [[nodiscard]] virtual QString deviceName() const = 0;
    // Queues the bytes; they reach the line whole and in order, however many there are.
    virtual void write(const QByteArray& bytes) = 0;
    [[nodiscard]] virtual qint64 bytesAvailable() const = 0;
    // Everything that is waiting.
    virtual QByteArray readAll() = 0;
    [[nodiscard]] virtual QString errorString() const = 0;
    // True when the last open failed because the user may not use the device.
    [[nodiscard]] virtual bool lastOpenDeniedPermission() const = 0;

signals:
    // Bytes are waiting (not re-emitted while a slot connected to it runs: read them all).
    void readyRead();
    // The device went away (adapter pulled, pty hung up); the port is already closed.
    void connectionLost(const QString& reason);
};

}  // namespace trellicap
