// One sync on the background thread: it opens its own connections to the local archive and
// to the server (connections never cross threads) and closes them when done.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

#include "archive/archive_sync.h"

namespace trellicap::archive {

class ConnectionInterrupt;

class SyncWorker : public QObject {
    Q_OBJECT
public:
    // stop: set by the program when it closes; interrupt: where the worker publishes its
    // server connection, so that the closing program can cut it.
    SyncWorker(std::shared_ptr<std::atomic<bool>> stop,
               std::shared_ptr<ConnectionInterrupt> interrupt)
        : m_stop(std::move(stop)), m_interrupt(std::move(interrupt)) {}

    // Runs on the worker's thread; reports through the signals, never throws.
    void sync(const QString& archivePath, const QString& serverUrl);

signals:
    void batchCommitted(const trellicap::archive::SyncResult& soFar);
    // lastSync: when a sync last reached its end with this server (this one or earlier).
    void finished(const trellicap::archive::SyncResult& result, const QString& lastSync);

private:
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::shared_ptr<ConnectionInterrupt> m_interrupt;
};

}  // namespace trellicap::archive
