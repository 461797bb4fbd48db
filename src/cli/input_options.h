// The options every reading subcommand shares, and what they choose: the record file and
// its model (--model), the slots (--slots, else the marked ones), the output (-o).
#pragma once

#include <optional>
#include <vector>

#include "cli/command_line.h"
#include "cli/record_input.h"

namespace trellicap::cli {

[[nodiscard]] OptionSyntax modelOption();
[[nodiscard]] OptionSyntax slotsOption();
[[nodiscard]] OptionSyntax outputOption(const QString& valueName);

// The file named first on the line, loaded as the model --model names or its size tells.
[[nodiscard]] RecordInput openInput(const CommandLine& line);
// The slots --slots names; none without it. Read before the file, so that a bad list is a
// usage failure whatever the file holds.
[[nodiscard]] std::optional<std::vector<int>> requestedSlots(const CommandLine& line);
// The slots requested, else the slots the load marked.
[[nodiscard]] std::vector<int> slotsToShow(const std::optional<std::vector<int>>& requested,
                                           const RecordInput& input);

}  // namespace trellicap::cli
