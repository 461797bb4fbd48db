#include "link/qt_serial_port.h"

#include <QFileInfo>
#include <QTimer>
#include <utility>

#include "link/port_loss_reason.h"

namespace trellicap {

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

bool QtSerialPort::open(const QString& device) {
    close();
    m_permissionDenied = false;
    m_error.clear();
    if (device.isEmpty()) {
        m_error = tr("No device is configured for this port.");
        return false;
    }
    m_port.setPortName(device);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_opening = true;
    const bool ok = m_port.open(QIODevice::ReadWrite);
    m_opening = false;
    if (!ok) {
        m_error = m_port.errorString();
        m_permissionDenied = m_port.error() == QSerialPort::PermissionError &&
                             QFileInfo::exists(device) && !QFileInfo(device).isWritable();
        return false;
    }
    m_port.clear();  // Qt 6.4 keeps bytes that waited before the open
    return true;
}

void QtSerialPort::close() {
    m_collected.clear();
    if (m_port.isOpen()) {
        m_port.close();
    }
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen();
}
QString QtSerialPort::deviceName() const {
    return m_port.portName();
}
void QtSerialPort::write(const QByteArray& bytes) {
    m_port.write(bytes);
}
qint64 QtSerialPort::bytesAvailable() const {
    return m_port.bytesAvailable() + m_collected.size();
}
QByteArray QtSerialPort::readAll() {
    // QSerialPort's buffer only when it holds something: a read that empties it, or finds it
    // empty, calls readData(), which switches the read notifier back on behind a receiver
    // that switched it off. What deliverWaiting() read came after anything in that buffer.
    QByteArray bytes = m_port.bytesAvailable() > 0 ? m_port.readAll() : QByteArray();
    return bytes + std::exchange(m_collected, {});
}
QString QtSerialPort::errorString() const {
    return m_error;
}
bool QtSerialPort::lastOpenDeniedPermission() const {
    return m_permissionDenied;
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || m_opening) {
        return;  // fired on every open(); open() reports its own failure
    }
    // After an unplug or a pty hang-up Qt 6.4 may report ReadError (stale errno) instead of
    // ResourceError, with the read notifier still live: close on both, report once, queued,
    // so the port is never torn down inside its own signal.
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
        error == QSerialPort::WriteError) {
        if (!m_port.isOpen()) {
            return;
        }
        const QString reason = portLossReason(error, m_port.errorString());
        m_port.clearError();
        QTimer::singleShot(0, this, [this, reason] {
            if (m_port.isOpen()) {
                m_port.close();
                emit connectionLost(reason);
            }
        });
    }
}

}  // namespace trellicap
