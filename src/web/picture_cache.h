// Pictures of kept versions, kept in memory once drawn (the thumbnails of the search results,
// the record pages' SVG plots): a version's values never change, so its picture is drawn
// once and served again until the cache holds more than its limit, when the ones asked for
// longest ago go first.
#pragma once

#include <QByteArray>
#include <QString>
#include <list>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace trellicap::web {

class PictureCache {
public:
    explicit PictureCache(qsizetype limitBytes = 64LL * 1024 * 1024) : m_limit(limitBytes) {}

    [[nodiscard]] std::optional<QByteArray> find(const QString& key);
    void insert(const QString& key, const QByteArray& picture);
    [[nodiscard]] qsizetype bytes();

private:
    struct Entry {
        QByteArray picture;
        std::list<QString>::iterator use;
    };

    qsizetype m_limit;
    qsizetype m_bytes = 0;
    std::mutex m_mutex;
    std::unordered_map<QString, Entry> m_entries;
    std::list<QString> m_uses;  // most recent first
};

}  // namespace trellicap::web
