// SerialPort on QSerialPort.
#pragma once

#include <QSerialPort>

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
    [[nodiscard]] QString errorString() const override;
    [[nodiscard]] bool lastOpenDeniedPermission() const override;

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    bool m_opening = false;
    bool m_permissionDenied = false;
    QString m_error;
};

}  // namespace trellicap
