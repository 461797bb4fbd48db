// The trigram index of a laptop's archive (version_search), kept up to date outside the commit
// that keeps a capture: a version arrives unindexed, and the versions kept after the mark
// (search_indexed.up_to, schema version 6) are indexed later, in one transaction that moves
// the mark past them, by the keeper when it is idle, or by whoever needs the index whole. A
// search finds the versions after the mark as the scan does (archive_search.h), so nothing
// is missed in between; a crash before the indexing only leaves more of it for next time.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace trellicap::archive {

// Versions indexed in one transaction when the whole tail is wanted at once (the keeper takes
// smaller slices of its idle time).
inline constexpr int kIndexBatch = 2000;

struct IndexStep {
    bool ok = false;
    int indexed = 0;    // versions added to the index
    bool more = false;  // versions after the mark still wait
    QString error;      // the engine's words, when !ok
};

// Indexes at most `limit` versions after the mark in one transaction. An archive without a
// mark (older than version 6, read and never migrated) is indexed by its own triggers: ok,
// nothing to do.
[[nodiscard]] IndexStep indexNewVersions(QSqlDatabase& db, int limit = kIndexBatch);
// The same until nothing waits; false with *error when a step failed.
[[nodiscard]] bool indexAllNewVersions(QSqlDatabase& db, QString* error = nullptr);
// Whether any kept version waits for the index (two reads, no count).
[[nodiscard]] bool indexIsBehind(QSqlDatabase& db);
// How many kept versions wait for the index; -1 when that cannot be read.
[[nodiscard]] int versionsAwaitingIndex(QSqlDatabase& db);

}  // namespace trellicap::archive
