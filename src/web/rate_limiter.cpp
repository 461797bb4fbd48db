#include "web/rate_limiter.h"

#include <algorithm>
#include <cmath>

#include "web/monotonic_clock.h"

namespace trellicap::web {

namespace {

constexpr qint64 kSweepEveryMs = 60000;

}  // namespace

RateLimiter::RateLimiter(double ratePerSecond, double burst, Clock clock)
    : m_rate(ratePerSecond),
      m_burst(std::max(1.0, burst)),
      m_clock(clock ? std::move(clock) : Clock(monotonicMs)) {}

RateLimiter::Bucket& RateLimiter::refilled(const QString& client, qint64 now) {
    // Full buckets say nothing a new one would not: forget them now and then, so that many
    // clients passing by do not pile up.
    if (now - m_lastSweep >= kSweepEveryMs) {
        m_lastSweep = now;
        for (auto it = m_buckets.begin(); it != m_buckets.end();) {
            const double tokens = it->second.tokens + (now - it->second.updated) * m_rate / 1000.0;
            it = tokens >= m_burst ? m_buckets.erase(it) : std::next(it);
        }
    }
    auto [it, added] = m_buckets.try_emplace(client, Bucket{m_burst, now});
    Bucket& bucket = it->second;
    if (!added) {
        bucket.tokens = std::min(m_burst, bucket.tokens + (now - bucket.updated) * m_rate / 1000.0);
        bucket.updated = now;
    }
    return bucket;
}

bool RateLimiter::allow(const QString& client) {
    if (m_rate <= 0) {
        return true;
    }
    std::lock_guard lock(m_mutex);
    Bucket& bucket = refilled(client, m_clock());
    if (bucket.tokens < 1) {
        return false;
    }
    bucket.tokens -= 1;
    return true;
}

int RateLimiter::secondsUntilNext(const QString& client) {
    if (m_rate <= 0) {
        return 0;
    }
    std::lock_guard lock(m_mutex);
    const Bucket& bucket = refilled(client, m_clock());
    return bucket.tokens >= 1 ? 0 : static_cast<int>(std::ceil((1 - bucket.tokens) / m_rate));
}

}  // namespace trellicap::web
