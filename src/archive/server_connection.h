// One connection to the team server, owned by the thread that makes it: Qt Sql connections
// must not cross threads, so the sync, the search and the connection test each open their
// own and close it when done.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include "archive/db_connection.h"
#include "archive/server_address.h"

class QSqlError;

namespace trellicap::archive {

class ConnectionInterrupt;

class ServerConnection {
public:
    explicit ServerConnection(const ServerAddress& address);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // Connects; false with error() saying what the server (or the network) answered, in
    // words where the answer alone would puzzle (a password that was not found).
    // `interrupt`: published once connected, so that another thread can cut it.
    bool open(ConnectionInterrupt* interrupt = nullptr);
    void close();
    [[nodiscard]] QSqlDatabase database() const;
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] const ServerAddress& address() const { return m_address; }

private:
    ServerAddress m_address;
    DbConnection m_connection;
    ConnectionInterrupt* m_interrupt = nullptr;
    QString m_error;
};

// The server's reason on one line (libpq's messages run over several).
[[nodiscard]] QString serverReason(const QSqlError& error);

// libpq's "no password supplied" as what to do about it: where PostgreSQL looks for the
// password (~/.pgpass, PGPASSWORD) and, when ~/.pgpass is there but others may read it,
// that PostgreSQL ignores it for that reason. Other reasons come back as they are.
[[nodiscard]] QString explainRefusal(const QString& reason, const ServerAddress& address);

}  // namespace trellicap::archive
