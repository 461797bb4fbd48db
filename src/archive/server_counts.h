// What the team server holds: its records counted per model, as `archive verify` prints
// them for a local archive.
#pragma once

#include <QString>
#include <utility>
#include <vector>

class QSqlDatabase;

namespace trellicap::archive {

struct ServerCounts {
    std::vector<std::pair<QString, long long>> perModel;  // ("dac", 5), ("tft", 12)
    QString error;                                        // empty when counted
};

// A server that has never had a sync holds no archive tables: that is zero records, not a
// failure.
[[nodiscard]] ServerCounts countServerRecords(QSqlDatabase& server);

}  // namespace trellicap::archive
