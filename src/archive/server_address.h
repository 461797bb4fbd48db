// Where the team's PostgreSQL server is: a postgresql://USER@HOST:PORT/DATABASE address,
// parsed into the settings of a Qt Sql connection. No password ever travels through here:
// libpq takes it from ~/.pgpass or PGPASSWORD, or the server trusts the laptop.
#pragma once

#include <QString>

class QSqlDatabase;

namespace trellicap::archive {

struct ServerAddress {
    QString user;
    QString host;
    int port = 5432;
    QString database;

    friend bool operator==(const ServerAddress&, const ServerAddress&) = default;
};

struct ServerAddressParse {
    ServerAddress address;
    QString error;  // empty when the text is a usable address
    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

// postgresql:// (or postgres://) USER@HOST[:PORT]/DATABASE; percent-escapes decoded. An
// address holding a password is refused: the program keeps none.
[[nodiscard]] ServerAddressParse parseServerAddress(const QString& text);

// The canonical text of an address, which parseServerAddress reads back to the same.
[[nodiscard]] QString serverAddressText(const ServerAddress& address);

// The QPSQL driver's name, and how long a connection attempt may take before it gives up:
// a laptop on a site network must not wait minutes for an office that cannot be reached.
inline constexpr const char* kServerDriver = "QPSQL";
inline constexpr int kServerConnectTimeoutSeconds = 5;

// Host, port, user, database and the connect timeout on a connection of the QPSQL driver.
void applyServerAddress(QSqlDatabase& database, const ServerAddress& address);

}  // namespace trellicap::archive
