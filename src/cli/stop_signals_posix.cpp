// The handler only writes a byte into a pipe (all a signal handler may safely do); a notifier
// on the pipe's other end turns it into stopRequested on the event loop.
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

#include "cli/stop_signals.h"

namespace trellicap::cli {

namespace {

volatile std::sig_atomic_t g_writeEnd = -1;

extern "C" void onStopSignal(int signalNumber) {
    const auto byte = static_cast<unsigned char>(signalNumber);
    // Nothing to do about a failed write in a signal handler: the byte is lost, the next
    // signal ends the program.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
}

// pipe2 is Linux and BSD only (macOS lacks it): pipe, then the flags on each end. The
// window between the two is harmless here: the tool starts no child processes meanwhile.
bool openPipe(int (&ends)[2]) {
    if (::pipe(ends) != 0) {
        return false;
    }
    for (const int fd : ends) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags == -1 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == -1 ||
            ::fcntl(fd, F_SETFD, FD_CLOEXEC) == -1) {
            ::close(ends[0]);
            ::close(ends[1]);
            ends[0] = ends[1] = -1;
            return false;
        }
    }
    return true;
}

void install(int signalNumber, struct sigaction& previous) {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, &previous);
}

}  // namespace

struct StopSignals::Handlers {
    int pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    struct sigaction previousInt {};
    struct sigaction previousTerm {};
};

StopSignals::StopSignals() : m_handlers(std::make_unique<Handlers>()) {
    Handlers& h = *m_handlers;
    if (!openPipe(h.pipe)) {
        return;  // without a pipe the signals keep their default: they end the program
    }
    g_writeEnd = h.pipe[1];
    h.notifier = std::make_unique<QSocketNotifier>(h.pipe[0], QSocketNotifier::Read);
    connect(h.notifier.get(), &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(m_handlers->pipe[0], &byte, 1) == 1) {
            emit stopRequested(byte);
        }
    });
    install(SIGINT, h.previousInt);
    install(SIGTERM, h.previousTerm);
}

StopSignals::~StopSignals() {
    Handlers& h = *m_handlers;
    if (h.pipe[0] < 0) {
        return;
    }
    sigaction(SIGINT, &h.previousInt, nullptr);
    sigaction(SIGTERM, &h.previousTerm, nullptr);
    g_writeEnd = -1;
    h.notifier.reset();
    ::close(h.pipe[0]);
    ::close(h.pipe[1]);
}

}  // namespace trellicap::cli
