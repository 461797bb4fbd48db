#include "archive/sync_worker.h"

#include <QFileInfo>

#include "archive/connection_interrupt.h"
#include "archive/server_address.h"
#include "archive/server_connection.h"
#include "archive/sync_local.h"
#include "archive/sync_marks.h"

namespace trellicap::archive {

void SyncWorker::sync(const QString& archivePath, const QString& serverUrl) {
    SyncResult result;
    QString lastSync;
    if (!QFileInfo::exists(archivePath)) {
        // The archive is made with the first record kept: until then nothing waits.
        result.ok = true;
        emit finished(result, lastSync);
        return;
    }
    SyncLocalArchive local(archivePath);
    if (!local.open()) {
        result.error = local.error();
        result.waiting = -1;  // unknown
        emit finished(result, lastSync);
        return;
    }
    QSqlDatabase localDb = local.database();
    // What the last good sync left: shown while the server cannot be reached.
    const SyncHistory history = syncHistory(localDb, serverUrl);
    lastSync = history.lastSync;
    const ServerAddressParse address = parseServerAddress(serverUrl);
    if (!address.ok()) {
        result.error = address.error;
        result.waiting = versionsWaiting(localDb, history.serverUuid);
        emit finished(result, lastSync);
        return;
    }
    ServerConnection server(address.address);
    if (m_stop->load() || !server.open(m_interrupt.get())) {
        result.error = server.error();
        result.waiting = versionsWaiting(localDb, history.serverUuid);
        emit finished(result, lastSync);
        return;
    }
    QSqlDatabase serverDb = server.database();
    result = syncArchive(localDb, serverDb, {local.workingFolder(), serverUrl},
                         [this](const SyncResult& soFar) {
                             emit batchCommitted(soFar);
                             return !m_stop->load();
                         });
    if (result.ok) {
        lastSync = result.finished;
    }
    emit finished(result, lastSync);
}

}  // namespace trellicap::archive
