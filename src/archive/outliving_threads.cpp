#include "archive/outliving_threads.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>
#include <mutex>
#include <vector>

#include "archive/server_address.h"

namespace trellicap::archive {

namespace {

// libpq tries each address of a host name in turn, each with the connect timeout: two
// (IPv4 and IPv6) and a second to spare.
constexpr int kLongestWaitMs = (2 * kServerConnectTimeoutSeconds + 1) * 1000;

std::mutex& listMutex() {
    static std::mutex mutex;
    return mutex;
}

// Only the main thread adds, deletes (deleteLater) and reads these: QPointer is safe here.
std::vector<QPointer<QThread>>& outliving() {
    static std::vector<QPointer<QThread>> threads;
    return threads;
}

void waitForOutlivingThreads() {
    std::vector<QPointer<QThread>> threads;
    {
        const std::lock_guard lock(listMutex());
        threads.swap(outliving());
    }
    const QDeadlineTimer deadline(kLongestWaitMs);
    for (const QPointer<QThread>& thread : threads) {
        if (thread) {
            thread->wait(deadline);
        }
    }
}

}  // namespace

void letThreadOutliveItsOwner(QThread* thread) {
    static std::once_flag registered;
    std::call_once(registered, [] { qAddPostRoutine(waitForOutlivingThreads); });
    thread->setParent(nullptr);
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    const std::lock_guard lock(listMutex());
    auto& threads = outliving();
    std::erase_if(threads, [](const QPointer<QThread>& known) { return known.isNull(); });
    threads.emplace_back(thread);
}

}  // namespace trellicap::archive
