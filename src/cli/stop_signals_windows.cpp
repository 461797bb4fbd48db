// A Windows console has no SIGTERM to catch: Ctrl-C arrives as a console control event (on a
// thread of its own), Ctrl-Break and closing the console as the others. The handler queues
// stopRequested onto the event loop and uninstalls itself, so a second Ctrl-C ends the
// program at once.
#include <windows.h>

#include <QMetaObject>
#include <atomic>
#include <csignal>

#include "cli/stop_signals.h"

namespace trellicap::cli {

namespace {

std::atomic<StopSignals*> g_receiver{nullptr};

BOOL WINAPI onConsoleControl(DWORD event) {
    StopSignals* receiver = g_receiver.exchange(nullptr);
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
    g_receiver = this;
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

StopSignals::~StopSignals() {
    g_receiver = nullptr;
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
}

}  // namespace trellicap::cli
