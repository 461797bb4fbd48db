// The send/receive loop of the simulated instrument: reads command blocks from the pty and
// answers slot requests, sends the frames of `send N`, paces the bytes like a 9600 baud line, and
// applies the faults of the command line (every frame) and of the console (the next frame only).
// `unplug` closes the pty as a pulled cable does, `replug` opens a new one behind the --link.
#pragma once

#include <signal.h>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "command_parser.h"
#include "console.h"
#include "faults.h"
#include "model.h"
#include "options.h"
#include "pty.h"

namespace instrument_sim {

class Simulator {
public:
    explicit Simulator(Options options);

    // Runs until `quit`, the end of input (see README.md), a signal or a hang-up fault.
    // Returns the exit code: 0, or 1 if the pty or the link cannot be created.
    int run();

private:
    using Clock = std::chrono::steady_clock;

    // One frame on its way: queued, then sent byte by byte.
    struct Transmission {
        FrameBytes frame;
        int slot = 0;
        std::size_t limit = 0;  // bytes to send (the whole frame unless cut or hung up)
        bool cut = false;
        bool hangup = false;
        Clock::time_point notBefore;
    };

    bool openLine();
    bool waitOnce(Clock::time_point now, const sigset_t& waitMask, bool interactiveInput);
    void onMasterEvents(short events);
    void handleMaster(bool hangUpReported);
    void onRequest(int slot);
    void queueFrame(int slot, Clock::time_point notBefore);
    void pump(Clock::time_point now);
    void startNextTransmission(Clock::time_point now);
    void writeDueBytes(Clock::time_point now);
    void finishTransmission(Clock::time_point now);
    [[nodiscard]] std::optional<Clock::duration> nextWake(Clock::time_point now) const;
    [[nodiscard]] Clock::time_point nextGroupDue() const;
    void hangUpAndExit();
    // The cable pulled and plugged back in (console `unplug`, `replug`).
    LineChange unplug();
    LineChange replug(bool newName);
    [[nodiscard]] bool unplugged() const { return m_pty.master() < 0; }
    [[nodiscard]] bool stopping() const { return m_quit || m_console.quitRequested(); }
    void log(const std::string& line) const;

    Options m_options;
    const ModelLayout& m_layout;
    Pty m_pty;
    std::string m_lastSlavePath;  // the pty's name before an unplug
    CommandParser m_parser;
    std::chrono::nanoseconds m_byteTime;  // one byte on the line at the chosen baud rate

    ArmedFaults m_armed;  // armed by the console, used up by the next frame / request
    Console m_console;
    std::map<int, int> m_requestCount;  // requests per slot so far (--no-answer-first)
    std::uint64_t m_frameCounter = 0;   // varies the noise bytes from frame to frame

    std::deque<Transmission> m_queue;
    std::optional<Transmission> m_active;
    std::size_t m_sent = 0;          // bytes of the active transmission written so far
    Clock::time_point m_paceStart;   // when byte 0 of the active transmission was due
    Clock::time_point m_lineFreeAt;  // when the last byte of the previous one left the line
    bool m_writeBlocked = false;     // the pty buffer is full: wait for POLLOUT
    std::optional<Clock::time_point> m_hangupSince;
    Clock::time_point m_masterQuietUntil;  // no peer holds the slave: look again then

    bool m_quit = false;  // a hang-up fault or the end of interactive input
};

}  // namespace instrument_sim
