// What the user is told when a save or a load goes wrong: the path, the reason, and for a
// partial load how far it got, so a short or foreign file is never taken for a whole one.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "record/user_message.h"
#include "storage/record_file_reader.h"

namespace trellicap {

[[nodiscard]] UserMessage describeSaveFailure(const QString& path, const QString& reason);

// Nothing to say for a complete load.
[[nodiscard]] std::optional<UserMessage> describeLoadFailure(const LoadResult& result,
                                                             const QString& path);

// A load that stopped part-way (any outcome but Complete and CannotOpen), put as a choice:
// the same text as describeLoadFailure, then where it stopped and what loading the part
// that was read leaves.
[[nodiscard]] UserMessage describePartialLoadChoice(const LoadResult& result, const QString& path);

// Saving would replace an existing file: the question names it, when it was last changed
// (24-hour local time) and its size, so a day's records are not overwritten by a slip.
[[nodiscard]] UserMessage describeReplaceQuestion(const QString& path, const QDateTime& changed,
                                                  qint64 bytes);

}  // namespace trellicap
