#include "shell/port/port_config.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSerialPortInfo>

namespace trellicap {

std::optional<PortTarget> parsePortConfig(const QByteArray& content) {
    QByteArray item = content.trimmed();
    for (qsizetype i = 0; i < item.size(); ++i) {
        const char c = item[i];
        if (c == ',' || c == ' ' || c == '\r' || c == '\n' || c == '\t') {
            item.truncate(i);
            break;
        }
    }
    if (item.isEmpty()) {
        return std::nullopt;
    }
    static const QRegularExpression comName(QStringLiteral("^COM[0-9]+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromLocal8Bit(item);
    if (text.startsWith(QLatin1Char('/')) || comName.match(text).hasMatch()) {
        return PortTarget{0, text};
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return PortTarget{static_cast<std::int16_t>(value), {}};
}

std::optional<PortTarget> readPortConfig(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return parsePortConfig(file.readAll());
}

QByteArray portConfigBytes(std::int16_t number) {
    return QByteArray::number(number) + "\r\n";
}

QByteArray portConfigBytes(const PortTarget& target) {
    if (target.devicePath.isEmpty()) {
        return portConfigBytes(target.number);
    }
    return target.devicePath.toLocal8Bit() + "\r\n";
}

std::optional<QString> writePortConfig(const QString& path, std::int16_t number) {
    return writePortConfig(path, PortTarget{number, {}});
}

std::optional<QString> writePortConfig(const QString& path, const PortTarget& target) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    file.write(portConfigBytes(target));
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

QString deviceForPort(int number) {
    if (number < 1) {
        return {};
    }
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString usb = QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
    if (QFileInfo::exists(usb)) {
        return usb;
    }
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString deviceFor(const PortTarget& target) {
    return target.devicePath.isEmpty() ? deviceForPort(target.number) : target.devicePath;
}

QString describePort(int number) {
    const QString device = deviceForPort(number);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.systemLocation() == device || info.portName() == device) {
            const QString what =
                info.description().isEmpty() ? info.manufacturer() : info.description();
            return what.isEmpty() ? device : device + QStringLiteral(" \u2014 ") + what;
        }
    }
    if (QFileInfo::exists(device)) {
        return device;
    }
    return device + QStringLiteral(" \u2014 not present");
}

}  // namespace trellicap
