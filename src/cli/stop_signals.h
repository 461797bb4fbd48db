// SIGINT and SIGTERM (Ctrl-C and Ctrl-Break on a Windows console) as a request to stop,
// delivered on the event loop as stopRequested. The handlers are installed for the object's
// life and reset themselves on first use, so a second Ctrl-C ends the program at once.
// One implementation per platform: stop_signals_posix.cpp, stop_signals_windows.cpp.
#pragma once

#include <QObject>
#include <csignal>
#include <memory>

namespace trellicap::cli {

class StopSignals : public QObject {
    Q_OBJECT
public:
    StopSignals();
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

signals:
    void stopRequested(int signalNumber);

private:
    struct Handlers;
    std::unique_ptr<Handlers> m_handlers;
};

// "SIGINT", "SIGTERM".
[[nodiscard]] inline const char* signalName(int signalNumber) {
    return signalNumber == SIGINT ? "SIGINT" : signalNumber == SIGTERM ? "SIGTERM" : "a signal";
}

}  // namespace trellicap::cli
