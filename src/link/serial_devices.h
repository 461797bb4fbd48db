// The serial devices the computer has now, as the system describes them: QSerialPortInfo for
// the device, its description, maker, serial number and USB vendor and product, and on Linux
// the /dev/serial/by-id and /dev/serial/by-path links udev makes for it. The port selection
// lists them; the adapter watch looks among them for an adapter that went away.
//
// A pseudo-terminal (the simulator's) is never listed (QSerialPortInfo does not list
// /dev/pts/N) and has no USB identity: it is found by its path alone (resolve()).
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace trellicap {

struct SerialDeviceInfo {
    QString systemLocation;  // "/dev/ttyUSB0", "\\.\COM3"
    QString portName;        // "ttyUSB0", "COM3"
    QString description;     // "FT232R USB UART"
    QString manufacturer;    // "FTDI"
    QString serialNumber;    // empty: the adapter has none
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString byIdPath;    // its /dev/serial/by-id link, empty when there is none
    QString byPathPath;  // its /dev/serial/by-path link (the USB socket it sits in)

    [[nodiscard]] bool isUsb() const { return vendorId.has_value() && productId.has_value(); }
    friend bool operator==(const SerialDeviceInfo&, const SerialDeviceInfo&) = default;
};

class SerialDeviceSource {
public:
    virtual ~SerialDeviceSource() = default;
    // The devices present now, in the system's order.
    [[nodiscard]] virtual QList<SerialDeviceInfo> presentDevices() const = 0;
    // The device a path leads to now, links followed ("/dev/serial/by-id/usb-..." gives
    // "/dev/ttyUSB0"); empty when nothing is there.
    [[nodiscard]] virtual QString resolve(const QString& path) const = 0;
    // The present device at `device` (a resolved path), if the system describes one.
    [[nodiscard]] virtual std::optional<SerialDeviceInfo> deviceAt(const QString& device) const;
};

// The system's own devices (QSerialPortInfo and, on Linux, udev's links).
class SystemSerialDevices final : public SerialDeviceSource {
public:
    // `serialLinks`: the folder holding by-id/ and by-path/ ("/dev/serial").
    explicit SystemSerialDevices(QString serialLinks = QStringLiteral("/dev/serial"));

    [[nodiscard]] QList<SerialDeviceInfo> presentDevices() const override;
    [[nodiscard]] QString resolve(const QString& path) const override;
    // A device no udev link leads to (a pseudo-terminal, a built-in port) is no USB adapter:
    // found without asking the system for every device it has (a start-up's port would
    // otherwise wait on a scan of a hundred ttys).
    [[nodiscard]] std::optional<SerialDeviceInfo> deviceAt(const QString& device) const override;

private:
    QString m_serialLinks;
};

// "FT232R USB UART (FTDI), serial number A6008isP", "..., no serial number", for the port
// selection.
[[nodiscard]] QString describeSerialDevice(const SerialDeviceInfo& device);
// The path that opens this adapter and no other whatever name the system gives it next time:
// its by-id link where it has one, else its device.
[[nodiscard]] QString pinnedPath(const SerialDeviceInfo& device);

}  // namespace trellicap
