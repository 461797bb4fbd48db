#include "archive/connection_interrupt.h"

#include "archive/loaded_library.h"

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#elif defined(TRELLICAP_HAVE_LIBPQ)
#include <libpq-fe.h>
#include <winsock2.h>
#endif

namespace trellicap::archive {

namespace {

#if defined(Q_OS_UNIX)
// libpq's PQsocket, taken from the libpq that Qt's PostgreSQL driver has loaded for the
// connection (never loaded here): the window programs need not load libpq and the dozen
// libraries it brings at every start, only when a team server is used.
using PqSocket = int (*)(const void*);

PqSocket pqSocket() {
    PqSocket function = nullptr;
    lookUp(loadedLibpq(), "PQsocket", function);
    return function;
}

long long socketOf(void* connection) {
    const PqSocket pq = pqSocket();
    return pq ? pq(connection) : -1;
}
#elif defined(TRELLICAP_HAVE_LIBPQ)
long long socketOf(void* connection) {
    return PQsocket(static_cast<PGconn*>(connection));
}
#endif

}  // namespace

void holdServerLibrary() {
    (void)loadedLibpq();
}

void ConnectionInterrupt::attach(const QSqlDatabase& db) {
#if defined(TRELLICAP_HAVE_LIBPQ) || defined(Q_OS_UNIX)
    void* connection = libpqConnectionOf(db);
    if (!connection) {
        return;
    }
    const long long socket = socketOf(connection);
    const std::lock_guard lock(m_mutex);
    m_socket = socket;
    m_cut = false;
#else
    Q_UNUSED(db);
#endif
}

void ConnectionInterrupt::detach() {
    const std::lock_guard lock(m_mutex);
    m_socket = -1;
    m_cut = false;
}

bool ConnectionInterrupt::wasCut() {
    const std::lock_guard lock(m_mutex);
    return m_cut;
}

bool ConnectionInterrupt::interrupt() {
    const std::lock_guard lock(m_mutex);
    if (m_socket < 0) {
        return false;
    }
    m_cut = true;
#if defined(Q_OS_UNIX)
    ::shutdown(static_cast<int>(m_socket), SHUT_RDWR);
#elif defined(TRELLICAP_HAVE_LIBPQ)
    ::shutdown(static_cast<SOCKET>(m_socket), SD_BOTH);
#endif
    return true;
}

}  // namespace trellicap::archive
