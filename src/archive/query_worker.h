// The other side of ArchiveQueries: the object on the queries' thread that owns the
// connection (opened on the first request, closed after any failure) and runs each request
// there. Not for use on its own.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "archive/archive_queries.h"
#include "archive/db_connection.h"
#include "archive/server_connection.h"

namespace trellicap::archive {

class ConnectionInterrupt;

class QueryWorker : public QObject {
    Q_OBJECT
public:
    QueryWorker(const ModelProfile& profile, std::shared_ptr<ConnectionInterrupt> interrupt);
    ~QueryWorker() override;

    // On the worker's thread.
    void useArchive(const QString& archivePath);
    void useServer(const ServerAddress& address, int deadlineMs);
    // Runs `request` (which fills the answer from the open database) and emits the answer;
    // opens the connection first, and closes it after a failure.
    template <typename Request>
    void run(QueryAnswer answer, Request request) {
        if (QSqlDatabase* db = connection(&answer.error)) {
            request(*db, answer);
            // A server that went away closes the connection; some reads then find nothing
            // rather than fail.
            if (answer.error.isEmpty() && !db->isOpen()) {
                answer.error = QStringLiteral("the connection to the server was lost");
            }
            if (!answer.error.isEmpty()) {
                disconnectAll();
            }
        }
        emit answered(answer);
    }

signals:
    void answered(const trellicap::archive::QueryAnswer& answer);

private:
    QSqlDatabase* connection(QString* error);
    void disconnectAll();

    const ModelProfile& m_profile;
    std::shared_ptr<ConnectionInterrupt> m_interrupt;
    QString m_archivePath;
    std::optional<ServerAddress> m_server;
    int m_deadlineMs = ArchiveQueries::kDefaultDeadlineMs;
    std::unique_ptr<DbConnection> m_local;
    std::unique_ptr<ServerConnection> m_remote;
    QSqlDatabase m_remoteDb;
};

}  // namespace trellicap::archive
