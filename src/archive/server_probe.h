// "Test connection": connect to the team server and say what it answered. Blocks while
// libpq connects (up to the connect timeout): call it off the window's thread.
#pragma once

#include <QString>

#include "archive/server_address.h"

namespace trellicap::archive {

struct ServerAnswer {
    bool connected = false;
    QString text;  // "Connected: PostgreSQL 15.18, database office, as anna" or the reason
};

[[nodiscard]] ServerAnswer probeServer(const ServerAddress& address);

}  // namespace trellicap::archive
