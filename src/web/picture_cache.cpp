#include "web/picture_cache.h"

namespace trellicap::web {

std::optional<QByteArray> PictureCache::find(const QString& key) {
    std::lock_guard lock(m_mutex);
    auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        return std::nullopt;
    }
    m_uses.splice(m_uses.begin(), m_uses, found->second.use);
    return found->second.picture;
}

void PictureCache::insert(const QString& key, const QByteArray& picture) {
    if (picture.size() > m_limit) {
        return;
    }
    std::lock_guard lock(m_mutex);
    if (m_entries.contains(key)) {
        return;
    }
    m_uses.push_front(key);
    m_entries[key] = {picture, m_uses.begin()};
    m_bytes += picture.size();
    while (m_bytes > m_limit && !m_uses.empty()) {
        const auto oldest = m_entries.find(m_uses.back());
        m_bytes -= oldest->second.picture.size();
        m_entries.erase(oldest);
        m_uses.pop_back();
    }
}

qsizetype PictureCache::bytes() {
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

}  // namespace trellicap::web
