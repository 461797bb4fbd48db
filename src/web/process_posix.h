// What trellicap-web needs of the operating system around it: a stop on SIGINT and SIGTERM
// (systemd's stop, Ctrl-C) that ends the server cleanly, and a password typed without echo.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace trellicap::web {

// Blocks SIGINT and SIGTERM in the calling thread and every thread it starts afterwards:
// call first thing in main(), before any thread exists.
void blockStopSignals();

// A thread that waits for SIGINT or SIGTERM and then calls onStop once.
class StopSignalWatch {
public:
    explicit StopSignalWatch(std::function<void()> onStop);
    ~StopSignalWatch();
    StopSignalWatch(const StopSignalWatch&) = delete;
    StopSignalWatch& operator=(const StopSignalWatch&) = delete;

private:
    struct Thread;
    std::unique_ptr<Thread> m_thread;
};

// The new password for `user`: asked twice without echo on a terminal, else the first line
// of standard input. Nothing, with the reason, when it cannot be had.
[[nodiscard]] std::optional<QString> readNewPassword(const QString& user, QString* error);

}  // namespace trellicap::web
