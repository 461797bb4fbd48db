#include "web/login_sessions.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <array>

#include "web/monotonic_clock.h"

namespace trellicap::web {

namespace {}  // namespace

LoginSessions::LoginSessions(Clock clock)
    : m_clock(clock ? std::move(clock) : Clock(monotonicMs)) {}

bool LoginSessions::expired(const Session& session, qint64 now) const {
    return now - session.lastUsed >= kIdleMs || now - session.started >= kLongestMs;
}

void LoginSessions::dropExpired(qint64 now) {
    for (auto it = m_sessions.begin(); it != m_sessions.end();) {
        it = expired(it->second, now) ? m_sessions.erase(it) : std::next(it);
    }
}

QString LoginSessions::start(const QString& user) {
    std::array<quint32, 8> random{};
    QRandomGenerator::system()->fillRange(random.data(), random.size());
    const QString token = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(random.data()), sizeof(random))
            .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
    const qint64 now = m_clock();
    std::lock_guard lock(m_mutex);
    if (m_sessions.size() >= kMostSessions) {
        dropExpired(now);
    }
    if (m_sessions.size() >= kMostSessions) {
        // The session used longest ago gives way.
        auto oldest = m_sessions.begin();
        for (auto it = m_sessions.begin(); it != m_sessions.end(); ++it) {
            if (it->second.lastUsed < oldest->second.lastUsed) {
                oldest = it;
            }
        }
        m_sessions.erase(oldest);
    }
    m_sessions[token] = {user, now, now};
    return token;
}

std::optional<QString> LoginSessions::userOf(const QString& token) {
    const qint64 now = m_clock();
    std::lock_guard lock(m_mutex);
    const auto found = m_sessions.find(token);
    if (found == m_sessions.end()) {
        return std::nullopt;
    }
    if (expired(found->second, now)) {
        m_sessions.erase(found);
        return std::nullopt;
    }
    found->second.lastUsed = now;
    return found->second.user;
}

void LoginSessions::end(const QString& token) {
    std::lock_guard lock(m_mutex);
    m_sessions.erase(token);
}

}  // namespace trellicap::web
