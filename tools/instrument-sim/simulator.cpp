#include "simulator.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "output.h"

namespace instrument_sim {
namespace {

// A hang-up fault gives the program a moment to read what was sent before the line goes dead:
// the pty moves written bytes to the slave asynchronously, so wait at least kHangupMinWait,
// then until the slave's input queue is empty, at most kHangupMaxWait. Meanwhile look every
// kHangupPollInterval.
constexpr auto kHangupMinWait = std::chrono::milliseconds(100);
constexpr auto kHangupMaxWait = std::chrono::seconds(2);
constexpr auto kHangupPollInterval = std::chrono::milliseconds(5);

// When no program holds the slave open, reading the master fails (EIO); look again after this
// instead of spinning on the hang-up condition.
constexpr auto kMasterRetryAfter = std::chrono::milliseconds(100);

constexpr std::size_t kMasterReadChunk = 4096;  // bytes read from the pty at a time
constexpr long kVerboseShownBytes = 120;        // --verbose shows this many received bytes

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t g_signalled = 0;

void onSignal(int) {
    g_signalled = 1;
}

// Catches the stop signals and blocks them except while waiting in ppoll(); returns the signal
// mask to wait with. SIGPIPE is ignored.
sigset_t catchStopSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int s : kStopSignals) {
        sigaction(s, &sa, nullptr);
        sigaddset(&blocked, s);
    }
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    for (const int s : kStopSignals) {
        sigdelset(&waitMask, s);
    }
    return waitMask;
}

// End of input means "quit" only when a controller (pipe) or a person (terminal) went away.
bool stdinIsInteractive() {
    struct stat st {};
    return fstat(STDIN_FILENO, &st) == 0 &&
           (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || isatty(STDIN_FILENO));
}

// Received bytes for --verbose: printable ASCII as it is, the rest as \xNN.
std::string describeBytes(const std::uint8_t* buf, ssize_t n) {
    std::string shown;
    for (ssize_t i = 0; i < n && i < kVerboseShownBytes; ++i) {
        if (buf[i] >= ' ' && buf[i] < 127 && buf[i] != '\\') {
            shown += static_cast<char>(buf[i]);
        } else {
            char h[8];
            std::snprintf(h, sizeof h, "\\x%02x", buf[i]);
            shown += h;
        }
    }
    return shown + (n > kVerboseShownBytes ? "..." : "");
}

timespec toTimespec(std::chrono::nanoseconds d) {
    constexpr long long kNanosecondsPerSecond = 1'000'000'000;
    const long long ns = d.count();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns / kNanosecondsPerSecond);
    ts.tv_nsec = static_cast<long>(ns % kNanosecondsPerSecond);
    return ts;
}

}  // namespace

Simulator::Simulator(Options options)
    : m_options(std::move(options)),
      m_layout(layoutFor(m_options.model)),
      m_byteTime(std::chrono::nanoseconds(std::chrono::seconds(kBitsPerByte)) / m_options.baud),
      m_console(
          m_options.faults, m_layout.blockBLength, m_armed,
          [this](int slot) { queueFrame(slot, Clock::now()); },
          LineControl{[this] { return unplug(); },
                      [this](bool newName) { return replug(newName); }}) {}

void Simulator::log(const std::string& line) const {
    if (m_options.verbose) {
        std::fprintf(stderr, "instrument-sim: %s\n", line.c_str());
    }
}

int Simulator::run() {
    const sigset_t waitMask = catchStopSignals();
    if (!openLine()) {
        return 1;
    }
    const bool interactiveInput = stdinIsInteractive();
    while (!stopping() && g_signalled == 0) {
        const Clock::time_point now = Clock::now();
        pump(now);
        if (stopping()) {
            break;
        }
        if (!waitOnce(now, waitMask, interactiveInput)) {
            break;
        }
    }
    m_pty.removeLink();
    m_pty.close();
    return 0;
}

// Opens the pty (and the --link) and prints its path as the first line.
bool Simulator::openLine() {
    std::string error;
    if (!m_pty.open(error) ||
        (!m_options.link.empty() && !m_pty.createLink(m_options.link, error))) {
        std::cerr << "instrument-sim: " << error << "\n";
        return false;
    }
    say(m_pty.slavePath());
    return true;
}

// Waits for the pty, standard input or the next byte due, and handles what came. Returns false
// on a poll error.
bool Simulator::waitOnce(Clock::time_point now, const sigset_t& waitMask, bool interactiveInput) {
    pollfd fds[2];
    nfds_t count = 0;
    int stdinIndex = -1;
    int masterIndex = -1;
    if (m_console.open()) {
        stdinIndex = static_cast<int>(count);
        fds[count++] = {STDIN_FILENO, POLLIN, 0};
    }
    if (!unplugged() && now >= m_masterQuietUntil) {
        masterIndex = static_cast<int>(count);
        fds[count++] = {m_pty.master(), static_cast<short>(POLLIN | (m_writeBlocked ? POLLOUT : 0)),
                        0};
    }
    timespec ts{};
    timespec* timeout = nullptr;
    if (const auto wake = nextWake(now)) {
        ts = toTimespec(std::chrono::duration_cast<std::chrono::nanoseconds>(*wake));
        timeout = &ts;
    }
    if (ppoll(fds, count, timeout, &waitMask) < 0) {
        if (errno == EINTR) {
            return true;
        }
        std::cerr << "instrument-sim: poll: " << std::strerror(errno) << "\n";
        return false;
    }
    if (masterIndex >= 0) {
        onMasterEvents(fds[masterIndex].revents);
    }
    if (stdinIndex >= 0 && (fds[stdinIndex].revents & (POLLIN | POLLHUP | POLLERR))) {
        m_console.readInput();
        if (!m_console.open() && interactiveInput && !m_options.ignoreEof) {
            m_quit = true;
        }
    }
    return true;
}

void Simulator::onMasterEvents(short events) {
    if ((events & POLLOUT) && m_writeBlocked) {
        // Go on from now instead of sending a burst to catch up with the schedule.
        m_writeBlocked = false;
        m_paceStart = Clock::now() - m_byteTime * static_cast<long>(m_sent);
    }
    if (events & (POLLIN | POLLHUP | POLLERR)) {
        handleMaster((events & (POLLHUP | POLLERR)) != 0);
    }
}

// Reads what the computer sent and acts on each complete command.
void Simulator::handleMaster(bool hangUpReported) {
    std::uint8_t buf[kMasterReadChunk];
    const ssize_t n = read(m_pty.master(), buf, sizeof buf);
    if (n > 0) {
        if (m_options.verbose) {
            log("received " + std::to_string(n) + " bytes: " + describeBytes(buf, n));
        }
        const long skippedBefore = m_parser.skippedBytes();
        for (const Command& c : m_parser.feed(buf, static_cast<std::size_t>(n))) {
            if (c.kind == Command::Kind::Release) {
                say("release");
            } else {
                onRequest(c.slot);
            }
        }
        if (m_parser.skippedBytes() != skippedBefore) {
            log("skipped " + std::to_string(m_parser.skippedBytes() - skippedBefore) +
                " bytes that form no command block");
        }
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR) && !hangUpReported) {
        return;
    }
    // EIO (or end of file): no peer holds the slave open.
    m_masterQuietUntil = Clock::now() + kMasterRetryAfter;
}

void Simulator::onRequest(int slot) {
    say("request " + std::to_string(slot));
    const std::string s = std::to_string(slot);
    if (slot < 1 || slot > kSlotCount) {
        say("ignored " + s);
        return;
    }
    const int count = ++m_requestCount[slot];
    if (m_options.silentSlots.count(slot) != 0) {
        say("ignored " + s);
        return;
    }
    if (m_armed.noAnswer > 0) {
        --m_armed.noAnswer;
        say("ignored " + s);
        return;
    }
    if (m_options.noAnswerFirst && count == 1) {
        say("ignored " + s);
        return;
    }
    const Faults& f = m_armed.nextFrame ? *m_armed.nextFrame : m_options.faults;
    const int delay = f.replyDelayMs.value_or(m_options.replyDelayMs);
    say("served " + s);
    queueFrame(slot, Clock::now() + std::chrono::milliseconds(delay));
}

// Builds slot `slot`'s frame with the faults in force (which uses up the armed ones) and queues
// it to go out no earlier than `notBefore`.
void Simulator::queueFrame(int slot, Clock::time_point notBefore) {
    if (unplugged()) {
        say("lost " + std::to_string(slot));  // sent into a cable that leads nowhere
        return;
    }
    const Faults f = m_armed.nextFrame.value_or(m_options.faults);
    m_armed.nextFrame.reset();
    Transmission t;
    t.slot = slot;
    t.frame = makeFrame(m_layout, makeRecord(m_layout, m_options.seed, slot), f.frame,
                        m_options.seed + ++m_frameCounter);
    t.limit = t.frame.bytes.size();
    const std::size_t sync = static_cast<std::size_t>(t.frame.syncOffset);
    if (f.hangupAfter && sync + *f.hangupAfter <= t.limit) {
        t.limit = sync + static_cast<std::size_t>(*f.hangupAfter);
        t.hangup = true;
    } else if (f.cutAfter && sync + *f.cutAfter < t.limit) {
        t.limit = sync + static_cast<std::size_t>(*f.cutAfter);
        t.cut = true;
    }
    t.notBefore = notBefore;
    m_queue.push_back(std::move(t));
}

// Sends what is due now: starts the next queued frame when the line is free, writes the bytes
// whose time has come, and finishes a frame (or the pending hang-up).
void Simulator::pump(Clock::time_point now) {
    if (unplugged()) {
        return;
    }
    if (m_hangupSince) {
        const auto waited = now - *m_hangupSince;
        if ((waited >= kHangupMinWait && m_pty.unreadBySlave() <= 0) || waited > kHangupMaxWait) {
            hangUpAndExit();
        }
        return;
    }
    startNextTransmission(now);
    if (!m_active) {
        return;
    }
    writeDueBytes(now);
    if (m_sent >= m_active->limit) {
        finishTransmission(now);
    }
}

void Simulator::startNextTransmission(Clock::time_point now) {
    if (!m_active && !m_queue.empty() && m_queue.front().notBefore <= now) {
        m_active = std::move(m_queue.front());
        m_queue.pop_front();
        m_sent = 0;
        m_paceStart = std::max(now, m_lineFreeAt);
    }
}

// Pacing: byte k is due at m_paceStart + k byte times (absolute time, so that the schedule does
// not drift); --fast makes every byte due at once. With --burst N they go out N at a time (the
// frame's last group may be shorter), when the group's last byte is due.
void Simulator::writeDueBytes(Clock::time_point now) {
    const Transmission& t = *m_active;
    std::size_t due = t.limit;
    if (!m_options.fast) {
        due = now < m_paceStart
                  ? 0
                  : std::min<std::size_t>(
                        t.limit, static_cast<std::size_t>((now - m_paceStart) / m_byteTime) + 1);
        if (due < t.limit) {
            due -= due % static_cast<std::size_t>(m_options.burst);
        }
    }
    if (due <= m_sent || m_writeBlocked) {
        return;
    }
    const std::size_t want = due - m_sent;
    const ssize_t n = write(m_pty.master(), t.frame.bytes.data() + m_sent, want);
    const std::size_t wrote = n > 0 ? static_cast<std::size_t>(n) : 0;
    m_sent += wrote;
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
        log(std::string("write: ") + std::strerror(errno));
    }
    if (wrote < want && !(n < 0 && errno == EINTR)) {
        // The pty buffer is full (the program does not read): wait until it has room.
        m_writeBlocked = true;
    }
}

void Simulator::finishTransmission(Clock::time_point now) {
    const Transmission& t = *m_active;
    m_lineFreeAt = m_options.fast ? now : m_paceStart + m_byteTime * static_cast<long>(t.limit);
    if (t.hangup) {
        m_hangupSince = now;
        m_active.reset();
        pump(now);
        return;
    }
    say((t.cut ? "cut " : "sent ") + std::to_string(t.slot));
    m_active.reset();
}

// How long ppoll() may sleep: until the next byte is due, the next queued frame may start, the
// hang-up wait looks again or the pty is to be read again; nothing: until an event.
std::optional<Simulator::Clock::duration> Simulator::nextWake(Clock::time_point now) const {
    std::optional<Clock::duration> wake;
    auto consider = [&](Clock::duration d) {
        d = std::max(d, Clock::duration::zero());
        if (!wake || d < *wake) {
            wake = d;
        }
    };
    if (m_hangupSince) {
        consider(kHangupPollInterval);
    }
    if (m_active && !m_writeBlocked) {
        consider(m_options.fast ? Clock::duration::zero() : nextGroupDue() - now);
    }
    if (!m_active && !m_queue.empty()) {
        consider(m_queue.front().notBefore - now);
    }
    if (now < m_masterQuietUntil) {
        consider(m_masterQuietUntil - now);
    }
    return wake;
}

// When the last byte of the next group (one byte without --burst) is due.
Simulator::Clock::time_point Simulator::nextGroupDue() const {
    const std::size_t end =
        std::min(m_sent + static_cast<std::size_t>(m_options.burst), m_active->limit);
    return m_paceStart + m_byteTime * static_cast<long>(end - 1);
}

void Simulator::hangUpAndExit() {
    m_pty.removeLink();
    m_pty.close();
    say("hangup");
    m_quit = true;
}

// The pty goes as a pulled cable goes: at once, with whatever is on the line. The program
// holding the slave sees a hang-up; the --link goes too, as udev removes a /dev/serial/by-id
// link, so nothing is found at the configured path until `replug`.
LineChange Simulator::unplug() {
    if (unplugged()) {
        return {false, "the line is unplugged already"};
    }
    if (m_active) {
        say("cut " + std::to_string(m_active->slot));
        m_active.reset();
    }
    m_queue.clear();
    m_hangupSince.reset();
    m_writeBlocked = false;
    m_parser = CommandParser{};
    m_lastSlavePath = m_pty.slavePath();
    m_pty.removeLink();
    m_pty.close();
    return {true, "unplugged"};
}

// A new pty, and the --link pointing to it. A new name is had by holding a pty under the old
// name while the new one is opened, as an adapter plugged back in while its old name is
// still held comes back under the next free one.
LineChange Simulator::replug(bool newName) {
    if (!unplugged()) {
        return {false, "the line is plugged in"};
    }
    std::string error;
    Pty fresh;
    if (!fresh.open(error)) {
        return {false, error};
    }
    Pty holdsTheOldName;
    if ((newName || m_options.newNameOnReplug) && fresh.slavePath() == m_lastSlavePath) {
        holdsTheOldName = std::move(fresh);
        if (!fresh.open(error)) {
            return {false, error};
        }
    }
    m_pty = std::move(fresh);
    if (!m_options.link.empty() && !m_pty.createLink(m_options.link, error)) {
        m_pty.close();
        return {false, error};
    }
    m_masterQuietUntil = Clock::now();
    m_lineFreeAt = Clock::now();
    return {true, "replugged " + m_pty.slavePath()};
}

}  // namespace instrument_sim
