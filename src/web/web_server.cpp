#include "web/web_server.h"

#include <QDateTime>
#include <QUrl>
#include <chrono>
#include <cstdio>

#include "web/simple_pages.h"
#include "web/web_state.h"

namespace trellicap::web {

namespace {

// No script may run, no other site may frame the pages, forms go nowhere else; styles and
// pictures come from this server (the thumbnails) or are the inline SVG of the plot.
constexpr const char* kContentSecurityPolicy =
    "default-src 'none'; style-src 'self'; img-src 'self' data:; form-action 'self'; "
    "frame-ancestors 'none'; base-uri 'none'";
// Request bodies are login forms: a few hundred bytes.
constexpr std::size_t kLargestBody = 16 * 1024;
constexpr time_t kKeepAliveSeconds = 5;
constexpr std::size_t kRequestsPerConnection = 1000;

thread_local std::chrono::steady_clock::time_point t_started;

void secureHeaders(httplib::Response& response) {
    response.set_header("Content-Security-Policy", kContentSecurityPolicy);
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_header("X-Frame-Options", "DENY");
    response.set_header("Referrer-Policy", "no-referrer");
    response.set_header("Cross-Origin-Resource-Policy", "same-origin");
}

// Pages anyone may see without a login: the login form and its stylesheet.
bool isPublic(const std::string& path) {
    return path == "/login" || path == "/static/style.css";
}

QString reasonOf(int status) {
    switch (status) {
        case 400:
            return QStringLiteral("The request cannot be read.");
        case 404:
            return QStringLiteral("There is no such page.");
        case 405:
            return QStringLiteral("This page cannot be asked for that way.");
        case 413:
            return QStringLiteral("The request is too large.");
        case 414:
            return QStringLiteral("The address is too long.");
        case 431:
            return QStringLiteral("The request's headers are too large.");
        default:
            return QStringLiteral("The request failed (HTTP status %1).").arg(status);
    }
}

}  // namespace

QString clientOf(const httplib::Request& request) {
    const QString peer = QString::fromStdString(request.remote_addr);
    const bool local = peer.startsWith(QLatin1String("127.")) || peer == QLatin1String("::1") ||
                       peer == QLatin1String("::ffff:127.0.0.1");
    if (local && request.has_header("X-Forwarded-For")) {
        const QString forwarded =
            QString::fromStdString(request.get_header_value("X-Forwarded-For"));
        const QString last = forwarded.section(QLatin1Char(','), -1).trimmed();
        if (!last.isEmpty() && last.size() <= 64) {
            return last;
        }
    }
    return peer;
}

QString userOf(WebState& state, const httplib::Request& request) {
    if (!state.loginsOn()) {
        return {};
    }
    const QString cookies = QString::fromStdString(request.get_header_value("Cookie"));
    const QString name = QLatin1String(kSessionCookie) + QLatin1Char('=');
    for (const QString& cookie : cookies.split(QLatin1Char(';'))) {
        const QString trimmed = cookie.trimmed();
        if (trimmed.startsWith(name)) {
            if (const auto user = state.sessions.userOf(trimmed.mid(name.size()))) {
                return *user;
            }
        }
    }
    return {};
}

PageContext contextOf(WebState& state, const httplib::Request& request) {
    return {state.config.archiveLabel, userOf(state, request)};
}

void sendPage(httplib::Response& response, int status, const QByteArray& page) {
    response.status = status;
    response.set_header("Cache-Control", "no-store");
    response.set_content(page.constData(), static_cast<std::size_t>(page.size()),
                         "text/html; charset=utf-8");
}

void sendMessage(WebState& state, const httplib::Request& request, httplib::Response& response,
                 int status, const QString& heading, const QString& text) {
    sendPage(response, status,
             htmlPage(contextOf(state, request), heading, messagePageBody(heading, text)));
}

WebServer::WebServer(WebConfig config, QueryPool& pool)
    : m_state(std::make_unique<WebState>(std::move(config), pool)),
      m_server(std::make_unique<httplib::Server>()) {
    WebState& state = *m_state;
    httplib::Server& server = *m_server;
    const int threads = std::max(2, state.config.httpThreads);
    server.new_task_queue = [threads] {
        return new httplib::ThreadPool(static_cast<std::size_t>(threads));
    };
    server.set_payload_max_length(kLargestBody);
    server.set_keep_alive_timeout(kKeepAliveSeconds);
    server.set_keep_alive_max_count(kRequestsPerConnection);
    // A response goes out in two writes (head, then body): without this the second waits for
    // the client's delayed acknowledgement, 40 ms on Linux, on every request of a connection.
    server.set_tcp_nodelay(true);

    server.set_pre_routing_handler([&state](const httplib::Request& request,
                                            httplib::Response& response) {
        t_started = std::chrono::steady_clock::now();
        secureHeaders(response);
        const QString client = clientOf(request);
        if (!state.requests.allow(client)) {
            response.set_header("Retry-After", std::to_string(std::max(
                                                   1, state.requests.secondsUntilNext(client))));
            sendMessage(state, request, response, 429, QStringLiteral("Too many requests"),
                        QStringLiteral("This computer asked for too many pages at once; try "
                                       "again in a moment."));
            return httplib::Server::HandlerResponse::Handled;
        }
        if (!state.loginsOn() || isPublic(request.path) || !userOf(state, request).isEmpty()) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        if (request.method == "GET" || request.method == "HEAD") {
            const QString next = QString::fromStdString(request.target);
            response.status = 303;
            response.set_header(
                "Location",
                "/login?next=" + QUrl::toPercentEncoding(next.left(2000)).toStdString());
            return httplib::Server::HandlerResponse::Handled;
        }
        sendPage(response, 401,
                 htmlPage(contextOf(state, request), QStringLiteral("Log in"),
                          messagePageBody(QStringLiteral("Log in"),
                                          QStringLiteral("Log in first to use this server."))));
        return httplib::Server::HandlerResponse::Handled;
    });

    server.set_error_handler(
        [&state](const httplib::Request& request, httplib::Response& response) {
            secureHeaders(response);
            if (response.body.empty()) {
                const QString heading = response.status == 404 ? QStringLiteral("Not found")
                                                               : QStringLiteral("Refused");
                sendMessage(state, request, response, response.status, heading,
                            reasonOf(response.status));
            }
        });

    server.set_exception_handler(
        [&state](const httplib::Request& request, httplib::Response& response, std::exception_ptr) {
            secureHeaders(response);
            sendMessage(state, request, response, 500, QStringLiteral("Failure"),
                        QStringLiteral("The server failed while making this page."));
        });

    if (state.config.logRequests) {
        server.set_logger([](const httplib::Request& request, const httplib::Response& response) {
            const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
                                  std::chrono::steady_clock::now() - t_started)
                                  .count();
            std::fprintf(stderr, "%s %s %s %s %d %zu %.1fms\n",
                         qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                         qPrintable(clientOf(request)), request.method.c_str(),
                         request.path.c_str(), response.status, response.body.size(),
                         took / 1000.0);
        });
    }

    addLoginRoutes(server, state);
    addArchiveRoutes(server, state);
    addJobRoutes(server, state);
}

WebServer::~WebServer() {
    stop();
}

bool WebServer::bind(QString* error) {
    const std::string host = m_state->config.listen.host.toStdString();
    const int port = m_state->config.listen.port;
    if (port == 0) {
        m_port = m_server->bind_to_any_port(host);
        if (m_port <= 0) {
            *error =
                QStringLiteral("no port could be bound on %1").arg(m_state->config.listen.host);
            return false;
        }
        return true;
    }
    if (!m_server->bind_to_port(host, port)) {
        *error = QStringLiteral(
                     "%1 cannot be listened on (is the port taken by another program, "
                     "or the address not this computer's?)")
                     .arg(listenText(m_state->config.listen));
        return false;
    }
    m_port = port;
    return true;
}

void WebServer::run() {
    m_server->listen_after_bind();
}

void WebServer::stop() {
    if (m_server) {
        m_server->stop();
    }
}

}  // namespace trellicap::web
