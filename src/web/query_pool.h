// The archive's connections and the threads that own them. Qt Sql connections must stay on
// the thread that made them, and the number of connections (to the team server, above all)
// should not grow with the number of browsers: so a few threads each keep one read-only
// connection, and a request hands its queries to them and waits for the answer, however
// many requests arrive at once. A connection that fails is made anew, and a query that
// failed because its connection had gone is tried once more on the new one.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "archive/read_only_archive.h"

namespace trellicap::web {

class QueryPool {
public:
    using Opener = std::function<std::unique_ptr<archive::ReadOnlyArchive>()>;
    // Reads what it needs from the connection; false with the reason when the database
    // refused a query.
    using Job = std::function<bool(QSqlDatabase& db, QString* error)>;

    QueryPool(Opener opener, int connections);
    ~QueryPool();
    QueryPool(const QueryPool&) = delete;
    QueryPool& operator=(const QueryPool&) = delete;

    struct Outcome {
        bool ok = false;
        QString error;  // what the database answered, or why no connection could be made
    };
    // Runs the job on one of the connections and waits for it.
    [[nodiscard]] Outcome run(const Job& job);

private:
    struct Task;
    void work();

    Opener m_opener;
    std::mutex m_mutex;
    std::condition_variable m_waiting;
    std::deque<std::shared_ptr<Task>> m_tasks;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

}  // namespace trellicap::web
