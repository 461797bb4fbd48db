#include "web/process_posix.h"

#include <pthread.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <QTextStream>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

namespace trellicap::web {

namespace {

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

std::optional<QString> readLine(bool hidden) {
    termios saved{};
    const bool terminal =
        hidden && ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool got = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    if (!got) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return QString::fromStdString(line);
}

}  // namespace

void blockStopSignals() {
    const sigset_t set = stopSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

struct StopSignalWatch::Thread {
    std::atomic<bool> ending{false};
    std::thread thread;
};

StopSignalWatch::StopSignalWatch(std::function<void()> onStop)
    : m_thread(std::make_unique<Thread>()) {
    Thread* state = m_thread.get();
    state->thread = std::thread([state, onStop = std::move(onStop)] {
        const sigset_t set = stopSignals();
        int signal = 0;
        while (::sigwait(&set, &signal) == 0) {
            if (!state->ending) {
                onStop();
            }
            return;
        }
    });
}

StopSignalWatch::~StopSignalWatch() {
    // Wakes the waiting thread when no signal came (the server ended on its own).
    m_thread->ending = true;
    ::pthread_kill(m_thread->thread.native_handle(), SIGTERM);
    m_thread->thread.join();
}

std::optional<QString> readNewPassword(const QString& user, QString* error) {
    const bool terminal = ::isatty(STDIN_FILENO);
    if (terminal) {
        std::fprintf(stderr, "Password for %s: ", qPrintable(user));
        std::fflush(stderr);
    }
    const auto first = readLine(true);
    if (!first || first->isEmpty()) {
        *error = QStringLiteral("no password was given");
        return std::nullopt;
    }
    if (terminal) {
        std::fputs("The same again: ", stderr);
        std::fflush(stderr);
        const auto second = readLine(true);
        if (!second || *second != *first) {
            *error = QStringLiteral("the two passwords differ");
            return std::nullopt;
        }
    }
    return first;
}

}  // namespace trellicap::web
