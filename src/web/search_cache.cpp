#include "web/search_cache.h"

namespace trellicap::web {

SearchKeys SearchCache::get(const QString& key, const QString& stamp,
                            const std::function<SearchKeys()>& make) {
    const QString slot = key + QLatin1Char('\x1e') + stamp;
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            auto found = m_entries.find(slot);
            if (found == m_entries.end()) {
                break;
            }
            if (!found->second.making) {
                m_uses.splice(m_uses.begin(), m_uses, found->second.use);
                return found->second.keys;
            }
            m_made.wait(lock);
        }
        m_uses.push_front(slot);
        m_entries[slot] = {nullptr, true, m_uses.begin()};
    }
    const SearchKeys made = make();
    {
        std::lock_guard lock(m_mutex);
        auto found = m_entries.find(slot);
        if (made) {
            found->second.keys = made;
            found->second.making = false;
            m_keys += made->size();
            while (m_keys > m_mostKeys && m_entries.size() > 1) {
                forgetOldest();
            }
        } else {
            m_uses.erase(found->second.use);
            m_entries.erase(found);
        }
    }
    m_made.notify_all();
    return made;
}

void SearchCache::forgetOldest() {
    // The oldest result that is made (one being made is still awaited), never the newest.
    for (auto it = std::prev(m_uses.end()); it != m_uses.begin(); --it) {
        auto entry = m_entries.find(*it);
        if (entry != m_entries.end() && !entry->second.making) {
            m_keys -= entry->second.keys->size();
            m_entries.erase(entry);
            m_uses.erase(it);
            return;
        }
    }
    m_keys = std::min(m_keys, m_mostKeys);  // nothing left to forget
}

std::size_t SearchCache::results() {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

}  // namespace trellicap::web
