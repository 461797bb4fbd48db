// Where a comparison trace comes from: a slot of the memory table, or a slot of a record file
// read into a table of its own (the window's table is never touched). Each gives the
// source-neutral ReferenceTrace the plot draws.
#pragma once

#include <QString>
#include <variant>

#include "display/reference_trace.h"
#include "record/record_store.h"
#include "record/user_message.h"

namespace trellicap {

[[nodiscard]] ReferenceTrace referenceFromMemory(const RecordStore& store, int column);

// The slot's record, or why it cannot be had (the file does not open, or ends or stops at a
// bad value before that slot's record is complete).
[[nodiscard]] std::variant<ReferenceTrace, UserMessage> referenceFromFile(
    const ModelProfile& profile, const QString& path, int column);

}  // namespace trellicap
