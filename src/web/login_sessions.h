// Who is logged in: a random token per login, handed to the browser as a cookie and kept
// here with its user, forgotten after a while without requests (and after a day at most),
// or at logout. Safe to use from every request thread at once.
#pragma once

#include <QString>
#include <functional>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace trellicap::web {

class LoginSessions {
public:
    using Clock = std::function<qint64()>;  // milliseconds, only ever growing

    static constexpr qint64 kIdleMs = 8LL * 3600 * 1000;
    static constexpr qint64 kLongestMs = 24LL * 3600 * 1000;
    static constexpr std::size_t kMostSessions = 10000;

    explicit LoginSessions(Clock clock = {});

    // A new session for the user: its token (43 characters of base64url, 256 random bits).
    [[nodiscard]] QString start(const QString& user);
    // The user of a live token, and the token's idle time starts again; nothing for an
    // unknown, expired or ended token.
    [[nodiscard]] std::optional<QString> userOf(const QString& token);
    void end(const QString& token);

private:
    struct Session {
        QString user;
        qint64 started = 0;
        qint64 lastUsed = 0;
    };
    [[nodiscard]] bool expired(const Session& session, qint64 now) const;
    void dropExpired(qint64 now);

    Clock m_clock;
    std::mutex m_mutex;
    std::unordered_map<QString, Session> m_sessions;
};

}  // namespace trellicap::web
