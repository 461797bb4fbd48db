#include "link/qt_serial_port.h"

#include <QFileInfo>

#include "link/port_loss_reason.h"

namespace trellicap {

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent) {
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(kDefaultWriteTimeoutMs);
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(&m_port, &QSerialPort::bytesWritten, this, &QtSerialPort::onBytesWritten);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
    connect(&m_writeTimer, &QTimer::timeout, this, &QtSerialPort::onWriteTimeout);
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
    m_writeTimer.stop();
    if (m_port.isOpen()) {
        m_port.close();  // also drops what is still queued for writing
    }
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen();
}
QString QtSerialPort::deviceName() const {
    return m_port.portName();
}

qint64 QtSerialPort::write(const QByteArray& bytes) {
    if (!m_port.isOpen()) {
        m_error = tr("The port is not open.");
        return -1;
    }
    const qint64 queued = m_port.write(bytes);
    if (queued != bytes.size()) {
        m_error = m_port.errorString();
        return -1;
    }
    if (queued > 0 && !m_writeTimer.isActive()) {
        m_writeTimer.start();
    }
    return queued;
}

qint64 QtSerialPort::bytesToWrite() const {
    return m_port.bytesToWrite();
}

void QtSerialPort::setWriteTimeoutMs(int ms) {
    m_writeTimer.setInterval(ms);
}

qint64 QtSerialPort::bytesAvailable() const {
    return m_port.bytesAvailable();
}
QByteArray QtSerialPort::readAll() {
    return m_port.readAll();
}
QString QtSerialPort::errorString() const {
    return m_error;
}
bool QtSerialPort::lastOpenDeniedPermission() const {
    return m_permissionDenied;
}

void QtSerialPort::onReadyRead() {
    emit readyRead();
}

void QtSerialPort::onBytesWritten() {
    if (m_port.bytesToWrite() > 0) {
        m_writeTimer.start();  // the line moves: the timeout counts from the latest progress
        return;
    }
    m_writeTimer.stop();
    emit allBytesWritten();
}

void QtSerialPort::onWriteTimeout() {
    if (m_port.isOpen() && m_port.bytesToWrite() > 0) {
        closeAndReport(tr("The device took no bytes for %1 ms; the line seems stuck.")
                           .arg(m_writeTimer.interval()),
                       Loss::LineStuck);
    }
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
        QTimer::singleShot(0, this, [this, reason] { closeAndReport(reason, Loss::DeviceGone); });
    }
}

void QtSerialPort::closeAndReport(const QString& reason, Loss loss) {
    if (m_port.isOpen()) {
        // Closed at once, so an adapter that comes back finds its old name free.
        close();
        m_lastLoss = loss;
        emit connectionLost(reason);
    }
}

}  // namespace trellicap
