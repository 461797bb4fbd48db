// The simulated instrument: serves slot requests and operator sends over the pty, paced like a
// 9600 baud line, with faults armed from the command line (every frame) or from standard input
// (the next frame only).
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "command_parser.h"
#include "model.h"
#include "pty.h"

namespace instrument_sim {

// Faults of one transmission: frame bytes plus how it is sent.
struct Faults {
    FrameFaults frame;
    std::optional<int> cutAfter;     // stop after this many bytes counted from the sync byte
    std::optional<int> hangupAfter;  // close the pty and exit after this many bytes
    std::optional<int> replyDelayMs;
};

struct Options {
    Model model = Model::Tft;
    std::uint64_t seed = 1;
    std::string link;
    bool fast = false;
    int baud = 9600;
    int replyDelayMs = 0;
    bool noAnswerFirst = false;
    std::set<int> silentSlots;
    Faults faults;  // apply to every frame
    bool verbose = false;
    bool ignoreEof = false;
    std::optional<int> printRecord;
    std::optional<int> printFields;
};

// Parses argv. Returns the exit code to use at once (0 after --help, 2 on an error), or nothing
// to go on.
std::optional<int> parseOptions(int argc, char** argv, Options& options);

// --print-record / --print-fields.
int printSlot(const Options& options);

class Simulator {
public:
    explicit Simulator(Options options);
    int run();

private:
    using Clock = std::chrono::steady_clock;

    struct Transmission {
        FrameBytes frame;
        int slot = 0;
        std::size_t limit = 0;  // bytes to send (the whole frame unless cut or hung up)
        bool cut = false;
        bool hangup = false;
        Clock::time_point notBefore;
    };

    void handleMaster(bool hangUpReported);
    void handleStdin();
    void handleCommandLine(const std::string& line);
    bool armFault(const std::vector<std::string>& words, std::string& error);
    void onRequest(int slot);
    void queueFrame(int slot, Clock::time_point notBefore);
    void pump(Clock::time_point now);
    void finishTransmission(Clock::time_point now);
    [[nodiscard]] std::optional<Clock::duration> nextWake(Clock::time_point now) const;
    void hangUpAndExit();
    void say(const std::string& line);
    void log(const std::string& line) const;

    Options m_options;
    const ModelLayout& m_layout;
    Pty m_pty;
    CommandParser m_parser;
    std::chrono::nanoseconds m_byteTime;

    std::optional<Faults> m_armed;  // from `fault`: applies to the next frame only
    int m_armedNoAnswer = 0;
    std::map<int, int> m_requestCount;
    std::uint64_t m_frameCounter = 0;

    std::deque<Transmission> m_queue;
    std::optional<Transmission> m_active;
    std::size_t m_sent = 0;
    Clock::time_point m_paceStart;
    Clock::time_point m_lineFreeAt;
    bool m_writeBlocked = false;
    std::optional<Clock::time_point> m_hangupSince;
    Clock::time_point m_masterQuietUntil;

    std::string m_stdinBuffer;
    bool m_stdinOpen = true;
    bool m_quit = false;
};

}  // namespace instrument_sim
