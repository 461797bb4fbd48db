// The console: the commands read from standard input (send N, fault NAME [ARG], help, quit), one
// per line, each answered by one line "ok" or "error: ...". One table of commands drives both
// the dispatch and the command lines of the usage text.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"

namespace instrument_sim {

class Console;

using Words = std::vector<std::string>;

// One console command. An empty `help` keeps a command out of the usage text (exit = quit).
struct ConsoleCommandRow {
    std::string_view name;     // "send"
    std::string_view argName;  // "N"
    std::string_view help;     // usage text; each '\n' goes on an indented line
    void (Console::*run)(const Words& words);
};

// The table, in the order of the usage text.
[[nodiscard]] std::span<const ConsoleCommandRow> consoleCommandRows();

// What `unplug` and `replug` do to the line. Each returns the event line to print after "ok",
// or an error (without "error: ") when the line cannot do it now.
struct LineChange {
    bool ok = false;
    std::string text;  // the event line, or the error
};
struct LineControl {
    std::function<LineChange()> unplug;
    std::function<LineChange(bool newName)> replug;
};

class Console {
public:
    using SendSlot = std::function<void(int slot)>;

    // `everyFrame`: the faults of the command line, on top of which `fault` arms;
    // `blockBLength`: bounds `fault b255`; `armed`: what `fault` arms, consumed by the loop;
    // `sendSlot`: what `send N` does; `line`: what `unplug` and `replug` do.
    Console(const Faults& everyFrame, int blockBLength, ArmedFaults& armed, SendSlot sendSlot,
            LineControl line);

    // Reads what standard input has (it is ready) and runs each complete line, up to `quit`.
    // At the end of input runs an unterminated last line and closes the console.
    void readInput();

    // One line: blank lines and lines starting with '#' are ignored.
    void runLine(const std::string& line);

    [[nodiscard]] bool open() const { return m_open; }
    [[nodiscard]] bool quitRequested() const { return m_quit; }

private:
    friend std::span<const ConsoleCommandRow> consoleCommandRows();

    void send(const Words& words);
    void fault(const Words& words);
    void unplug(const Words& words);
    void replug(const Words& words);
    void reportLineChange(const LineChange& change);
    void help(const Words& words);
    void quit(const Words& words);
    bool armFault(const Words& words, std::string& error);

    const Faults& m_everyFrame;
    int m_blockBLength;
    ArmedFaults& m_armed;
    SendSlot m_sendSlot;
    LineControl m_line;

    std::string m_buffer;  // input after the last complete line
    bool m_open = true;
    bool m_quit = false;
};

}  // namespace instrument_sim
