#include "link/adapter_identity.h"

namespace trellicap {

namespace {

bool sameUsbModel(const AdapterIdentity& identity, const SerialDeviceInfo& device) {
    return device.isUsb() && device.vendorId == identity.vendorId &&
           device.productId == identity.productId;
}

std::optional<SerialDeviceInfo> findAdapter(const AdapterIdentity& identity,
                                            const SerialDeviceSource& devices) {
    // Listing the devices costs milliseconds, following a link microseconds: while the link
    // udev makes for the adapter as it appears (by-id, named after its serial number; by-path,
    // its socket) is missing, the adapter is away and the devices are not listed.
    switch (matchBy(identity)) {
        case AdapterMatch::SerialNumber: {
            if (!identity.byIdPath.isEmpty() && devices.resolve(identity.byIdPath).isEmpty()) {
                return std::nullopt;
            }
            for (const SerialDeviceInfo& device : devices.presentDevices()) {
                if (sameUsbModel(identity, device) &&
                    device.serialNumber == identity.serialNumber) {
                    return device;
                }
            }
            break;
        }
        case AdapterMatch::UsbPlace: {
            // The same socket may now hold another adapter of another make: both must agree.
            const QString here = devices.resolve(identity.byPathPath);
            if (here.isEmpty()) {
                return std::nullopt;
            }
            for (const SerialDeviceInfo& device : devices.presentDevices()) {
                if (device.systemLocation == here && sameUsbModel(identity, device) &&
                    device.serialNumber.isEmpty()) {
                    return device;
                }
            }
            break;
        }
        case AdapterMatch::Path:
            break;
    }
    return std::nullopt;
}

}  // namespace

AdapterMatch matchBy(const AdapterIdentity& identity) {
    const bool usb = identity.vendorId.has_value() && identity.productId.has_value();
    if (usb && !identity.serialNumber.isEmpty()) {
        return AdapterMatch::SerialNumber;
    }
    if (usb && !identity.byPathPath.isEmpty()) {
        return AdapterMatch::UsbPlace;
    }
    return AdapterMatch::Path;
}

AdapterIdentity pathIdentity(const QString& configuredPath) {
    AdapterIdentity identity;
    identity.configuredPath = configuredPath;
    return identity;
}

AdapterIdentity identifyAdapter(const QString& configuredPath, const SerialDeviceSource& devices) {
    AdapterIdentity identity = pathIdentity(configuredPath);
    const QString device = devices.resolve(configuredPath);
    if (device.isEmpty()) {
        return identity;
    }
    const std::optional<SerialDeviceInfo> info = devices.deviceAt(device);
    if (info && info->isUsb()) {
        identity.serialNumber = info->serialNumber;
        identity.vendorId = info->vendorId;
        identity.productId = info->productId;
        identity.byIdPath = info->byIdPath;
        identity.byPathPath = info->byPathPath;
    }
    return identity;
}

bool canBeFoundAgain(const AdapterIdentity& identity) {
    return identity.known() && (matchBy(identity) != AdapterMatch::Path ||
                                !identity.configuredPath.startsWith(QStringLiteral("/dev/pts/")));
}

std::optional<QString> locateAdapter(const AdapterIdentity& identity,
                                     const SerialDeviceSource& devices) {
    if (!identity.known()) {
        return std::nullopt;
    }
    const QString configuredLeadsTo = devices.resolve(identity.configuredPath);
    if (matchBy(identity) == AdapterMatch::Path) {
        if (configuredLeadsTo.isEmpty()) {
            return std::nullopt;
        }
        return identity.configuredPath;
    }
    const std::optional<SerialDeviceInfo> adapter = findAdapter(identity, devices);
    if (!adapter) {
        return std::nullopt;
    }
    // "/dev/ttyUSB0" written in udc.cfg may now be another adapter, while ours came back as
    // ttyUSB1: then ours is opened by its own name, and udc.cfg keeps what it holds.
    return configuredLeadsTo == adapter->systemLocation ? identity.configuredPath
                                                        : adapter->systemLocation;
}

}  // namespace trellicap
