// One connection to the team server, owned by the thread that makes it: Qt Sql connections
// must not cross threads, so the sync, the search and the connection test each open their
// own and close it when done.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include "archive/server_address.h"

class QSqlError;

namespace trellicap::archive {

class ServerConnection {
public:
    explicit ServerConnection(const ServerAddress& address);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // Connects; false with error() saying what the server (or the network) answered.
    bool open();
    [[nodiscard]] QSqlDatabase database() const;
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] const ServerAddress& address() const { return m_address; }

private:
    ServerAddress m_address;
    QString m_name;
    QString m_error;
};

// The server's reason on one line (libpq's messages run over several).
[[nodiscard]] QString serverReason(const QSqlError& error);

}  // namespace trellicap::archive
