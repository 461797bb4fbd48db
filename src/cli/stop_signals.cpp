#include "cli/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

namespace trellicap::cli {

namespace {

volatile std::sig_atomic_t g_writeEnd = -1;

extern "C" void onStopSignal(int signalNumber) {
    const auto byte = static_cast<unsigned char>(signalNumber);
    // Nothing to do about a failed write in a signal handler: the byte is lost, the next
    // signal ends the program.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
}

void install(int signalNumber, struct sigaction& previous) {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, &previous);
}

}  // namespace

StopSignals::StopSignals() {
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;  // without a pipe the signals keep their default: they end the program
    }
    g_writeEnd = m_pipe[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &StopSignals::onReadable);
    install(SIGINT, m_previousInt);
    install(SIGTERM, m_previousTerm);
}

StopSignals::~StopSignals() {
    if (m_pipe[0] < 0) {
        return;
    }
    sigaction(SIGINT, &m_previousInt, nullptr);
    sigaction(SIGTERM, &m_previousTerm, nullptr);
    g_writeEnd = -1;
    m_notifier.reset();
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void StopSignals::onReadable() {
    unsigned char byte = 0;
    while (::read(m_pipe[0], &byte, 1) == 1) {
        emit stopRequested(byte);
    }
}

const char* signalName(int signalNumber) {
    return signalNumber == SIGINT ? "SIGINT" : signalNumber == SIGTERM ? "SIGTERM" : "a signal";
}

}  // namespace trellicap::cli
