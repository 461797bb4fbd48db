// Where the server listens: ADDR:PORT as --listen takes it ("127.0.0.1:8080", "[::1]:8080",
// "0.0.0.0:8080", "localhost:8080"), and whether that address keeps the server to this
// computer (only then may it run without a login).
#pragma once

#include <QString>

namespace trellicap::web {

struct ListenAddress {
    QString host;     // an IP address as written, or "localhost"
    int port = 8080;  // 0: any free port, chosen when the server binds
};

struct ListenParse {
    ListenAddress address;
    QString error;  // empty when the text is usable
    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

[[nodiscard]] ListenParse parseListenAddress(const QString& text);

// 127.0.0.0/8, ::1 and "localhost": reachable from this computer only.
[[nodiscard]] bool isLoopback(const ListenAddress& address);

// "127.0.0.1:8080", "[::1]:8080".
[[nodiscard]] QString listenText(const ListenAddress& address);

}  // namespace trellicap::web
