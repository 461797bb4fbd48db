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
    // Everything that is waiting in the port; leaves read notifications as they are.
    virtual QByteArray readAll() = 0;
    // Off: arriving bytes wait in the device and nothing wakes the program for them. On again:
    // what waited comes with a later readyRead, from the event loop. Where the port cannot do
    // this it keeps delivering as before, so callers must cope with readyRead while it is off.
    virtual void setReadNotificationsEnabled(bool enabled) = 0;
    // Takes what waits in the device now, leaving notifications as they are: readyRead is
    // emitted from inside this call (so not to be called from a readyRead slot). False when
    // nothing waited, or when the port cannot tell; nothing was emitted then. A receiver that
    // switched notifications off collects on its own schedule this way: switching them on
    // and off again instead costs extra event-loop passes each time.
    virtual bool deliverWaiting() = 0;
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
