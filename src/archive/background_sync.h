// The window program's sync to the team server: on a thread of its own with its own
// connections (a server that does not answer never holds up the window), at start, when
// asked (after each capture batch) and every few minutes. It says what it did through
// statusChanged; the window shows that in its status bar.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>

#include "archive/archive_sync.h"

class QThread;

namespace trellicap::archive {

struct SyncStatus {
    bool configured = false;  // archive.conf names a server
    bool running = false;     // a sync is under way
    bool reached = false;     // the last attempt reached the server
    QString lastSync;         // when a sync last reached its end (ISO 8601); empty: never
    int waiting = -1;         // local versions the server does not hold yet; -1: unknown
    QString reason;           // why the last attempt failed; empty when it did not
};

// "Team server: last sync 14:02, 3 waiting", "Team server: not reached, 12 waiting (last
// sync 07.12. 16:40)"; empty when no server is configured.
[[nodiscard]] QString syncStatusText(const SyncStatus& status);

class ConnectionInterrupt;
class SyncWorker;

class BackgroundSync : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultIntervalMs = 5 * 60 * 1000;
    // The longest the program's exit waits for a sync under way.
    static constexpr int kExitWaitMs = 1000;

    // archivePath: the archive.sqlite of workingFolder, whose archive.conf names the server.
    BackgroundSync(QString workingFolder, QString archivePath, QObject* parent = nullptr);
    ~BackgroundSync() override;

    // Reads archive.conf and syncs at once when it names a server, then every intervalMs.
    void start(int intervalMs = kDefaultIntervalMs);
    // archive.conf changed (the Team server window): read it again and sync.
    void reloadServer();
    // New records are in the archive: sync now, or right after the sync under way.
    void requestSync();

    [[nodiscard]] const SyncStatus& status() const { return m_status; }

signals:
    void statusChanged(const trellicap::archive::SyncStatus& status);

private:
    void batchCommitted(const trellicap::archive::SyncResult& soFar);
    void finished(const trellicap::archive::SyncResult& result, const QString& lastSync);
    void publish();

    QString m_workingFolder;
    QString m_archivePath;
    QString m_serverUrl;
    SyncStatus m_status;
    QTimer m_timer;
    bool m_again = false;  // asked while a sync ran
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::shared_ptr<ConnectionInterrupt> m_interrupt;
    QThread* m_thread = nullptr;
    SyncWorker* m_worker = nullptr;  // lives on m_thread
};

}  // namespace trellicap::archive
