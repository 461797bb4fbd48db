// How many versions a search finds, remembered per search and archive state: counting a
// search over 100,000 records reads them all, while a page of it reads 25. A count is used
// again only while the archive's change stamp is the one it was made under; when several
// requests want the same count at once, one counts and the others wait for its answer.
#pragma once

#include <QString>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace trellicap::web {

class CountCache {
public:
    explicit CountCache(std::size_t capacity = 512) : m_capacity(capacity) {}

    // The count for the search `key` under `stamp`: remembered, or made by `count` (nothing
    // when it fails, and nothing is remembered then).
    [[nodiscard]] std::optional<qint64> get(const QString& key, const QString& stamp,
                                            const std::function<std::optional<qint64>()>& count);

    [[nodiscard]] std::size_t size();

private:
    struct Entry {
        QString stamp;
        std::optional<qint64> count;
        bool counting = false;
        std::list<QString>::iterator use;
    };
    void forgetOldest();

    std::size_t m_capacity;
    std::mutex m_mutex;
    std::condition_variable m_counted;
    std::unordered_map<QString, Entry> m_entries;
    std::list<QString> m_uses;  // most recent first
};

}  // namespace trellicap::web
