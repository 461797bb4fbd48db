// The link's sense of time: single-shot timers that call back, and a monotonic "now". The
// program runs on QtLinkClock; tests hand the link a clock they move by hand, so that
// timeouts and retries are checked to the millisecond without waiting for them.
#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>

namespace trellicap {

// A restartable single-shot timer. Destroying it cancels it.
class LinkTimer {
public:
    virtual ~LinkTimer() = default;
    // Fires once, ms from now; a timer already running starts over.
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    [[nodiscard]] virtual bool isActive() const = 0;
};

class LinkClock {
public:
    virtual ~LinkClock() = default;
    // Milliseconds since an arbitrary start; never goes back.
    [[nodiscard]] virtual qint64 nowMs() const = 0;
    // The timer calls onTimeout from the thread's event processing, never from inside start().
    [[nodiscard]] virtual std::unique_ptr<LinkTimer> createTimer(
        std::function<void()> onTimeout) = 0;
};

}  // namespace trellicap
