// Runs the built instrument simulator on its pty and checks what it sends, byte by byte, against
// the wire format: frame length, sync bytes, field positions and the fault commands.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<unsigned char>;
using Clock = std::chrono::steady_clock;

std::string simulatorPath() {
    if (const char* env = std::getenv("TRELLICAP_SIM"); env != nullptr && *env != '\0') {
        return env;
    }
#ifdef TRELLICAP_SIM_PATH
    return TRELLICAP_SIM_PATH;
#else
    return {};
#endif
}

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

// The simulator as a child process: its standard input and output are pipes.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args) {
        int in[2];
        int out[2];
        if (pipe(in) != 0 || pipe(out) != 0) {
            return;
        }
        const std::string path = simulatorPath();
        m_pid = fork();
        if (m_pid == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            close(in[0]);
            close(in[1]);
            close(out[0]);
            close(out[1]);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(path.c_str()));
            for (std::string& a : args) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            execv(path.c_str(), argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        m_in = in[1];
        m_out = out[0];
    }

    ~SimProcess() {
        if (m_pid <= 0) {
            return;
        }
        if (m_in >= 0) {
            close(m_in);  // end of input on a pipe: the simulator quits
        }
        const auto deadline = Clock::now() + 3s;
        while (waitpid(m_pid, nullptr, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                kill(m_pid, SIGKILL);
                waitpid(m_pid, nullptr, 0);
                break;
            }
            std::this_thread::sleep_for(10ms);
        }
        close(m_out);
    }

    void command(const std::string& line) {
        const std::string s = line + "\n";
        ASSERT_EQ(write(m_in, s.data(), s.size()), static_cast<ssize_t>(s.size()));
    }

    std::optional<std::string> readLine(std::chrono::milliseconds timeout = 5000ms) {
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            if (const auto nl = m_buffer.find('\n'); nl != std::string::npos) {
                std::string line = m_buffer.substr(0, nl);
                m_buffer.erase(0, nl + 1);
                return line;
            }
            pollfd p{m_out, POLLIN, 0};
            if (poll(&p, 1, remainingMs(deadline)) <= 0) {
                return std::nullopt;
            }
            char buf[512];
            const ssize_t n = read(m_out, buf, sizeof buf);
            if (n <= 0) {
                return std::nullopt;
            }
            m_buffer.append(buf, static_cast<std::size_t>(n));
        }
    }

    // Reads lines until `expected`; false if another line or nothing comes first.
    ::testing::AssertionResult expectLine(const std::string& expected) {
        const std::optional<std::string> line = readLine();
        if (!line) {
            return ::testing::AssertionFailure() << "no line, expected \"" << expected << "\"";
        }
        if (*line != expected) {
            return ::testing::AssertionFailure()
                   << "line \"" << *line << "\", expected \"" << expected << "\"";
        }
        return ::testing::AssertionSuccess();
    }

    bool exited(std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        while (Clock::now() < deadline) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = -1;
                return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    std::string m_buffer;
};

// The program's end of the line: the pty slave, raw.
class Port {
public:
    explicit Port(const std::string& path) {
        m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd >= 0) {
            termios t{};
            tcgetattr(m_fd, &t);
            cfmakeraw(&t);
            tcsetattr(m_fd, TCSANOW, &t);
        }
    }
    ~Port() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }

    void writeBytes(const std::string& s) {
        ASSERT_EQ(write(m_fd, s.data(), s.size()), static_cast<ssize_t>(s.size()));
    }

    // Reads until `count` bytes came, then waits `quiet` for bytes beyond them (which are
    // returned too, so that the caller sees a frame that is too long).
    Bytes read(std::size_t count, std::chrono::milliseconds quiet = 150ms,
               std::chrono::milliseconds timeout = 5000ms) {
        Bytes got;
        const auto deadline = Clock::now() + timeout;
        std::optional<Clock::time_point> quietEnd;
        for (;;) {
            if (got.size() >= count && !quietEnd) {
                quietEnd = Clock::now() + quiet;
            }
            const auto end = quietEnd ? *quietEnd : deadline;
            pollfd p{m_fd, POLLIN, 0};
            const int r = poll(&p, 1, remainingMs(end));
            if (r <= 0) {
                return got;
            }
            unsigned char buf[4096];
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n <= 0) {
                m_lineDead = n == 0 || errno == EIO;
                if (n < 0 && errno == EAGAIN) {
                    continue;
                }
                return got;
            }
            got.insert(got.end(), buf, buf + n);
            m_readSizes.push_back(static_cast<std::size_t>(n));
        }
    }

    // The size of every read() that returned bytes, in order.
    [[nodiscard]] const std::vector<std::size_t>& readSizes() const { return m_readSizes; }

    [[nodiscard]] bool lineDead() const { return m_lineDead; }

private:
    int m_fd = -1;
    bool m_lineDead = false;
    std::vector<std::size_t> m_readSizes;
};

std::string block(char c) {
    return c + std::string(21, 'Z');
}

std::string request(int slot) {
    return block('R') + block('A') + block(static_cast<char>('0' + slot / 100)) +
           block(static_cast<char>('0' + slot / 10 % 10)) +
           block(static_cast<char>('0' + slot % 10));
}

// Block-B byte -> record index runs, as the wire format gives them for each model.
struct FieldRun {
    int blockB;
    int record;
    int count;
};

const std::vector<FieldRun> kTftRuns = {
    {7, 260, 7},   {21, 267, 7},   {35, 274, 7},  {49, 281, 7},  {63, 288, 7},    {77, 295, 7},
    {91, 302, 7},  {105, 309, 7},  {119, 316, 7}, {141, 323, 7}, {155, 330, 7},   {169, 337, 7},
    {183, 344, 7}, {205, 351, 7},  {219, 358, 7}, {233, 365, 7}, {257, 372, 4},   {269, 376, 7},
    {283, 383, 7}, {297, 390, 7},  {311, 397, 7}, {332, 404, 7}, {346, 411, 7},   {360, 418, 7},
    {374, 425, 6}, {396, 431, 7},  {410, 438, 7}, {424, 445, 7}, {438, 452, 7},   {460, 459, 7},
    {474, 466, 7}, {488, 473, 7},  {502, 480, 7}, {524, 487, 7}, {538, 494, 7},   {552, 501, 7},
    {566, 508, 7}, {580, 515, 15}, {598, 530, 5}, {606, 535, 5}, {614, 540, 102},
};

const std::vector<FieldRun> kDacRuns = {
    {7, 260, 7},    {21, 267, 7},  {35, 274, 7},   {49, 281, 7},  {63, 288, 7},  {77, 295, 7},
    {91, 302, 7},   {105, 309, 7}, {119, 316, 7},  {133, 323, 7}, {147, 330, 7}, {161, 337, 7},
    {175, 344, 7},  {197, 351, 7}, {211, 358, 7},  {225, 365, 7}, {261, 372, 7}, {275, 379, 7},
    {289, 386, 7},  {303, 393, 7}, {325, 400, 7},  {339, 407, 7}, {353, 414, 7}, {367, 421, 6},
    {380, 427, 10}, {397, 437, 7}, {411, 444, 7},  {425, 451, 7}, {439, 458, 7}, {461, 465, 7},
    {475, 472, 7},  {489, 479, 7}, {503, 486, 12}, {518, 498, 5}, {526, 503, 5}, {534, 508, 22},
};

struct ModelCase {
    std::string name;
    std::size_t blockB;
    std::size_t memnoRaw;  // raw position of record index 358
    const std::vector<FieldRun>* runs;
};

void PrintTo(const ModelCase& c, std::ostream* os) {
    *os << c.name;
}

class InstrumentSimTest : public ::testing::TestWithParam<ModelCase> {
protected:
    void SetUp() override {
        if (simulatorPath().empty()) {
            GTEST_SKIP() << "TRELLICAP_SIM is not set";
        }
        m_sim.emplace(std::vector<std::string>{"--fast", "--model", GetParam().name});
        const std::optional<std::string> path = m_sim->readLine();
        ASSERT_TRUE(path.has_value()) << "the simulator printed no pty path";
        ASSERT_EQ(path->rfind("/dev/", 0), 0u) << *path;
        m_port.emplace(*path);
        ASSERT_TRUE(m_port->isOpen()) << *path;
    }

    [[nodiscard]] std::size_t frameLength() const { return 1 + 252 + 1 + 1 + GetParam().blockB; }

    // Frame index of raw position p (block B starts after sync, block A, separator, sync).
    [[nodiscard]] static std::size_t frameIndexOfRaw(std::size_t raw, std::size_t filler = 0) {
        return raw < 260 ? 1 + raw : 1 + 252 + 1 + filler + 1 + (raw - 260);
    }

    static std::string memno(const Bytes& frame, std::size_t at) {
        return std::string(frame.begin() + static_cast<long>(at),
                           frame.begin() + static_cast<long>(at) + 3);
    }

    std::optional<SimProcess> m_sim;
    std::optional<Port> m_port;
};

TEST_P(InstrumentSimTest, slotRequestIsAnsweredWithThatSlotsFrame) {
    m_port->writeBytes(request(7));
    EXPECT_TRUE(m_sim->expectLine("request 7"));
    EXPECT_TRUE(m_sim->expectLine("served 7"));
    const Bytes frame = m_port->read(frameLength());
    EXPECT_TRUE(m_sim->expectLine("sent 7"));

    ASSERT_EQ(frame.size(), frameLength());
    EXPECT_EQ(frame[0], 255);
    EXPECT_NE(frame[1 + 252], 255) << "separator";
    EXPECT_EQ(frame[1 + 252 + 1], 255) << "second sync";
    EXPECT_EQ(memno(frame, frameIndexOfRaw(GetParam().memnoRaw)), "007");
    for (std::size_t i = 1; i < frame.size(); ++i) {
        if (i != 1 + 252 + 1) {
            ASSERT_NE(frame[i], 255) << "byte " << i;
        }
    }
    for (std::size_t i = 2; i < 2 + 251; ++i) {
        EXPECT_LE(frame[i], 120) << "sample " << i - 2;
    }
}

TEST_P(InstrumentSimTest, sendCommandProducesUnsolicitedFrame) {
    m_sim->command("send 12");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    const Bytes frame = m_port->read(frameLength());
    EXPECT_TRUE(m_sim->expectLine("sent 12"));
    ASSERT_EQ(frame.size(), frameLength());
    EXPECT_EQ(frame[0], 255);
    EXPECT_EQ(memno(frame, frameIndexOfRaw(GetParam().memnoRaw)), "012");
}

TEST_P(InstrumentSimTest, frameCarriesPrintedRecordAtMappedPositions) {
    const std::string cmd = simulatorPath() + " --model " + GetParam().name + " --print-record 33";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::array<int, 701> record{};
    record.fill(-1);
    int index = 0;
    int value = 0;
    while (std::fscanf(p, "%d %d", &index, &value) == 2) {
        ASSERT_TRUE(index >= 0 && index < 701);
        record[static_cast<std::size_t>(index)] = value;
    }
    ASSERT_EQ(pclose(p), 0);

    m_sim->command("send 33");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    const Bytes frame = m_port->read(frameLength());
    ASSERT_EQ(frame.size(), frameLength());
    for (int i = 0; i <= 250; ++i) {
        EXPECT_EQ(frame[static_cast<std::size_t>(2 + i)], record[static_cast<std::size_t>(i)])
            << "sample " << i;
    }
    const std::size_t blockB = 1 + 252 + 1 + 1;
    for (const FieldRun& run : *GetParam().runs) {
        for (int j = 0; j < run.count; ++j) {
            EXPECT_EQ(frame[blockB + static_cast<std::size_t>(run.blockB + j)],
                      record[static_cast<std::size_t>(run.record + j)])
                << "record index " << run.record + j;
        }
    }
    EXPECT_EQ(record[358], '0');
    EXPECT_EQ(record[359], '3');
    EXPECT_EQ(record[360], '3');
}

TEST_P(InstrumentSimTest, armedFaultsChangeOnlyTheNextFrame) {
    m_sim->command("fault noise 5");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    m_sim->command("fault filler 3");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    m_sim->command("fault memno 345");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    m_sim->command("send 3");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    Bytes frame = m_port->read(5 + frameLength() + 3);
    EXPECT_TRUE(m_sim->expectLine("sent 3"));
    ASSERT_EQ(frame.size(), 5 + frameLength() + 3);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NE(frame[i], 255) << "noise byte " << i;
    }
    EXPECT_EQ(frame[5], 255);
    EXPECT_EQ(frame[5 + 1 + 252 + 1 + 3], 255) << "second sync after the filler";
    EXPECT_EQ(memno(frame, 5 + frameIndexOfRaw(GetParam().memnoRaw, 3)), "345");

    m_sim->command("send 3");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    frame = m_port->read(frameLength());
    ASSERT_EQ(frame.size(), frameLength());
    EXPECT_EQ(memno(frame, frameIndexOfRaw(GetParam().memnoRaw)), "003");
}

TEST_P(InstrumentSimTest, noAnswerFaultSkipsOneRequestAndTheRetryIsServed) {
    m_sim->command("fault noanswer");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    m_port->writeBytes(request(9));
    EXPECT_TRUE(m_sim->expectLine("request 9"));
    EXPECT_TRUE(m_sim->expectLine("ignored 9"));
    EXPECT_TRUE(m_port->read(1, 0ms, 200ms).empty());
    m_port->writeBytes(request(9));
    EXPECT_TRUE(m_sim->expectLine("request 9"));
    EXPECT_TRUE(m_sim->expectLine("served 9"));
    EXPECT_EQ(m_port->read(frameLength()).size(), frameLength());
}

TEST_P(InstrumentSimTest, garbageAndReleaseDoNotDisturbRequests) {
    m_port->writeBytes("xyZZZ7" + block('R') + block('F') + "RRZQ" + block('R') + "AZZ" +
                       request(150));
    EXPECT_TRUE(m_sim->expectLine("release"));
    EXPECT_TRUE(m_sim->expectLine("request 150"));
    EXPECT_TRUE(m_sim->expectLine("served 150"));
    const Bytes frame = m_port->read(frameLength());
    ASSERT_EQ(frame.size(), frameLength());
    EXPECT_EQ(memno(frame, frameIndexOfRaw(GetParam().memnoRaw)), "150");
    EXPECT_TRUE(m_sim->expectLine("sent 150"));

    m_port->writeBytes(request(0) + request(201));
    EXPECT_TRUE(m_sim->expectLine("request 0"));
    EXPECT_TRUE(m_sim->expectLine("ignored 0"));
    EXPECT_TRUE(m_sim->expectLine("request 201"));
    EXPECT_TRUE(m_sim->expectLine("ignored 201"));
    EXPECT_TRUE(m_port->read(1, 0ms, 200ms).empty());
}

TEST_P(InstrumentSimTest, cutFaultStopsTheFrame) {
    m_sim->command("fault cut 100");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    m_sim->command("send 4");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    EXPECT_EQ(m_port->read(100, 300ms).size(), 100u);
    EXPECT_TRUE(m_sim->expectLine("cut 4"));
}

TEST_P(InstrumentSimTest, hangupFaultClosesTheLineAndExits) {
    m_sim->command("fault hangup 50");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    m_sim->command("send 5");
    EXPECT_TRUE(m_sim->expectLine("ok"));
    const Bytes got = m_port->read(50, 2500ms);
    EXPECT_EQ(got.size(), 50u);
    EXPECT_TRUE(m_port->lineDead());
    EXPECT_TRUE(m_sim->expectLine("hangup"));
    EXPECT_TRUE(m_sim->exited(3000ms));
}

// The cable pulled and plugged back in: the program's end of the line goes dead and the --link
// goes with it; `replug` brings a new pty behind the link (under another name when asked)
// that answers as before. What is sent while unplugged goes nowhere.
TEST(InstrumentSimLineTest, unplugClosesTheLineAndReplugBringsANewOneBehindTheLink) {
    if (simulatorPath().empty()) {
        GTEST_SKIP() << "TRELLICAP_SIM is not set";
    }
    char folder[] = "/tmp/instrument-sim-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string link = std::string(folder) + "/ttyCORVANE";
    const auto linkTarget = [&link]() -> std::string {
        char target[4096];
        const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        return n < 0 ? std::string() : std::string(target, static_cast<std::size_t>(n));
    };
    {
        SimProcess sim(std::vector<std::string>{"--fast", "--link", link});
        const std::optional<std::string> first = sim.readLine();
        ASSERT_TRUE(first.has_value());
        EXPECT_EQ(linkTarget(), *first);
        std::optional<Port> port(std::in_place, link);
        ASSERT_TRUE(port->isOpen());

        sim.command("unplug");
        EXPECT_TRUE(sim.expectLine("ok"));
        EXPECT_TRUE(sim.expectLine("unplugged"));
        EXPECT_TRUE(port->read(1, 100ms, 2000ms).empty());
        EXPECT_TRUE(port->lineDead());
        EXPECT_EQ(linkTarget(), "");
        sim.command("unplug");
        EXPECT_TRUE(sim.expectLine("error: the line is unplugged already"));
        sim.command("send 3");
        EXPECT_TRUE(sim.expectLine("ok"));
        EXPECT_TRUE(sim.expectLine("lost 3"));
        port.reset();

        sim.command("replug new-name");
        EXPECT_TRUE(sim.expectLine("ok"));
        const std::optional<std::string> replugged = sim.readLine();
        ASSERT_TRUE(replugged.has_value());
        ASSERT_EQ(replugged->rfind("replugged /dev/", 0), 0u) << *replugged;
        const std::string second = replugged->substr(10);
        EXPECT_NE(second, *first);
        EXPECT_EQ(linkTarget(), second);
        sim.command("replug");
        EXPECT_TRUE(sim.expectLine("error: the line is plugged in"));

        Port again(link);
        ASSERT_TRUE(again.isOpen());
        again.writeBytes(request(7));
        EXPECT_TRUE(sim.expectLine("request 7"));
        EXPECT_TRUE(sim.expectLine("served 7"));
        EXPECT_EQ(again.read(1 + 252 + 1 + 1 + 716).size(), 1u + 252 + 1 + 1 + 716);
        EXPECT_TRUE(sim.expectLine("sent 7"));
    }
    EXPECT_EQ(linkTarget(), "");  // removed on exit
    rmdir(folder);
}

// Paced in groups the frame comes whole and in order, and no read ever splits a group: every
// read but the last holds whole groups. A fast line keeps the test short.
TEST(InstrumentSimBurstTest, pacedBurstsArriveAsWholeGroups) {
    if (simulatorPath().empty()) {
        GTEST_SKIP() << "TRELLICAP_SIM is not set";
    }
    constexpr std::size_t kBurst = 8;
    SimProcess fast(std::vector<std::string>{"--fast", "--model", "dac"});
    SimProcess burst(std::vector<std::string>{"--model", "dac", "--baud", "96000", "--burst",
                                              std::to_string(kBurst)});
    const std::optional<std::string> fastPath = fast.readLine();
    const std::optional<std::string> burstPath = burst.readLine();
    ASSERT_TRUE(fastPath && burstPath);
    Port fastPort(*fastPath);
    Port burstPort(*burstPath);
    fastPort.writeBytes(request(9));
    burstPort.writeBytes(request(9));
    const std::size_t frameLength = 1 + 252 + 1 + 1 + 557;
    const Bytes got = burstPort.read(frameLength);  // first: the fast frame can wait
    const Bytes expected = fastPort.read(frameLength);
    ASSERT_EQ(expected.size(), frameLength);
    EXPECT_EQ(got, expected);

    const std::vector<std::size_t>& sizes = burstPort.readSizes();
    ASSERT_FALSE(sizes.empty());
    EXPECT_GT(sizes.size(), 1u) << "paced, not sent at once";
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i) {
        EXPECT_EQ(sizes[i] % kBurst, 0u) << "read " << i << " of " << sizes[i] << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(Models, InstrumentSimTest,
                         ::testing::Values(ModelCase{"tft", 716, 479, &kTftRuns},
                                           ModelCase{"dac", 557, 471, &kDacRuns}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
