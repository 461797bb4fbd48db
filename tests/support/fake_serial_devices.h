// The computer's serial devices as a test sets them up: adapters plugged in and pulled out,
// and paths (links, ptys) that lead to devices. A path that is not set leads nowhere.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <algorithm>

#include "link/serial_devices.h"

namespace trellicap::testing {

class FakeSerialDevices final : public SerialDeviceSource {
public:
    [[nodiscard]] QList<SerialDeviceInfo> presentDevices() const override {
        ++m_listings;
        return m_devices;
    }
    [[nodiscard]] QString resolve(const QString& path) const override {
        return m_paths.value(path);
    }

    // An adapter appears: its device, by-id and by-path links lead to it.
    void plugIn(const SerialDeviceInfo& device) {
        m_devices.append(device);
        for (const QString& path : {device.systemLocation, device.byIdPath, device.byPathPath}) {
            if (!path.isEmpty()) {
                m_paths.insert(path, device.systemLocation);
            }
        }
    }
    // The adapter on `systemLocation` goes, and every path that led to it.
    void pullOut(const QString& systemLocation) {
        m_devices.removeIf(
            [&](const SerialDeviceInfo& d) { return d.systemLocation == systemLocation; });
        m_paths.removeIf([&](const auto& entry) { return entry.value() == systemLocation; });
    }
    // A path with no description behind it (a pty, a link to one); empty `device`: gone.
    void setPath(const QString& path, const QString& device) {
        if (device.isEmpty()) {
            m_paths.remove(path);
        } else {
            m_paths.insert(path, device);
        }
    }
    [[nodiscard]] int listings() const { return m_listings; }

private:
    QList<SerialDeviceInfo> m_devices;
    QHash<QString, QString> m_paths;
    mutable int m_listings = 0;
};

// A USB adapter of the usual make (FTDI FT232R), with or without a serial number.
inline SerialDeviceInfo ftdiAdapter(const QString& device, const QString& serial,
                                    const QString& usbSocket) {
    SerialDeviceInfo info;
    info.systemLocation = device;
    info.portName = device.section(QLatin1Char('/'), -1);
    info.description = QStringLiteral("FT232R USB UART");
    info.manufacturer = QStringLiteral("FTDI");
    info.serialNumber = serial;
    info.vendorId = 0x0403;
    info.productId = 0x6001;
    if (!serial.isEmpty()) {
        info.byIdPath =
            QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_%1-if00-port0").arg(serial);
    }
    info.byPathPath =
        QStringLiteral("/dev/serial/by-path/pci-0000:00:14.0-usb-0:%1:1.0-port0").arg(usbSocket);
    return info;
}

}  // namespace trellicap::testing
