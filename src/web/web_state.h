// What every route of the server shares: the configuration, the archive reader, the logins,
// the rate limits and the thumbnails drawn. Private to web_server.cpp and web_routes.cpp.
#pragma once

#include <httplib.h>

#include <QString>
#include <semaphore>

#include "web/archive_reader.h"
#include "web/job_reader.h"
#include "web/login_sessions.h"
#include "web/page_frame.h"
#include "web/picture_cache.h"
#include "web/rate_limiter.h"
#include "web/web_server.h"

namespace trellicap::web {

inline constexpr const char* kSessionCookie = "trellicap_session";

struct WebState {
    WebState(WebConfig configuration, QueryPool& pool)
        : config(std::move(configuration)),
          reader(pool),
          jobs(pool),
          requests(config.ratePerSecond, config.rateBurst),
          // Ten tries a minute per client: enough for a typing error, too few for guessing.
          logins(10.0 / 60.0, 10) {}

    WebConfig config;
    ArchiveReader reader;
    JobReader jobs;
    LoginSessions sessions;
    RateLimiter requests;
    RateLimiter logins;
    PictureCache thumbnails{32LL * 1024 * 1024};
    PictureCache plots{128LL * 1024 * 1024};  // the record pages' SVG plots
    // A password check takes tens of milliseconds and 19 MiB on purpose: two at a time.
    std::counting_semaphore<2> passwordChecks{2};

    [[nodiscard]] bool loginsOn() const { return !config.users.empty(); }
};

// The client a request comes from: its address, or behind a proxy on this computer the
// address the proxy names last in X-Forwarded-For.
[[nodiscard]] QString clientOf(const httplib::Request& request);
// The logged-in user of the request (empty without logins or without a live session).
[[nodiscard]] QString userOf(WebState& state, const httplib::Request& request);
[[nodiscard]] PageContext contextOf(WebState& state, const httplib::Request& request);

// An HTML page as the response.
void sendPage(httplib::Response& response, int status, const QByteArray& page);
void sendMessage(WebState& state, const httplib::Request& request, httplib::Response& response,
                 int status, const QString& heading, const QString& text);

// The routes of the pages, the pictures and the downloads; and those of the login.
void addArchiveRoutes(httplib::Server& server, WebState& state);
void addJobRoutes(httplib::Server& server, WebState& state);
void addLoginRoutes(httplib::Server& server, WebState& state);

}  // namespace trellicap::web
