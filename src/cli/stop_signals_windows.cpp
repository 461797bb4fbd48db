// A Windows console has no SIGTERM to catch: Ctrl-C arrives as a console control event (on a
// thread of its own), Ctrl-Break and closing the console as the others. The handler queues
// stopRequested onto the event loop and uninstalls itself, so a second Ctrl-C ends the
// program at once.
#include <windows.h>

#include <QMetaObject>
#include <csignal>
#include <mutex>
#include <utility>

#include "cli/stop_signals.h"

namespace trellicap::cli {

namespace {

// The handler runs on a thread of the system's while ~StopSignals may run on the main one:
// the receiver is taken and the event posted under this lock, and the destructor clears the
// receiver under it, so nothing is ever posted to an object being destroyed. An event that
// was posted before is dropped by Qt when its receiver goes.
std::mutex g_receiverLock;
StopSignals* g_receiver = nullptr;

BOOL WINAPI onConsoleControl(DWORD event) {
    const std::lock_guard lock(g_receiverLock);
    StopSignals* receiver = std::exchange(g_receiver, nullptr);
    if (receiver == nullptr) {
        return FALSE;  // the default: end the process
    }
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    const int signalNumber = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    QMetaObject::invokeMethod(
        receiver, [receiver, signalNumber] { emit receiver->stopRequested(signalNumber); },
        Qt::QueuedConnection);
    return TRUE;
}

}  // namespace

struct StopSignals::Handlers {};

StopSignals::StopSignals() : m_handlers(std::make_unique<Handlers>()) {
    {
        const std::lock_guard lock(g_receiverLock);
        g_receiver = this;
    }
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

StopSignals::~StopSignals() {
    {
        const std::lock_guard lock(g_receiverLock);
        g_receiver = nullptr;
    }
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
}

}  // namespace trellicap::cli
