// SerialPort on QSerialPort.
#pragma once

#include <QPointer>
#include <QSerialPort>
#include <QSocketNotifier>

#include "link/serial_port.h"

namespace trellicap {

class QtSerialPort final : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);

    bool open(const QString& device) override;
    void close() override;
    [[nodiscard]] bool isOpen() const override;
    [[nodiscard]] QString deviceName() const override;
    void write(const QByteArray& bytes) override;
    [[nodiscard]] qint64 bytesAvailable() const override;
    QByteArray readAll() override;
    // Switches the QSerialPort's read notifier; where it has none (Windows) delivery stays on
    // and deliverWaiting() finds nothing.
    void setReadNotificationsEnabled(bool enabled) override;
    bool deliverWaiting() override;
    [[nodiscard]] QString errorString() const override;
    [[nodiscard]] bool lastOpenDeniedPermission() const override;

private:
    void onError(QSerialPort::SerialPortError error);
    [[nodiscard]] QSocketNotifier* readNotifier();

    QSerialPort m_port;
    QPointer<QSocketNotifier> m_readNotifier;  // found among m_port's children
    QByteArray m_collected;                    // read by deliverWaiting(), not yet taken
    bool m_opening = false;
    bool m_permissionDenied = false;
    QString m_error;
};

}  // namespace trellicap
