// What `archive search` prints: a table of the kept versions, or a JSON object
// {"records": [...]} with each version's facts, its whole record and the files it was
// saved into.
#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <vector>

#include "archive/archive_search.h"

namespace trellicap::cli {

// One line per version under a heading line; columns padded to their widest cell.
[[nodiscard]] QByteArray archiveTable(const std::vector<archive::KeptVersion>& found);
// Reads each version's values from db for its "record" array.
[[nodiscard]] QByteArray archiveJson(QSqlDatabase& db,
                                     const std::vector<archive::KeptVersion>& found);

}  // namespace trellicap::cli
