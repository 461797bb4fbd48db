#include "archive/connection_interrupt.h"

#include <QSqlDriver>
#include <QVariant>

#ifdef TRELLICAP_HAVE_LIBPQ
#include <libpq-fe.h>
#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif
#endif

namespace trellicap::archive {

void ConnectionInterrupt::attach(const QSqlDatabase& db) {
#ifdef TRELLICAP_HAVE_LIBPQ
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // Qt names the handle's type by libpq's struct: "pg_conn*" (PGconn* in libpq's words).
    if (!handle.isValid() || (qstrcmp(handle.typeName(), "pg_conn*") != 0 &&
                              qstrcmp(handle.typeName(), "PGconn*") != 0)) {
        return;
    }
    PGconn* connection = *static_cast<PGconn* const*>(handle.constData());
    if (!connection) {
        return;
    }
    const std::lock_guard lock(m_mutex);
    m_socket = PQsocket(connection);
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
#ifdef TRELLICAP_HAVE_LIBPQ
    m_cut = true;
#ifdef Q_OS_WIN
    ::shutdown(static_cast<SOCKET>(m_socket), SD_BOTH);
#else
    ::shutdown(static_cast<int>(m_socket), SHUT_RDWR);
#endif
    return true;
#else
    return false;
#endif
}

}  // namespace trellicap::archive
