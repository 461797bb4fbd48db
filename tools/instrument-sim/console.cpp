#include "console.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>

#include "output.h"
#include "text.h"
#include "usage.h"

namespace instrument_sim {
namespace {

constexpr std::size_t kReadChunk = 1024;  // bytes read from standard input at a time

// "send N, fault NAME [ARG], help, quit": the listed commands, for the unknown-command error.
std::string commandList() {
    std::string s;
    for (const ConsoleCommandRow& command : consoleCommandRows()) {
        if (command.help.empty()) {
            continue;
        }
        if (!s.empty()) {
            s += ", ";
        }
        s += command.name;
        if (!command.argName.empty()) {
            s.append(" ").append(command.argName);
        }
    }
    return s;
}

}  // namespace

std::span<const ConsoleCommandRow> consoleCommandRows() {
    static constexpr ConsoleCommandRow kRows[] = {
        {"send", "N", "send slot N (1..200) as if the operator pressed send", &Console::send},
        {"fault", "NAME [ARG]",
         "arm a fault for the next frame only (several may be armed):\n"
         "noise K | sep255 | nosep | filler F | b255 P | memno TEXT |\n"
         "cut K | hangup K | delay MS (reply delay) |\n"
         "noanswer [N] (ignore the next N requests, default 1) |\n"
         "clear (disarm all)",
         &Console::fault},
        {"unplug", "",
         "pull the cable: the pty goes away (the program sees a hang-up),\n"
         "the --link is removed, a frame on the line is cut off",
         &Console::unplug},
        {"replug", "[new-name]",
         "plug it back in: a new pty, the --link points to it; with new-name\n"
         "(or --new-name-on-replug) never under the name it had before",
         &Console::replug},
        {"help", "", "list the commands", &Console::help},
        {"quit", "", "exit", &Console::quit},
        {"exit", "", "", &Console::quit},
    };
    return kRows;
}

Console::Console(const Faults& everyFrame, int blockBLength, ArmedFaults& armed, SendSlot sendSlot,
                 LineControl line)
    : m_everyFrame(everyFrame),
      m_blockBLength(blockBLength),
      m_armed(armed),
      m_sendSlot(std::move(sendSlot)),
      m_line(std::move(line)) {}

void Console::readInput() {
    char buf[kReadChunk];
    const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;
        }
        m_open = false;
        if (!m_buffer.empty()) {
            runLine(m_buffer);
            m_buffer.clear();
        }
        return;
    }
    m_buffer.append(buf, static_cast<std::size_t>(n));
    std::size_t pos = 0;
    while ((pos = m_buffer.find('\n')) != std::string::npos && !m_quit) {
        std::string line = m_buffer.substr(0, pos);
        m_buffer.erase(0, pos + 1);
        runLine(line);
    }
}

void Console::runLine(const std::string& line) {
    const Words words = splitWords(line);
    if (words.empty() || words[0][0] == '#') {
        return;
    }
    for (const ConsoleCommandRow& command : consoleCommandRows()) {
        if (command.name == words[0]) {
            (this->*command.run)(words);
            return;
        }
    }
    say("error: unknown command " + words[0] + " (" + commandList() + ")");
}

void Console::send(const Words& words) {
    long n = 0;
    if (words.size() != 2 || !parseInt(words[1], 1, kSlotCount, n)) {
        say("error: send needs a slot number 1..200");
        return;
    }
    say("ok");
    m_sendSlot(static_cast<int>(n));
}

void Console::fault(const Words& words) {
    std::string error;
    if (!armFault(words, error)) {
        say("error: " + error);
        return;
    }
    say("ok");
}

void Console::unplug(const Words& words) {
    if (words.size() != 1) {
        say("error: unplug takes no argument");
        return;
    }
    reportLineChange(m_line.unplug());
}

void Console::replug(const Words& words) {
    const bool newName = words.size() == 2 && words[1] == "new-name";
    if (words.size() > 2 || (words.size() == 2 && !newName)) {
        say("error: replug takes nothing or new-name");
        return;
    }
    reportLineChange(m_line.replug(newName));
}

void Console::reportLineChange(const LineChange& change) {
    if (!change.ok) {
        say("error: " + change.text);
        return;
    }
    say("ok");
    say(change.text);
}

void Console::help(const Words&) {
    std::fputs(usageText().c_str(), stdout);
    say("ok");
}

void Console::quit(const Words&) {
    say("ok");
    m_quit = true;
}

bool Console::armFault(const Words& words, std::string& error) {
    if (words.size() < 2 || words.size() > 3) {
        error = "fault needs a name and at most one argument";
        return false;
    }
    const std::string& name = words[1];
    const std::string* arg = words.size() == 3 ? &words[2] : nullptr;
    if (name == "clear") {
        m_armed = ArmedFaults{};
        return true;
    }
    if (name == "noanswer") {
        long n = 1;
        if (arg != nullptr && !parseInt(*arg, 0, kMaxByteCount, n)) {
            error = "noanswer needs a count";
            return false;
        }
        m_armed.noAnswer = static_cast<int>(n);
        return true;
    }
    Faults f = m_armed.nextFrame.value_or(m_everyFrame);
    if (!applyFault(name, arg, m_blockBLength, f, error)) {
        return false;
    }
    m_armed.nextFrame = f;
    return true;
}

}  // namespace instrument_sim
