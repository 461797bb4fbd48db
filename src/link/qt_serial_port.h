// SerialPort on QSerialPort, used the way Qt's own serial examples do: readyRead and
// readAll, write and bytesWritten with a timer for the write timeout, errorOccurred.
#pragma once

#include <QSerialPort>
#include <QTimer>

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
    qint64 write(const QByteArray& bytes) override;
    [[nodiscard]] qint64 bytesToWrite() const override;
    void setWriteTimeoutMs(int ms) override;
    [[nodiscard]] qint64 bytesAvailable() const override;
    QByteArray readAll() override;
    [[nodiscard]] QString errorString() const override;
    [[nodiscard]] bool lastOpenDeniedPermission() const override;
    [[nodiscard]] Loss lastLoss() const override { return m_lastLoss; }

private:
    void onReadyRead();
    void onBytesWritten();
    void onWriteTimeout();
    void onError(QSerialPort::SerialPortError error);
    void closeAndReport(const QString& reason, Loss loss);

    QSerialPort m_port;
    QTimer m_writeTimer;  // runs while queued bytes wait for the system
    bool m_opening = false;
    bool m_permissionDenied = false;
    Loss m_lastLoss = Loss::DeviceGone;
    QString m_error;
};

}  // namespace trellicap
