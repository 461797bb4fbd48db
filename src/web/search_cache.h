// The results of searches, remembered per search, order and archive state: finding the
// versions of a search over 100,000 records reads them all, while showing a page of it reads
// 25 by their keys. A result is used again only while the archive's change stamp is the one
// it was made under; when several requests want the same result at once, one makes it and
// the others wait for it. The results asked for longest ago go when the cache holds more
// keys than its limit.
#pragma once

#include <QString>
#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "archive/archive_pages.h"

namespace trellicap::web {

using SearchKeys = std::shared_ptr<const std::vector<archive::VersionKey>>;

class SearchCache {
public:
    explicit SearchCache(std::size_t mostKeys = 1000000) : m_mostKeys(mostKeys) {}

    // The result of the search `key` under `stamp`: remembered, or made by `make` (null when
    // it fails, and nothing is remembered then).
    [[nodiscard]] SearchKeys get(const QString& key, const QString& stamp,
                                 const std::function<SearchKeys()>& make);

    [[nodiscard]] std::size_t results();

private:
    struct Entry {
        SearchKeys keys;
        bool making = false;
        std::list<QString>::iterator use;
    };
    void forgetOldest();

    std::size_t m_mostKeys;
    std::size_t m_keys = 0;
    std::mutex m_mutex;
    std::condition_variable m_made;
    std::unordered_map<QString, Entry> m_entries;
    std::list<QString> m_uses;  // most recent first
};

}  // namespace trellicap::web
