#include "link/serial_devices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

namespace trellicap {

namespace {

// Device -> the first link to it (in name order) in one of udev's folders.
QHash<QString, QString> linksByDevice(const QString& folder) {
    QHash<QString, QString> links;
    const QDir dir(folder);
    if (!dir.exists()) {
        return links;
    }
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (!entry.isSymLink()) {
            continue;
        }
        const QString device = entry.canonicalFilePath();  // empty for a dangling link
        if (!device.isEmpty() && !links.contains(device)) {
            links.insert(device, entry.absoluteFilePath());
        }
    }
    return links;
}

QString tr(const char* text) {
    return QCoreApplication::translate("trellicap::SerialDevices", text);
}

}  // namespace

SystemSerialDevices::SystemSerialDevices(QString serialLinks)
    : m_serialLinks(std::move(serialLinks)) {}

QList<SerialDeviceInfo> SystemSerialDevices::presentDevices() const {
    const QHash<QString, QString> byId = linksByDevice(m_serialLinks + QStringLiteral("/by-id"));
    const QHash<QString, QString> byPath =
        linksByDevice(m_serialLinks + QStringLiteral("/by-path"));
    QList<SerialDeviceInfo> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDeviceInfo device;
        device.systemLocation = info.systemLocation();
        device.portName = info.portName();
        device.description = info.description();
        device.manufacturer = info.manufacturer();
        device.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier()) {
            device.vendorId = info.vendorIdentifier();
        }
        if (info.hasProductIdentifier()) {
            device.productId = info.productIdentifier();
        }
        device.byIdPath = byId.value(device.systemLocation);
        device.byPathPath = byPath.value(device.systemLocation);
        devices.append(device);
    }
    return devices;
}

std::optional<SerialDeviceInfo> SerialDeviceSource::deviceAt(const QString& device) const {
    for (const SerialDeviceInfo& info : presentDevices()) {
        if (info.systemLocation == device) {
            return info;
        }
    }
    return std::nullopt;
}

std::optional<SerialDeviceInfo> SystemSerialDevices::deviceAt(const QString& device) const {
#ifdef Q_OS_LINUX
    if (!linksByDevice(m_serialLinks + QStringLiteral("/by-id")).contains(device) &&
        !linksByDevice(m_serialLinks + QStringLiteral("/by-path")).contains(device)) {
        return std::nullopt;
    }
#endif
    return SerialDeviceSource::deviceAt(device);
}

QString SystemSerialDevices::resolve(const QString& path) const {
    if (path.isEmpty()) {
        return {};
    }
#ifdef Q_OS_WIN
    // COM ports are no files: a port is there when the system lists it.
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.portName().compare(path, Qt::CaseInsensitive) == 0 ||
            info.systemLocation().compare(path, Qt::CaseInsensitive) == 0) {
            return info.systemLocation();
        }
    }
    return {};
#else
    // A link whose device has gone counts as nothing (exists() follows links).
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : QString();
#endif
}

QString describeSerialDevice(const SerialDeviceInfo& device) {
    QString text = device.description;
    if (!device.manufacturer.isEmpty() && !text.contains(device.manufacturer)) {
        text = text.isEmpty() ? device.manufacturer
                              : QStringLiteral("%1 (%2)").arg(text, device.manufacturer);
    }
    if (text.isEmpty()) {
        text = tr("serial device");
    }
    const QString serial = device.serialNumber.isEmpty()
                               ? tr("no serial number")
                               : tr("serial number %1").arg(device.serialNumber);
    return QStringLiteral("%1, %2").arg(text, serial);
}

QString pinnedPath(const SerialDeviceInfo& device) {
    return device.byIdPath.isEmpty() ? device.systemLocation : device.byIdPath;
}

}  // namespace trellicap
