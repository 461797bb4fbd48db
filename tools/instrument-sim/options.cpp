#include "options.h"

#include <cstdlib>
#include <iostream>
#include <vector>

#include "text.h"
#include "usage.h"

namespace instrument_sim {
namespace {

constexpr int kExitBadOption = 2;
constexpr long kMinBaud = 50;
constexpr long kMaxBaud = 4'000'000;
constexpr long kMaxBurst = 4096;

using Result = std::optional<int>;
constexpr Result kGoOn = std::nullopt;

// Reads a number lo..hi given to `flag`; reports an error and returns false on anything else.
bool number(const std::string& flag, const std::string& s, long lo, long hi, long& out) {
    if (!parseInt(s, lo, hi, out)) {
        std::cerr << "instrument-sim: " << flag << ": not a number " << lo << ".." << hi << ": "
                  << s << "\n";
        return false;
    }
    return true;
}

Result fail(const std::string& message) {
    std::cerr << "instrument-sim: " << message << "\n";
    return kExitBadOption;
}

Result setModel(Options& o, const std::string&, const std::string& s) {
    if (s == "tft") {
        o.model = Model::Tft;
    } else if (s == "dac") {
        o.model = Model::Dac;
    } else {
        return fail("--model must be tft or dac");
    }
    return kGoOn;
}

Result setSeed(Options& o, const std::string&, const std::string& s) {
    char* end = nullptr;
    o.seed = std::strtoull(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0') {
        return fail("--seed needs a number");
    }
    return kGoOn;
}

// A number lo..hi stored with `store`.
template <long lo, long hi, auto store>
Result setNumber(Options& o, const std::string& flag, const std::string& s) {
    long n = 0;
    if (!number(flag, s, lo, hi, n)) {
        return kExitBadOption;
    }
    store(o, static_cast<int>(n));
    return kGoOn;
}

// A fault flag with an argument: the fault of the same name (without "--").
Result setFault(Options& o, const std::string& flag, const std::string& s) {
    // --model may still follow, so --b255 is bounded by the longest block B here and checked
    // against the chosen model's in checkAfterAll().
    std::string error;
    if (!applyFault(flag.substr(2), &s, kLongestBlockBLength, o.faults, error)) {
        return fail(error);
    }
    return kGoOn;
}

// A fault flag without an argument (--sep255, --nosep).
Result setSwitchFault(Options& o, const std::string& flag, const std::string&) {
    std::string error;
    applyFault(flag.substr(2), nullptr, 0, o.faults, error);
    return kGoOn;
}

Result showHelp(Options&, const std::string&, const std::string&) {
    std::cout << usageText();
    return 0;
}

// The flags, in the order of the usage text. Help texts continue on a new line after '\n'.
constexpr OptionRow kRows[] = {
    {OptionGroup::General, "--model", "tft|dac", "instrument model and frame layout (default tft)",
     setModel},
    {OptionGroup::General, "--seed", "N", "seed of the 200 generated memory slots (default 1)",
     setSeed},
    {OptionGroup::General, "--link", "PATH",
     "also create a symbolic link PATH to the pty (removed on exit)",
     [](Options& o, const std::string&, const std::string& s) -> Result {
         o.link = s;
         return kGoOn;
     }},
    {OptionGroup::General, "--new-name-on-replug", "",
     "`replug` always brings a pty of another name (the --link follows it),\n"
     "as an adapter that comes back as ttyUSB1 while ttyUSB0 is still held",
     [](Options& o, const std::string&, const std::string&) -> Result {
         o.newNameOnReplug = true;
         return kGoOn;
     }},
    {OptionGroup::General, "--fast", "",
     "send at full speed instead of pacing like a 9600 baud line",
     [](Options& o, const std::string&, const std::string&) -> Result {
         o.fast = true;
         return kGoOn;
     }},
    {OptionGroup::General, "--baud", "N", "line speed for pacing, 10 bits per byte (default 9600)",
     setNumber<kMinBaud, kMaxBaud, [](Options& o, int n) { o.baud = n; }>},
    {OptionGroup::General, "--burst", "N",
     "paced bytes go out N at a time, when the last of them is due,\nas a USB serial adapter hands "
     "them over (default 1)",
     setNumber<1, kMaxBurst, [](Options& o, int n) { o.burst = n; }>},
    {OptionGroup::General, "--reply-delay", "MS",
     "wait MS milliseconds before answering a request (default 0)",
     setNumber<0, kMaxDelayMs, [](Options& o, int n) { o.replyDelayMs = n; }>},
    {OptionGroup::General, "--verbose", "",
     "log received command blocks and skipped bytes to standard error",
     [](Options& o, const std::string&, const std::string&) -> Result {
         o.verbose = true;
         return kGoOn;
     }},
    {OptionGroup::General, "--ignore-eof", "",
     "keep running when standard input ends (also the case when standard\n"
     "input is not a pipe or a terminal, e.g. /dev/null or a file)",
     [](Options& o, const std::string&, const std::string&) -> Result {
         o.ignoreEof = true;
         return kGoOn;
     }},
    {OptionGroup::General, "--print-record", "N",
     "print slot N's record (lines \"INDEX VALUE\", the indexes a frame\n"
     "carries) and exit; no pty is opened",
     setNumber<1, kSlotCount, [](Options& o, int n) { o.printRecord = n; }>},
    {OptionGroup::General, "--print-fields", "N",
     "print slot N's fields (lines NAME FIRST COUNT \"TEXT\" or values) and exit",
     setNumber<1, kSlotCount, [](Options& o, int n) { o.printFields = n; }>},
    {OptionGroup::General, "--help", "", "this text", showHelp},
    {OptionGroup::Unlisted, "-h", "", "", showHelp},

    {OptionGroup::Fault, "--noise", "K", "K noise bytes (never 255) before the sync byte",
     setFault},
    {OptionGroup::Fault, "--sep255", "", "the separator byte after block A is 255", setSwitchFault},
    {OptionGroup::Fault, "--nosep", "",
     "no separator byte: the second sync follows block A directly", setSwitchFault},
    {OptionGroup::Fault, "--filler", "F", "F filler bytes (never 255) before the second sync byte",
     setFault},
    {OptionGroup::Fault, "--b255", "P", "put a 255 at block-B byte P", setFault},
    {OptionGroup::Fault, "--memno", "TEXT",
     "send TEXT (1 to 3 characters, right-aligned) as the memory number,\n"
     "e.g. 345, 000, 0",
     setFault},
    {OptionGroup::Fault, "--cut", "K",
     "stop sending each frame after K bytes (counted from the sync byte)", setFault},
    {OptionGroup::Fault, "--hangup", "K",
     "after K bytes of the first frame, close the pty and exit", setFault},
    {OptionGroup::Fault, "--no-answer-first", "",
     "ignore the first request for each slot, answer the retry",
     [](Options& o, const std::string&, const std::string&) -> Result {
         o.noAnswerFirst = true;
         return kGoOn;
     }},
    {OptionGroup::Fault, "--silent-slot", "N", "never answer requests for slot N (repeatable)",
     setNumber<1, kSlotCount, [](Options& o, int n) { o.silentSlots.insert(n); }>},
    {OptionGroup::Fault, "--mute", "", "never answer any request",
     [](Options& o, const std::string&, const std::string&) -> Result {
         for (int slot = 1; slot <= kSlotCount; ++slot) {
             o.silentSlots.insert(slot);
         }
         return kGoOn;
     }},
};

const OptionRow* findRow(const std::string& flag) {
    for (const OptionRow& row : kRows) {
        if (row.flag == flag) {
            return &row;
        }
    }
    return nullptr;
}

// The checks that need every option: --b255 against the block B of the chosen model.
Result checkAfterAll(const Options& o) {
    const auto& b255 = o.faults.frame.blockB255;
    if (b255 && *b255 >= layoutFor(o.model).blockBLength) {
        return fail("--b255 beyond block B of this model");
    }
    return kGoOn;
}

}  // namespace

std::span<const OptionRow> optionRows() {
    return kRows;
}

std::optional<int> parseOptions(int argc, char** argv, Options& o) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string flag = args[i];
        std::optional<std::string> inlineValue;  // from --flag=value
        if (const auto eq = flag.find('='); flag.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = flag.substr(eq + 1);
            flag = flag.substr(0, eq);
        }
        const OptionRow* row = findRow(flag);
        if (row == nullptr) {
            return fail("unknown option " + flag + " (see --help)");
        }
        std::string value;
        if (!row->argName.empty()) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return fail(flag + " needs a value");
            }
        }
        if (const Result exitCode = row->set(o, flag, value)) {
            return exitCode;
        }
    }
    return checkAfterAll(o);
}

}  // namespace instrument_sim
