#include "link/port_loss_reason.h"

#include <QCoreApplication>
#include <cerrno>
#include <initializer_list>

namespace trellicap {

namespace {

// The errors a read from a device that went away can end with.
bool isReadLossText(const QString& text) {
    for (const int code : {EIO, ENXIO, ENODEV}) {
        if (text == qt_error_string(code)) {
            return true;
        }
    }
    return false;
}

bool textBelongsToTheLoss(QSerialPort::SerialPortError error, const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) {
        return isReadLossText(text);
    }
    return true;
}

}  // namespace

QString portLossReason(QSerialPort::SerialPortError error, const QString& portText) {
    const QString what = QCoreApplication::translate(
        "trellicap::QtSerialPort", "The device was disconnected or closed by the other end");
    if (textBelongsToTheLoss(error, portText)) {
        return QStringLiteral("%1 (%2).").arg(what, portText);
    }
    return what + QLatin1Char('.');
}

}  // namespace trellicap
