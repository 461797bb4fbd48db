// Which adapter a port was opened on, noted when it opens, so that after an unplug the same
// adapter, and no other, is opened again, whatever name the system gives it this time.
//
// How it is known, strongest first:
//   SerialNumber  a USB adapter with a serial number: vendor, product and serial number
//   UsbPlace      a USB adapter without one: vendor and product in the same USB socket (its
//                 /dev/serial/by-path link)
//   Path          anything without USB identity (a pseudo-terminal, a built-in port, a
//                 device the system does not describe): the path the operator configured,
//                 kept as written, so a link such as the simulator's --link is followed to
//                 wherever it points when the device comes back
// A pseudo-terminal named directly (/dev/pts/N) is not worth watching for: the system hands that
// name to the next pty anyone opens, which would be taken for the instrument.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

#include "link/serial_devices.h"

namespace trellicap {

struct AdapterIdentity {
    QString configuredPath;  // as the operator wrote it ("udc.cfg", --port); never rewritten
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString byIdPath;
    QString byPathPath;

    [[nodiscard]] bool known() const { return !configuredPath.isEmpty(); }
    friend bool operator==(const AdapterIdentity&, const AdapterIdentity&) = default;
};

enum class AdapterMatch { SerialNumber, UsbPlace, Path };

[[nodiscard]] AdapterMatch matchBy(const AdapterIdentity& identity);

// The identity of the device `configuredPath` leads to now (it is open, or about to be).
[[nodiscard]] AdapterIdentity identifyAdapter(const QString& configuredPath,
                                              const SerialDeviceSource& devices);
// A device known only by its path (it has not been opened, or has no USB identity).
[[nodiscard]] AdapterIdentity pathIdentity(const QString& configuredPath);

// False for a name the system gives to the next comer once its device is gone (/dev/pts/N
// written as such): nothing found under it later is known to be the same device.
[[nodiscard]] bool canBeFoundAgain(const AdapterIdentity& identity);

// The path to open the adapter by, when it is present now: the configured path where it
// leads to the adapter (a by-id link does, wherever the adapter went), else the device the
// adapter has now. Nothing while it is away, or while only other adapters are there.
[[nodiscard]] std::optional<QString> locateAdapter(const AdapterIdentity& identity,
                                                   const SerialDeviceSource& devices);

}  // namespace trellicap
