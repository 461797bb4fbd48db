// A LinkClock the test moves by hand. advance() runs every timer and scheduled event that
// falls due, in time order (ties in the order they were armed), with nowMs() standing at
// each one's due time while it runs; no real time passes and no event loop is needed.
// Scheduled events ("these bytes arrive 5 ms from now") share the timers' queue, so a test's
// line and the link's timeouts interleave exactly as their times say.
// The clock must outlive the timers it made.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "link/link_clock.h"

namespace trellicap::testing {

class ManualClock final : public LinkClock {
public:
    ManualClock() = default;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    [[nodiscard]] qint64 nowMs() const override { return m_now; }
    [[nodiscard]] std::unique_ptr<LinkTimer> createTimer(std::function<void()> onTimeout) override {
        return std::make_unique<Timer>(*this, std::move(onTimeout));
    }

    // Runs the event once, ms from now.
    void schedule(qint64 ms, std::function<void()> event) {
        m_queue.emplace(Key{m_now + ms, m_nextOrder++}, std::move(event));
    }

    // Moves time on by ms, running what falls due on the way.
    void advance(qint64 ms) {
        const qint64 target = m_now + ms;
        while (runNext(target)) {
        }
        m_now = target;
    }

    // Runs what falls due, one at a time, until done() holds (time then stands at the event
    // that made it hold) or limitMs have passed. True when done() held.
    bool advanceUntil(const std::function<bool()>& done, qint64 limitMs) {
        const qint64 target = m_now + limitMs;
        while (!done()) {
            if (!runNext(target)) {
                m_now = target;
                return done();
            }
        }
        return true;
    }

private:
    using Key = std::pair<qint64, quint64>;  // due time, then the order it was armed in
    using Queue = std::map<Key, std::function<void()>>;

    class Timer final : public LinkTimer {
    public:
        Timer(ManualClock& clock, std::function<void()> onTimeout)
            : m_clock(clock), m_onTimeout(std::move(onTimeout)) {}
        ~Timer() override { stop(); }
        void start(int ms) override {
            stop();
            m_due = m_clock.m_queue
                        .emplace(Key{m_clock.m_now + ms, m_clock.m_nextOrder++},
                                 [this] {
                                     m_active = false;
                                     m_onTimeout();
                                 })
                        .first;
            m_active = true;
        }
        void stop() override {
            if (m_active) {
                m_clock.m_queue.erase(m_due);
                m_active = false;
            }
        }
        [[nodiscard]] bool isActive() const override { return m_active; }

    private:
        ManualClock& m_clock;
        std::function<void()> m_onTimeout;
        Queue::iterator m_due;
        bool m_active = false;
    };

    bool runNext(qint64 target) {
        if (m_queue.empty() || m_queue.begin()->first.first > target) {
            return false;
        }
        auto node = m_queue.extract(m_queue.begin());
        m_now = node.key().first;
        node.mapped()();  // may arm timers and schedule events, even at this same time
        return true;
    }

    Queue m_queue;
    qint64 m_now = 0;
    quint64 m_nextOrder = 0;
};

}  // namespace trellicap::testing
