// How many requests one client may make: a bucket per client address that fills at `rate`
// requests a second up to `burst` (a page and its thumbnails arrive together), and a request
// that finds it empty is turned away. Safe to use from every request thread at once.
#pragma once

#include <QString>
#include <functional>
#include <mutex>
#include <unordered_map>

namespace trellicap::web {

class RateLimiter {
public:
    using Clock = std::function<qint64()>;  // milliseconds, only ever growing

    // rate 0: no limit.
    RateLimiter(double ratePerSecond, double burst, Clock clock = {});

    // Takes one request from the client's bucket; false when it is empty.
    [[nodiscard]] bool allow(const QString& client);
    // Whole seconds until the client's bucket holds a request again (for Retry-After).
    [[nodiscard]] int secondsUntilNext(const QString& client);

private:
    struct Bucket {
        double tokens = 0;
        qint64 updated = 0;
    };
    Bucket& refilled(const QString& client, qint64 now);

    double m_rate;
    double m_burst;
    Clock m_clock;
    std::mutex m_mutex;
    std::unordered_map<QString, Bucket> m_buckets;
    qint64 m_lastSweep = 0;
};

}  // namespace trellicap::web
