#include "archive/connection_interrupt.h"

#include <QSqlDriver>
#include <QVariant>
#include <atomic>

#ifdef Q_OS_UNIX
#include <dlfcn.h>
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

// libpq as the driver loaded it, held for the rest of the process: a thread still waiting in
// libpq for a silent server when the program ends must not find it unloaded under its feet.
void* heldLibpq() {
    static std::atomic<void*> held{nullptr};
    if (void* known = held.load()) {
        return known;
    }
    for (const char* name : {"libpq.so.5", "libpq.5.dylib", "libpq.so", "libpq.dylib"}) {
        if (void* library = dlopen(name, RTLD_NOW | RTLD_NOLOAD)) {
            void* expected = nullptr;
            if (!held.compare_exchange_strong(expected, library)) {
                dlclose(library);  // another thread holds it already
                return expected;
            }
            return library;
        }
    }
    return nullptr;
}

PqSocket pqSocket() {
    void* library = heldLibpq();
    return library ? reinterpret_cast<PqSocket>(dlsym(library, "PQsocket")) : nullptr;
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
#if defined(Q_OS_UNIX)
    (void)heldLibpq();
#endif
}

void ConnectionInterrupt::attach(const QSqlDatabase& db) {
#if defined(TRELLICAP_HAVE_LIBPQ) || defined(Q_OS_UNIX)
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // Qt names the handle's type by libpq's struct: "pg_conn*" (PGconn* in libpq's words).
    if (!handle.isValid() || (qstrcmp(handle.typeName(), "pg_conn*") != 0 &&
                              qstrcmp(handle.typeName(), "PGconn*") != 0)) {
        return;
    }
    void* connection = *static_cast<void* const*>(handle.constData());
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
