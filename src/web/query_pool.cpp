#include "web/query_pool.h"

#include <QSqlQuery>

namespace trellicap::web {

struct QueryPool::Task {
    const Job* job = nullptr;
    Outcome outcome;
    bool done = false;
    std::condition_variable finished;
};

QueryPool::QueryPool(Opener opener, int connections) : m_opener(std::move(opener)) {
    for (int i = 0; i < std::max(1, connections); ++i) {
        m_threads.emplace_back([this] { work(); });
    }
}

QueryPool::~QueryPool() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_waiting.notify_all();
    for (std::thread& thread : m_threads) {
        thread.join();
    }
}

QueryPool::Outcome QueryPool::run(const Job& job) {
    auto task = std::make_shared<Task>();
    task->job = &job;
    std::unique_lock lock(m_mutex);
    if (m_stopping) {
        return {false, QStringLiteral("the server is stopping")};
    }
    m_tasks.push_back(task);
    m_waiting.notify_one();
    task->finished.wait(lock, [&task] { return task->done; });
    return task->outcome;
}

void QueryPool::work() {
    std::unique_ptr<archive::ReadOnlyArchive> archive;
    bool connected = false;
    const auto connect = [&]() -> QString {
        if (!archive) {
            archive = m_opener();
        }
        connected = archive->open();
        return connected ? QString() : archive->error();
    };
    for (;;) {
        std::shared_ptr<Task> task;
        {
            std::unique_lock lock(m_mutex);
            m_waiting.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
            if (m_tasks.empty()) {
                break;
            }
            task = m_tasks.front();
            m_tasks.pop_front();
        }
        Outcome outcome;
        if (!connected) {
            outcome.error = connect();
        }
        if (connected) {
            outcome.ok = (*task->job)(archive->db(), &outcome.error);
            if (!outcome.ok) {
                // A refusal of the query itself, or a connection that went away (a server
                // restarted, a network that dropped)? Only the latter is worth a second try.
                QSqlQuery alive(archive->db());
                if (!alive.exec(QStringLiteral("SELECT 1"))) {
                    const QString reconnect = connect();
                    if (connected) {
                        outcome.error.clear();
                        outcome.ok = (*task->job)(archive->db(), &outcome.error);
                    } else {
                        outcome.error = reconnect;
                    }
                }
            }
        }
        {
            std::lock_guard lock(m_mutex);
            task->outcome = std::move(outcome);
            task->done = true;
        }
        task->finished.notify_all();
    }
    // The connection belongs to this thread: it goes with it.
    archive.reset();
}

}  // namespace trellicap::web
