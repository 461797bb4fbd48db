#include "simulator.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

namespace instrument_sim {
namespace {

volatile std::sig_atomic_t g_signalled = 0;

void onSignal(int) {
    g_signalled = 1;
}

constexpr const char* kUsage = R"(Usage: instrument-sim [options]

Stands in for a Corvane ultrasonic flaw detector on a pseudo-terminal. Prints the device path
of the pty (for example /dev/pts/5) as the first line of standard output, then serves slot
requests and reads commands from standard input.

Options:
  --model tft|dac       instrument model and frame layout (default tft)
  --seed N              seed of the 200 generated memory slots (default 1)
  --link PATH           also create a symbolic link PATH to the pty (removed on exit)
  --fast                send at full speed instead of pacing like a 9600 baud line
  --baud N              line speed for pacing, 10 bits per byte (default 9600)
  --reply-delay MS      wait MS milliseconds before answering a request (default 0)
  --verbose             log received command blocks and skipped bytes to standard error
  --ignore-eof          keep running when standard input ends (also the case when standard
                        input is not a pipe or a terminal, e.g. /dev/null or a file)
  --print-record N      print slot N's record (lines "INDEX VALUE", the indexes a frame
                        carries) and exit; no pty is opened
  --print-fields N      print slot N's fields (lines NAME FIRST COUNT "TEXT" or values) and exit
  --help                this text

Faults for every frame (the same names as the `fault` commands below):
  --noise K             K noise bytes (never 255) before the sync byte
  --sep255              the separator byte after block A is 255
  --nosep               no separator byte: the second sync follows block A directly
  --filler F            F filler bytes (never 255) before the second sync byte
  --b255 P              put a 255 at block-B byte P
  --memno TEXT          send TEXT (1 to 3 characters, right-aligned) as the memory number,
                        e.g. 345, 000, 0
  --cut K               stop sending each frame after K bytes (counted from the sync byte)
  --hangup K            after K bytes of the first frame, close the pty and exit
  --no-answer-first     ignore the first request for each slot, answer the retry
  --silent-slot N       never answer requests for slot N (repeatable)
  --mute                never answer any request

Standard input, one command per line; each gets "ok" or "error: ..." on standard output:
  send N                send slot N (1..200) as if the operator pressed send
  fault NAME [ARG]      arm a fault for the next frame only (several may be armed):
                        noise K | sep255 | nosep | filler F | b255 P | memno TEXT |
                        cut K | hangup K | delay MS (reply delay) |
                        noanswer [N] (ignore the next N requests, default 1) |
                        clear (disarm all)
  help                  list the commands
  quit                  exit

Event lines on standard output:
  request N             a slot request for slot N was received (N = its three digits)
  served N              the request is answered (the frame is queued)
  ignored N             the request is not answered (out of range or a fault)
  release               the release command (R block, F block) was received
  sent N                the last byte of slot N's frame was written to the pty
  cut N                 slot N's frame was cut off as asked
  hangup                the pty was closed by the hangup fault; the simulator exits
)";

bool parseInt(const std::string& s, long lo, long hi, long& out) {
    if (s.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) {
        return false;
    }
    out = v;
    return true;
}

std::vector<std::string> splitWords(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string w;
    while (in >> w) {
        words.push_back(w);
    }
    return words;
}

bool validMemno(const std::string& s) {
    if (s.empty() || s.size() > 3) {
        return false;
    }
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return c > 32 && static_cast<unsigned char>(c) < 127; });
}

// Applies one fault given by name to `f`; shared by the command line and `fault`.
bool applyFault(const std::string& name, const std::string* arg, int blockBLength, Faults& f,
                std::string& error) {
    auto needInt = [&](long lo, long hi, long& v) {
        if (arg == nullptr || !parseInt(*arg, lo, hi, v)) {
            error = name + " needs a number " + std::to_string(lo) + ".." + std::to_string(hi);
            return false;
        }
        return true;
    };
    long v = 0;
    if (name == "noise") {
        if (!needInt(0, 100000, v))
            return false;
        f.frame.noise = static_cast<int>(v);
    } else if (name == "sep255") {
        f.frame.separator255 = true;
    } else if (name == "nosep") {
        f.frame.noSeparator = true;
    } else if (name == "filler") {
        if (!needInt(0, 100000, v))
            return false;
        f.frame.filler = static_cast<int>(v);
    } else if (name == "b255") {
        if (!needInt(0, blockBLength - 1, v))
            return false;
        f.frame.blockB255 = static_cast<int>(v);
    } else if (name == "memno") {
        if (arg == nullptr || !validMemno(*arg)) {
            error = "memno needs 1 to 3 printable characters, e.g. 345 or 000";
            return false;
        }
        f.frame.memno = *arg;
    } else if (name == "cut") {
        if (!needInt(0, 1000000, v))
            return false;
        f.cutAfter = static_cast<int>(v);
    } else if (name == "hangup") {
        if (!needInt(0, 1000000, v))
            return false;
        f.hangupAfter = static_cast<int>(v);
    } else if (name == "delay") {
        if (!needInt(0, 600000, v))
            return false;
        f.replyDelayMs = static_cast<int>(v);
    } else {
        error = "unknown fault " + name;
        return false;
    }
    return true;
}

std::string quoted(const Record& r, int first, int count) {
    std::string s = "\"";
    for (int i = 0; i < count; ++i) {
        s += static_cast<char>(r[first + i]);
    }
    return s + "\"";
}

}  // namespace

std::optional<int> parseOptions(int argc, char** argv, Options& o) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string opt = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = opt.find('='); opt.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = opt.substr(eq + 1);
            opt = opt.substr(0, eq);
        }
        auto value = [&](std::string& out) {
            if (inlineValue) {
                out = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) {
                std::cerr << "instrument-sim: " << opt << " needs a value\n";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto number = [&](long lo, long hi, long& out) {
            std::string s;
            if (!value(s))
                return false;
            if (!parseInt(s, lo, hi, out)) {
                std::cerr << "instrument-sim: " << opt << ": not a number " << lo << ".." << hi
                          << ": " << s << "\n";
                return false;
            }
            return true;
        };
        long n = 0;
        std::string s;
        if (opt == "--help" || opt == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (opt == "--model") {
            if (!value(s))
                return 2;
            if (s == "tft") {
                o.model = Model::Tft;
            } else if (s == "dac") {
                o.model = Model::Dac;
            } else {
                std::cerr << "instrument-sim: --model must be tft or dac\n";
                return 2;
            }
        } else if (opt == "--seed") {
            if (!value(s))
                return 2;
            char* end = nullptr;
            o.seed = std::strtoull(s.c_str(), &end, 10);
            if (s.empty() || *end != '\0') {
                std::cerr << "instrument-sim: --seed needs a number\n";
                return 2;
            }
        } else if (opt == "--link") {
            if (!value(o.link))
                return 2;
        } else if (opt == "--fast") {
            o.fast = true;
        } else if (opt == "--baud") {
            if (!number(50, 4000000, n))
                return 2;
            o.baud = static_cast<int>(n);
        } else if (opt == "--reply-delay") {
            if (!number(0, 600000, n))
                return 2;
            o.replyDelayMs = static_cast<int>(n);
        } else if (opt == "--verbose") {
            o.verbose = true;
        } else if (opt == "--ignore-eof") {
            o.ignoreEof = true;
        } else if (opt == "--print-record" || opt == "--print-fields") {
            if (!number(1, kSlotCount, n))
                return 2;
            (opt == "--print-record" ? o.printRecord : o.printFields) = static_cast<int>(n);
        } else if (opt == "--no-answer-first") {
            o.noAnswerFirst = true;
        } else if (opt == "--silent-slot") {
            if (!number(1, kSlotCount, n))
                return 2;
            o.silentSlots.insert(static_cast<int>(n));
        } else if (opt == "--mute") {
            for (int slot = 1; slot <= kSlotCount; ++slot) {
                o.silentSlots.insert(slot);
            }
        } else if (opt == "--noise" || opt == "--filler" || opt == "--b255" || opt == "--memno" ||
                   opt == "--cut" || opt == "--hangup") {
            if (!value(s))
                return 2;
            std::string error;
            const int blockB = layoutFor(o.model).blockBLength;  // --b255 is checked again below
            if (!applyFault(opt.substr(2), &s, std::max(blockB, 716), o.faults, error)) {
                std::cerr << "instrument-sim: " << error << "\n";
                return 2;
            }
        } else if (opt == "--sep255" || opt == "--nosep") {
            std::string error;
            applyFault(opt.substr(2), nullptr, 0, o.faults, error);
        } else {
            std::cerr << "instrument-sim: unknown option " << opt << " (see --help)\n";
            return 2;
        }
    }
    if (o.faults.frame.blockB255 && *o.faults.frame.blockB255 >= layoutFor(o.model).blockBLength) {
        std::cerr << "instrument-sim: --b255 beyond block B of this model\n";
        return 2;
    }
    return std::nullopt;
}

int printSlot(const Options& o) {
    const ModelLayout& layout = layoutFor(o.model);
    Record r = makeRecord(layout, o.seed, o.printRecord ? *o.printRecord : *o.printFields);
    if (o.faults.frame.memno) {
        setMemoryNumber(r, *o.faults.frame.memno);
    }
    if (o.printRecord) {
        for (int i = 0; i <= layout.lastFrameIndex; ++i) {
            if (i < kSampleCount || i >= 260) {
                std::printf("%d %d\n", i, r[i]);
            }
        }
        return 0;
    }
    for (const Field& f : layout.fields) {
        std::printf("%.*s %d %d", static_cast<int>(f.name.size()), f.name.data(), f.record,
                    f.count);
        if (f.name == "samples" || f.name == "dacpoints") {
            for (int i = 0; i < f.count; ++i) {
                std::printf(" %d", r[f.record + i]);
            }
            std::printf("\n");
        } else {
            std::printf(" %s\n", quoted(r, f.record, f.count).c_str());
        }
    }
    return 0;
}

Simulator::Simulator(Options options)
    : m_options(std::move(options)),
      m_layout(layoutFor(m_options.model)),
      m_byteTime(std::chrono::nanoseconds(10'000'000'000LL / m_options.baud)) {}

void Simulator::say(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Simulator::log(const std::string& line) const {
    if (m_options.verbose) {
        std::fprintf(stderr, "instrument-sim: %s\n", line.c_str());
    }
}

int Simulator::run() {
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    sigset_t blocked;
    sigset_t waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGHUP);

    std::string error;
    if (!m_pty.open(error)) {
        std::cerr << "instrument-sim: " << error << "\n";
        return 1;
    }
    if (!m_options.link.empty() && !m_pty.createLink(m_options.link, error)) {
        std::cerr << "instrument-sim: " << error << "\n";
        return 1;
    }
    say(m_pty.slavePath());

    // End of input means "quit" only when a controller (pipe) or a person (terminal) went away.
    struct stat st {};
    const bool interactiveInput =
        fstat(STDIN_FILENO, &st) == 0 &&
        (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || isatty(STDIN_FILENO));

    while (!m_quit && g_signalled == 0) {
        Clock::time_point now = Clock::now();
        pump(now);
        if (m_quit) {
            break;
        }

        pollfd fds[2];
        nfds_t count = 0;
        int stdinIndex = -1;
        int masterIndex = -1;
        if (m_stdinOpen) {
            stdinIndex = static_cast<int>(count);
            fds[count++] = {STDIN_FILENO, POLLIN, 0};
        }
        if (now >= m_masterQuietUntil) {
            masterIndex = static_cast<int>(count);
            fds[count++] = {m_pty.master(),
                            static_cast<short>(POLLIN | (m_writeBlocked ? POLLOUT : 0)), 0};
        }
        timespec ts{};
        timespec* timeout = nullptr;
        if (auto wake = nextWake(now)) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(*wake).count();
            ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            ts.tv_nsec = static_cast<long>(ns % 1'000'000'000);
            timeout = &ts;
        }
        const int ready = ppoll(fds, count, timeout, &waitMask);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::cerr << "instrument-sim: poll: " << std::strerror(errno) << "\n";
            break;
        }
        if (masterIndex >= 0) {
            const short ev = fds[masterIndex].revents;
            if ((ev & POLLOUT) && m_writeBlocked) {
                // Go on from now instead of sending a burst to catch up with the schedule.
                m_writeBlocked = false;
                m_paceStart = Clock::now() - m_byteTime * static_cast<long>(m_sent);
            }
            if (ev & (POLLIN | POLLHUP | POLLERR)) {
                handleMaster((ev & (POLLHUP | POLLERR)) != 0);
            }
        }
        if (stdinIndex >= 0 && (fds[stdinIndex].revents & (POLLIN | POLLHUP | POLLERR))) {
            handleStdin();
            if (!m_stdinOpen && interactiveInput && !m_options.ignoreEof) {
                m_quit = true;
            }
        }
    }
    m_pty.removeLink();
    m_pty.close();
    return 0;
}

void Simulator::handleMaster(bool hangUpReported) {
    std::uint8_t buf[4096];
    const ssize_t n = read(m_pty.master(), buf, sizeof buf);
    if (n > 0) {
        if (m_options.verbose) {
            std::string shown;
            for (ssize_t i = 0; i < n && i < 120; ++i) {
                if (buf[i] >= 32 && buf[i] < 127 && buf[i] != '\\') {
                    shown += static_cast<char>(buf[i]);
                } else {
                    char h[8];
                    std::snprintf(h, sizeof h, "\\x%02x", buf[i]);
                    shown += h;
                }
            }
            log("received " + std::to_string(n) + " bytes: " + shown + (n > 120 ? "..." : ""));
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
    // EIO (or end of file): no peer holds the slave open. Look again a little later instead
    // of spinning on the hang-up condition.
    m_masterQuietUntil = Clock::now() + std::chrono::milliseconds(100);
}

void Simulator::handleStdin() {
    char buf[1024];
    const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;
        }
        m_stdinOpen = false;
        if (!m_stdinBuffer.empty()) {
            handleCommandLine(m_stdinBuffer);
            m_stdinBuffer.clear();
        }
        return;
    }
    m_stdinBuffer.append(buf, static_cast<std::size_t>(n));
    std::size_t pos = 0;
    while ((pos = m_stdinBuffer.find('\n')) != std::string::npos && !m_quit) {
        std::string line = m_stdinBuffer.substr(0, pos);
        m_stdinBuffer.erase(0, pos + 1);
        handleCommandLine(line);
    }
}

void Simulator::handleCommandLine(const std::string& line) {
    const std::vector<std::string> words = splitWords(line);
    if (words.empty() || words[0][0] == '#') {
        return;
    }
    const std::string& cmd = words[0];
    std::string error;
    long n = 0;
    if (cmd == "send") {
        if (words.size() != 2 || !parseInt(words[1], 1, kSlotCount, n)) {
            say("error: send needs a slot number 1..200");
            return;
        }
        say("ok");
        queueFrame(static_cast<int>(n), Clock::now());
    } else if (cmd == "fault") {
        if (!armFault(words, error)) {
            say("error: " + error);
            return;
        }
        say("ok");
    } else if (cmd == "quit" || cmd == "exit") {
        say("ok");
        m_quit = true;
    } else if (cmd == "help") {
        std::fputs(kUsage, stdout);
        say("ok");
    } else {
        say("error: unknown command " + cmd + " (send N, fault NAME [ARG], help, quit)");
    }
}

bool Simulator::armFault(const std::vector<std::string>& words, std::string& error) {
    if (words.size() < 2 || words.size() > 3) {
        error = "fault needs a name and at most one argument";
        return false;
    }
    const std::string& name = words[1];
    const std::string* arg = words.size() == 3 ? &words[2] : nullptr;
    if (name == "clear") {
        m_armed.reset();
        m_armedNoAnswer = 0;
        return true;
    }
    if (name == "noanswer") {
        long n = 1;
        if (arg != nullptr && !parseInt(*arg, 0, 1000000, n)) {
            error = "noanswer needs a count";
            return false;
        }
        m_armedNoAnswer = static_cast<int>(n);
        return true;
    }
    Faults f = m_armed.value_or(m_options.faults);
    if (!applyFault(name, arg, m_layout.blockBLength, f, error)) {
        return false;
    }
    m_armed = f;
    return true;
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
    if (m_armedNoAnswer > 0) {
        --m_armedNoAnswer;
        say("ignored " + s);
        return;
    }
    if (m_options.noAnswerFirst && count == 1) {
        say("ignored " + s);
        return;
    }
    const Faults& f = m_armed ? *m_armed : m_options.faults;
    const int delay = f.replyDelayMs.value_or(m_options.replyDelayMs);
    say("served " + s);
    queueFrame(slot, Clock::now() + std::chrono::milliseconds(delay));
}

void Simulator::queueFrame(int slot, Clock::time_point notBefore) {
    const Faults f = m_armed.value_or(m_options.faults);
    m_armed.reset();
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

void Simulator::pump(Clock::time_point now) {
    if (m_hangupSince) {
        // Give the program a moment to read what was sent before the line goes dead: the pty
        // moves written bytes to the slave asynchronously, so wait at least 100 ms, then until
        // the slave's input queue is empty (at most 2 s).
        const auto waited = now - *m_hangupSince;
        if ((waited >= std::chrono::milliseconds(100) && m_pty.unreadBySlave() <= 0) ||
            waited > std::chrono::seconds(2)) {
            hangUpAndExit();
        }
        return;
    }
    if (!m_active && !m_queue.empty() && m_queue.front().notBefore <= now) {
        m_active = std::move(m_queue.front());
        m_queue.pop_front();
        m_sent = 0;
        m_paceStart = std::max(now, m_lineFreeAt);
    }
    if (!m_active) {
        return;
    }
    const Transmission& t = *m_active;
    std::size_t due = t.limit;
    if (!m_options.fast) {
        due = now < m_paceStart
                  ? 0
                  : std::min<std::size_t>(
                        t.limit, static_cast<std::size_t>((now - m_paceStart) / m_byteTime) + 1);
    }
    if (due > m_sent && !m_writeBlocked) {
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
    if (m_sent >= t.limit) {
        finishTransmission(now);
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

std::optional<Simulator::Clock::duration> Simulator::nextWake(Clock::time_point now) const {
    std::optional<Clock::duration> wake;
    auto consider = [&](Clock::duration d) {
        d = std::max(d, Clock::duration::zero());
        if (!wake || d < *wake) {
            wake = d;
        }
    };
    if (m_hangupSince) {
        consider(std::chrono::milliseconds(5));
    }
    if (m_active && !m_writeBlocked) {
        consider(m_options.fast ? Clock::duration::zero()
                                : m_paceStart + m_byteTime * static_cast<long>(m_sent) - now);
    }
    if (!m_active && !m_queue.empty()) {
        consider(m_queue.front().notBefore - now);
    }
    if (now < m_masterQuietUntil) {
        consider(m_masterQuietUntil - now);
    }
    return wake;
}

void Simulator::hangUpAndExit() {
    m_pty.removeLink();
    m_pty.close();
    say("hangup");
    m_quit = true;
}

}  // namespace instrument_sim
