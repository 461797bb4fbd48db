// Cuts a team server connection from another thread: the thread that uses the connection
// publishes its socket once connected, and the program's exit or a query's deadline shuts
// that socket down, so that a call waiting for a server that went silent returns at once
// with an error instead of after the TCP timeouts. The connection's own thread then closes
// it as after any failure. (On POSIX, libpq is looked up in the process once the driver has
// loaded it; on Windows it needs libpq at build time. Without it interrupt()
// does nothing and the caller waits for the timeouts.)
#pragma once

#include <QSqlDatabase>
#include <mutex>

namespace trellicap::archive {

// Once Qt's PostgreSQL driver is loaded: keeps its libpq loaded until the process ends.
void holdServerLibrary();

class ConnectionInterrupt {
public:
    // On the connection's thread, right after it opened: the socket may be cut from now on.
    void attach(const QSqlDatabase& db);
    // On the connection's thread, before it closes: the socket is no longer the server's.
    void detach();
    // From any thread: shuts the socket down; false when there was none to cut.
    bool interrupt();
    // On the connection's thread: whether the socket was cut since it was attached (the
    // connection is then of no further use).
    [[nodiscard]] bool wasCut();

private:
    std::mutex m_mutex;
    long long m_socket = -1;
    bool m_cut = false;
};

}  // namespace trellicap::archive
