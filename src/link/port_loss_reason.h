// The reason told when a port fails under the link ("Link lost").
//
// QSerialPort (Qt 6.4, Unix) reports a hang-up, a read that returns no bytes, as ReadError
// with errno's text, and errno then holds whatever an earlier call left behind: "Inappropriate
// ioctl for device" from a serial ioctl a pty refuses, "No such file or directory" from a
// lock-file probe. That text is not about the loss, and no list of such leftovers can be
// complete, so after a failed read the port's text is shown only when it is one a read from
// a vanished device really gives (I/O error, no such device). A failed write sets errno itself:
// its text is shown as it is.
#pragma once

#include <QSerialPort>
#include <QString>

namespace trellicap {

[[nodiscard]] QString portLossReason(QSerialPort::SerialPortError error, const QString& portText);

}  // namespace trellicap
