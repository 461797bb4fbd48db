// A record file opened as the window's File > Open reads it: the same reader, the same
// memory-number rule for the slot marks, the same words for what went wrong. The tool goes
// further than the window in one thing: a file that does not load completely is refused, so
// that no report or table is ever made from a partial load.
#pragma once

#include <QString>
#include <array>
#include <memory>

#include "cli/models.h"
#include "session/session.h"

namespace trellicap::cli {

struct RecordInput {
    const CliModel* model = nullptr;
    bool modelFromSize = false;  // the file's size told the model, not --model
    qint64 fileBytes = 0;
    std::unique_ptr<Session> session;       // no port: the file's records, and the record shown
    std::array<bool, kSlotCount> marked{};  // LoadResult::marked
};

// Loads path as a record file of `model`, or of the model its size belongs to when `model` is
// null. Bad input: a file that cannot be opened, a size of neither model without --model, a
// load that stops early (with how far it got).
[[nodiscard]] RecordInput loadInput(const QString& path, const CliModel* model);

}  // namespace trellicap::cli
