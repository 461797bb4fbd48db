// Waiting on something outside the test's control (a child process, a pty, the kernel):
// the event loop runs until the condition holds or the time is up. Tests of the link's own
// timing use ManualClock instead and never wait.
#pragma once

#include <QTest>
#include <functional>

namespace trellicap::testing {

// True as soon as done() holds; false when timeoutMs pass first.
[[nodiscard]] inline bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    return QTest::qWaitFor(done, timeoutMs);
}

}  // namespace trellicap::testing
