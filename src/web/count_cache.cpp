#include "web/count_cache.h"

namespace trellicap::web {

std::optional<qint64> CountCache::get(const QString& key, const QString& stamp,
                                      const std::function<std::optional<qint64>()>& count) {
    const QString slot = key + QLatin1Char('\x1e') + stamp;
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            auto found = m_entries.find(slot);
            if (found == m_entries.end()) {
                break;
            }
            if (!found->second.counting) {
                m_uses.splice(m_uses.begin(), m_uses, found->second.use);
                return found->second.count;
            }
            m_counted.wait(lock);
        }
        m_uses.push_front(slot);
        m_entries[slot] = {stamp, std::nullopt, true, m_uses.begin()};
        while (m_entries.size() > m_capacity) {
            forgetOldest();
        }
    }
    const std::optional<qint64> counted = count();
    {
        std::lock_guard lock(m_mutex);
        auto found = m_entries.find(slot);
        if (found != m_entries.end()) {
            if (counted) {
                found->second.count = counted;
                found->second.counting = false;
            } else {
                m_uses.erase(found->second.use);
                m_entries.erase(found);
            }
        }
    }
    m_counted.notify_all();
    return counted;
}

void CountCache::forgetOldest() {
    // The oldest entry that is not being counted (a waiting request still needs that one).
    for (auto it = m_uses.end(); it != m_uses.begin();) {
        --it;
        auto entry = m_entries.find(*it);
        if (entry != m_entries.end() && !entry->second.counting) {
            m_entries.erase(entry);
            m_uses.erase(it);
            return;
        }
    }
}

std::size_t CountCache::size() {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

}  // namespace trellicap::web
