// What the user is told when a save or a load goes wrong: the path, the reason, and for a
// partial load how far it got, so a short or foreign file is never taken for a whole one.
#pragma once

#include <QString>
#include <optional>

#include "record/user_message.h"
#include "storage/record_file_reader.h"

namespace trellicap {

[[nodiscard]] UserMessage describeSaveFailure(const QString& path, const QString& reason);

// Nothing to say for a complete load.
[[nodiscard]] std::optional<UserMessage> describeLoadFailure(const LoadResult& result,
                                                             const QString& path);

}  // namespace trellicap
