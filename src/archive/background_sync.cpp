#include "archive/background_sync.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>

#include "archive/connection_interrupt.h"
#include "archive/outliving_threads.h"
#include "archive/server_conf.h"
#include "archive/sync_worker.h"

namespace trellicap::archive {

namespace {

// "14:02" for today, "07.12. 16:40" for an earlier day.
QString whenText(const QString& iso) {
    const QDateTime when = QDateTime::fromString(iso, Qt::ISODate).toLocalTime();
    if (!when.isValid()) {
        return iso;
    }
    if (when.date() == QDate::currentDate()) {
        return when.toString(QStringLiteral("HH:mm"));
    }
    return when.toString(QStringLiteral("dd.MM. HH:mm"));
}

}  // namespace

QString syncStatusText(const SyncStatus& status) {
    if (!status.configured) {
        return {};
    }
    QString text = QStringLiteral("Team server: ");
    if (status.running) {
        text += QStringLiteral("sending");
    } else if (!status.reason.isEmpty()) {
        text += QStringLiteral("not reached");
    } else if (!status.lastSync.isEmpty()) {
        text += QStringLiteral("last sync ") + whenText(status.lastSync);
    } else {
        text += QStringLiteral("no sync yet");
    }
    if (status.waiting >= 0) {
        text += QStringLiteral(", %1 waiting").arg(status.waiting);
    }
    if ((status.running || !status.reason.isEmpty()) && !status.lastSync.isEmpty()) {
        text += QStringLiteral(" (last sync %1)").arg(whenText(status.lastSync));
    }
    return text;
}

BackgroundSync::BackgroundSync(QString workingFolder, QString archivePath, QObject* parent)
    : QObject(parent),
      m_workingFolder(std::move(workingFolder)),
      m_archivePath(std::move(archivePath)),
      m_stop(std::make_shared<std::atomic<bool>>(false)),
      m_interrupt(std::make_shared<ConnectionInterrupt>()),
      m_thread(new QThread(this)),
      m_worker(new SyncWorker(m_stop, m_interrupt)) {
    qRegisterMetaType<trellicap::archive::SyncResult>();
    m_thread->setObjectName(QStringLiteral("team server sync"));
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &SyncWorker::batchCommitted, this, &BackgroundSync::batchCommitted);
    connect(m_worker, &SyncWorker::finished, this, &BackgroundSync::finished);
    connect(&m_timer, &QTimer::timeout, this, &BackgroundSync::requestSync);
    m_thread->start();
}

BackgroundSync::~BackgroundSync() {
    // The sync under way ends after its batch. One that waits for a server that went silent
    // has its connection cut, which ends the wait at once; one still connecting (at most the
    // connect timeout) is left to end on its own: the program does not wait for it.
    m_stop->store(true);
    m_thread->quit();
    QDeadlineTimer deadline(kExitWaitMs);
    if (m_thread->wait(QDeadlineTimer(kExitWaitMs / 2))) {
        return;
    }
    m_interrupt->interrupt();
    if (m_thread->wait(deadline)) {
        return;
    }
    // The thread and its worker delete themselves when the connect gives up.
    letThreadOutliveItsOwner(m_thread);
}

void BackgroundSync::start(int intervalMs) {
    m_timer.setInterval(intervalMs);
    reloadServer();
}

void BackgroundSync::reloadServer() {
    const ServerConf conf = readServerConf(m_workingFolder);
    m_serverUrl = conf.url;
    m_status.configured = !m_serverUrl.isEmpty() || !conf.error.isEmpty();
    m_status.reason = conf.error;
    if (m_serverUrl.isEmpty()) {
        m_timer.stop();
        publish();
        return;
    }
    m_timer.start();
    requestSync();
}

void BackgroundSync::requestSync() {
    if (m_serverUrl.isEmpty()) {
        return;
    }
    if (m_status.running) {
        m_again = true;
        return;
    }
    m_status.running = true;
    publish();
    QMetaObject::invokeMethod(
        m_worker,
        [worker = m_worker, path = m_archivePath, url = m_serverUrl] { worker->sync(path, url); },
        Qt::QueuedConnection);
}

void BackgroundSync::batchCommitted(const SyncResult& soFar) {
    m_status.reached = true;
    m_status.reason.clear();
    Q_UNUSED(soFar);
    publish();
}

void BackgroundSync::finished(const SyncResult& result, const QString& lastSync) {
    m_status.running = false;
    m_status.reached = result.ok;
    m_status.reason = result.ok ? QString() : result.error;
    m_status.lastSync = lastSync;
    m_status.waiting = result.waiting;
    publish();
    if (m_again) {
        m_again = false;
        requestSync();
    }
}

void BackgroundSync::publish() {
    emit statusChanged(m_status);
}

}  // namespace trellicap::archive
