// Warnings: the output is made, but something about it may not be what the user meant.
// One line each on standard error; the exit status stays as it is.
#pragma once

#include <QString>
#include <span>

#include "cli/record_input.h"

namespace trellicap::cli {

// "trellicap-cli: warning: " followed by the sentence.
void warn(const QString& sentence);

// The slots among `chosen` that hold no record (the load marked them not), in one line;
// `what` says what is made of them anyway ("its page shows the slot", "the picture shows
// the slot").
void warnUnmarkedSlots(const RecordInput& input, std::span<const int> chosen, const QString& what);

}  // namespace trellicap::cli
