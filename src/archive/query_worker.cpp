#include "archive/query_worker.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include "archive/connection_interrupt.h"

namespace trellicap::archive {

QueryWorker::QueryWorker(const ModelProfile& profile,
                         std::shared_ptr<ConnectionInterrupt> interrupt)
    : m_profile(profile), m_interrupt(std::move(interrupt)) {}

QueryWorker::~QueryWorker() {
    disconnectAll();
}

void QueryWorker::useArchive(const QString& archivePath) {
    disconnectAll();
    m_server.reset();
    m_archivePath = archivePath;
}

void QueryWorker::useServer(const ServerAddress& address, int deadlineMs) {
    disconnectAll();
    m_server = address;
    m_archivePath.clear();
    m_deadlineMs = deadlineMs;
}

void QueryWorker::disconnectAll() {
    m_remoteDb = QSqlDatabase();
    m_remote.reset();
    m_local.reset();
}

QSqlDatabase* QueryWorker::connection(QString* error) {
    if (m_server) {
        if (m_remote && (m_interrupt->wasCut() || !m_remoteDb.isOpen())) {
            disconnectAll();  // cut at a deadline, or lost: of no further use
        }
        if (!m_remote) {
            auto server = std::make_unique<ServerConnection>(*m_server);
            if (!server->open(m_interrupt.get())) {
                *error = server->error();
                return nullptr;
            }
            m_remoteDb = server->database();
            // The server gives up on its own as the caller does: no work is left behind.
            QSqlQuery limit(m_remoteDb);
            limit.exec(QStringLiteral("SET statement_timeout = %1").arg(m_deadlineMs));
            m_remote = std::move(server);
        }
        return &m_remoteDb;
    }
    if (!m_local) {
        if (!QFileInfo::exists(m_archivePath)) {
            *error = QStringLiteral("there is no archive at %1").arg(m_archivePath);
            return nullptr;
        }
        auto local = std::make_unique<DbConnection>(QStringLiteral("QSQLITE"),
                                                    QStringLiteral("trellicap-queries"));
        if (!openSqliteReadOnly(*local, m_archivePath)) {
            *error = local->db().lastError().text().simplified();
            return nullptr;
        }
        m_local = std::move(local);
    }
    return &m_local->db();
}

}  // namespace trellicap::archive
