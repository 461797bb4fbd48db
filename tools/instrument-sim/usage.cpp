#include "usage.h"

#include <string_view>

#include "console.h"
#include "options.h"

namespace instrument_sim {
namespace {

constexpr std::string_view kIntroduction = R"(Usage: instrument-sim [options]

Stands in for a Corvane ultrasonic flaw detector on a pseudo-terminal. Prints the device path
of the pty (for example /dev/pts/5) as the first line of standard output, then serves slot
requests and reads commands from standard input.
)";

// The lines the send/receive loop writes to standard output (simulator.cpp), for the usage text.
struct EventRow {
    std::string_view line;
    std::string_view help;
};

constexpr EventRow kEvents[] = {
    {"request N", "a slot request for slot N was received (N = its three digits)"},
    {"served N", "the request is answered (the frame is queued)"},
    {"ignored N", "the request is not answered (out of range or a fault)"},
    {"release", "the release command (R block, F block) was received"},
    {"sent N", "the last byte of slot N's frame was written to the pty"},
    {"cut N", "slot N's frame was cut off as asked"},
    {"hangup", "the pty was closed by the hangup fault; the simulator exits"},
    {"unplugged", "after `unplug`'s ok: the pty is gone"},
    {"replugged PATH", "after `replug`'s ok: the new pty's device path"},
    {"lost N", "slot N's frame was not sent: the line is unplugged"},
};

constexpr std::size_t kIndent = 2;      // in front of each name
constexpr std::size_t kNameWidth = 22;  // the help text starts in column 2 + 22

// "  NAME    HELP\n"; each '\n' in `help` continues on a line indented to the help column.
std::string row(std::string_view name, std::string_view help) {
    std::string s(kIndent, ' ');
    s += name;
    s.append(name.size() < kNameWidth ? kNameWidth - name.size() : 1, ' ');
    for (const char c : help) {
        s += c;
        if (c == '\n') {
            s.append(kIndent + kNameWidth, ' ');
        }
    }
    return s + "\n";
}

std::string withArg(std::string_view name, std::string_view arg) {
    std::string s(name);
    if (!arg.empty()) {
        s.append(" ").append(arg);
    }
    return s;
}

std::string optionLines(OptionGroup group) {
    std::string s;
    for (const OptionRow& option : optionRows()) {
        if (option.group == group) {
            s += row(withArg(option.flag, option.argName), option.help);
        }
    }
    return s;
}

std::string buildUsage() {
    std::string s(kIntroduction);
    s += "\nOptions:\n" + optionLines(OptionGroup::General);
    s += "\nFaults for every frame (the same names as the `fault` commands below):\n" +
         optionLines(OptionGroup::Fault);
    s += "\nStandard input, one command per line; each gets \"ok\" or \"error: ...\" on standard "
         "output:\n";
    for (const ConsoleCommandRow& command : consoleCommandRows()) {
        if (!command.help.empty()) {
            s += row(withArg(command.name, command.argName), command.help);
        }
    }
    s += "\nEvent lines on standard output:\n";
    for (const EventRow& event : kEvents) {
        s += row(event.line, event.help);
    }
    return s;
}

}  // namespace

const std::string& usageText() {
    static const std::string text = buildUsage();
    return text;
}

}  // namespace instrument_sim
