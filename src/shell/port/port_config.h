// The port settings file "udc.cfg" and the device a port number opens on this platform.
#pragma once

#include <QString>
#include <optional>

namespace trellicap {

inline constexpr auto kPortConfigName = "udc.cfg";

// What "udc.cfg" names: a port number (Comport n) or, when its first item is a device path
// ("/..." or "COM" + digits), that device as it stands.
struct PortTarget {
    std::int16_t number = 1;
    QString devicePath;  // empty: the device of `number`
    friend bool operator==(const PortTarget&, const PortTarget&) = default;
};

// The first item of the file, ended by a comma, a blank or the line end. Anything that is
// neither a device path nor a 16-bit decimal number gives nullopt.
[[nodiscard]] std::optional<PortTarget> parsePortConfig(const QByteArray& content);
// Reads the file; nullopt when it is missing, unreadable or unusable.
[[nodiscard]] std::optional<PortTarget> readPortConfig(const QString& path);
// The port number in decimal followed by CR LF: port 2 is "2\r\n".
[[nodiscard]] QByteArray portConfigBytes(std::int16_t number);
// The device path as it stands followed by CR LF, or the port number as portConfigBytes.
[[nodiscard]] QByteArray portConfigBytes(const PortTarget& target);
// Creates or overwrites the file whole; on failure returns the reason.
[[nodiscard]] std::optional<QString> writePortConfig(const QString& path, std::int16_t number);
[[nodiscard]] std::optional<QString> writePortConfig(const QString& path, const PortTarget& target);

// "Comport n": COMn on Windows; on Linux /dev/ttyUSB{n-1} when it exists, else /dev/ttyS{n-1}.
// Empty for numbers below 1.
[[nodiscard]] QString deviceForPort(int number);
[[nodiscard]] QString deviceFor(const PortTarget& target);
// A short description of what stands behind a port number, for the port-selection window.
[[nodiscard]] QString describePort(int number);

}  // namespace trellicap
