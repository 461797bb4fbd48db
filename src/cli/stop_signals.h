// SIGINT and SIGTERM as a request to stop, delivered on the event loop: the handler only
// writes a byte into a pipe (all a signal handler may safely do), a notifier on the pipe's
// other end turns it into stopRequested. The handlers are installed for the object's life
// and reset themselves on first use, so a second Ctrl-C ends the program at once.
#pragma once

#include <QObject>
#include <QSocketNotifier>
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
    void onReadable();

    int m_pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_previousInt {};
    struct sigaction m_previousTerm {};
};

// "SIGINT", "SIGTERM".
[[nodiscard]] const char* signalName(int signalNumber);

}  // namespace trellicap::cli
