// What the pages read from the archive, each a few queries run on the query pool's
// connections: a page of a search and how many versions it finds (the search's keys
// remembered until the archive changes), a record's history with the values of the version shown,
// and one version's values for a thumbnail or a download.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "archive/archive_pages.h"
#include "web/query_pool.h"
#include "web/search_cache.h"
#include "web/search_page.h"
#include "web/search_request.h"

namespace trellicap::web {

struct VersionValues {
    archive::KeptVersion kept;
    std::vector<RecordValue> values;
};

struct RecordRead {
    std::vector<archive::VersionHistory> history;
    std::size_t shown = 0;
    std::vector<RecordValue> values;
};

class ArchiveReader {
public:
    explicit ArchiveReader(QueryPool& pool) : m_pool(pool) {}

    // The page the request asks for; nothing with `error` set when the archive failed.
    [[nodiscard]] std::optional<SearchResults> search(const SearchRequest& request, QString* error);
    // The record's history and the values of `version` (the newest when not given). Nothing
    // with `error` empty: no such record or version; with `error` set: the archive failed.
    [[nodiscard]] std::optional<RecordRead> record(const QString& uuid, std::optional<int> version,
                                                   QString* error);
    // One version's short row and values (the same two outcomes as record()).
    [[nodiscard]] std::optional<VersionValues> version(const QString& uuid,
                                                       std::optional<int> version, QString* error);
    // The archive's own identity (a laptop's file), read once.
    [[nodiscard]] QString localIdentity();

private:
    QueryPool& m_pool;
    SearchCache m_searches;
    std::mutex m_identityMutex;
    std::optional<QString> m_identity;
};

}  // namespace trellicap::web
