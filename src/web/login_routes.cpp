// GET and POST /login, POST /logout: a form login that hands the browser a session cookie
// (HttpOnly, SameSite=Strict, Secure behind a TLS proxy). A wrong name and a wrong password
// get the same answer after the same work, and each client has ten tries a minute.
#include <QUrl>

#include "web/password_hash.h"
#include "web/simple_pages.h"
#include "web/web_state.h"

namespace trellicap::web {

namespace {

// A hash to check a password against when the name is unknown, so that the answer takes as
// long as for a known name.
const QByteArray& unknownUserHash() {
    static const QByteArray hash = hashPassword(QStringLiteral("no user has this password"));
    return hash;
}

// Only a path of this server: never another site (//host, /\host), never a script.
QString safeNext(const QString& next) {
    if (!next.startsWith(QLatin1Char('/')) || next.startsWith(QLatin1String("//")) ||
        next.contains(QLatin1Char('\\')) || next.size() > 2000) {
        return QStringLiteral("/");
    }
    for (const QChar c : next) {
        if (c.unicode() < 0x20) {
            return QStringLiteral("/");
        }
    }
    return next;
}

QString param(const httplib::Request& request, const char* name) {
    return QString::fromStdString(request.get_param_value(name));
}

bool behindTls(const httplib::Request& request) {
    return request.get_header_value("X-Forwarded-Proto") == "https";
}

void showLogin(WebState& state, const httplib::Request& request, httplib::Response& response,
               int status, const QString& problem, const QString& user) {
    sendPage(response, status,
             htmlPage({state.config.archiveLabel, {}}, QStringLiteral("Log in"),
                      loginPageBody(problem, user, safeNext(param(request, "next")))));
}

}  // namespace

void addLoginRoutes(httplib::Server& server, WebState& state) {
    server.Get("/login", [&state](const httplib::Request& request, httplib::Response& response) {
        if (!state.loginsOn()) {
            response.status = 303;
            response.set_header("Location", "/");
            return;
        }
        showLogin(state, request, response, 200, {}, {});
    });

    server.Post("/login", [&state](const httplib::Request& request, httplib::Response& response) {
        if (!state.loginsOn()) {
            response.status = 303;
            response.set_header("Location", "/");
            return;
        }
        const QString client = clientOf(request);
        const QString user = param(request, "user").left(64);
        if (!state.logins.allow(client)) {
            response.set_header("Retry-After",
                                std::to_string(std::max(1, state.logins.secondsUntilNext(client))));
            showLogin(state, request, response, 429,
                      QStringLiteral("Too many tries from this computer: wait a minute and try "
                                     "again."),
                      user);
            return;
        }
        const QString password = param(request, "password");
        const auto known = hashOf(state.config.users, user);
        state.passwordChecks.acquire();
        const bool right = verifyPassword(password, known ? *known : unknownUserHash()) && known;
        state.passwordChecks.release();
        if (!right) {
            showLogin(state, request, response, 401,
                      QStringLiteral("The user name or the password is wrong."), user);
            return;
        }
        const QString token = state.sessions.start(user);
        QString cookie = QLatin1String(kSessionCookie) + QLatin1Char('=') + token +
                         QStringLiteral("; Path=/; HttpOnly; SameSite=Strict");
        if (behindTls(request)) {
            cookie += QStringLiteral("; Secure");
        }
        response.set_header("Set-Cookie", cookie.toStdString());
        response.set_header("Cache-Control", "no-store");
        response.status = 303;
        response.set_header("Location", safeNext(param(request, "next")).toStdString());
    });

    server.Post("/logout", [&state](const httplib::Request& request, httplib::Response& response) {
        const QString cookies = QString::fromStdString(request.get_header_value("Cookie"));
        const QString name = QLatin1String(kSessionCookie) + QLatin1Char('=');
        for (const QString& cookie : cookies.split(QLatin1Char(';'))) {
            if (cookie.trimmed().startsWith(name)) {
                state.sessions.end(cookie.trimmed().mid(name.size()));
            }
        }
        response.set_header("Set-Cookie",
                            (QLatin1String(kSessionCookie) +
                             QStringLiteral("=; Path=/; HttpOnly; SameSite=Strict; Max-Age=0"))
                                .toStdString());
        response.status = 303;
        response.set_header("Location", state.loginsOn() ? "/login" : "/");
    });
}

}  // namespace trellicap::web
