// The command line: the Options it sets, and one table of flags that drives both the parser and
// the option lines of the usage text (usage.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "faults.h"
#include "model.h"

namespace instrument_sim {

struct Options {
    Model model = Model::Tft;
    std::uint64_t seed = 1;
    std::string link;
    bool newNameOnReplug = false;  // `replug` always comes back under another device name
    bool fast = false;
    int baud = kDefaultBaud;
    int burst = 1;  // bytes handed to the pty at once when paced
    int replyDelayMs = 0;
    bool noAnswerFirst = false;
    std::set<int> silentSlots;
    Faults faults;  // apply to every frame
    bool verbose = false;
    bool ignoreEof = false;
    std::optional<int> printRecord;
    std::optional<int> printFields;
};

// Which block of the usage text lists a flag.
enum class OptionGroup {
    General,   // "Options:"
    Fault,     // "Faults for every frame ..."
    Unlisted,  // accepted, not listed (-h)
};

// One flag. `set` gets the flag and its value (empty when the flag takes none; a value given as
// `--flag=value` to such a flag is ignored) and returns an exit code to stop with (0 after --help,
// 2 after an error it has reported), or nothing to go on.
struct OptionRow {
    OptionGroup group;
    std::string_view flag;     // "--model"
    std::string_view argName;  // "tft|dac"; empty: the flag takes no value
    std::string_view help;     // usage text; each '\n' goes on an indented line
    std::optional<int> (*set)(Options& o, const std::string& flag, const std::string& value);
};

// The table, in the order of the usage text.
[[nodiscard]] std::span<const OptionRow> optionRows();

// Parses argv (`--flag value` or `--flag=value`). Returns the exit code to use at once (0 after
// --help, 2 on an error, which it reports on standard error), or nothing to go on.
std::optional<int> parseOptions(int argc, char** argv, Options& options);

}  // namespace instrument_sim
