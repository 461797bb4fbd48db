// trellicap-web's HTTP server: the routes (search, record, thumbnails, downloads, the
// stylesheet, log in and out) and what stands before every one of them: the security
// headers, the rate limit per client, the login when the server has users, and a page in
// words for every refusal. It only ever reads the archive, through the query pool.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "web/listen_address.h"
#include "web/query_pool.h"
#include "web/users_file.h"

namespace httplib {
class Server;
}

namespace trellicap::web {

struct WebState;

struct WebConfig {
    ListenAddress listen;
    QString archiveLabel;  // shown in every page's bar
    bool teamServer = false;
    std::vector<UserEntry> users;  // empty: no login (loopback only)
    int httpThreads = 32;          // connections served at once (browsers keep theirs open)
    double ratePerSecond = 100;    // per client address; 0: no limit
    double rateBurst = 300;
    bool logRequests = true;  // one line per request on standard error
};

class WebServer {
public:
    WebServer(WebConfig config, QueryPool& pool);
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Binds the listening socket; false with the reason (the port taken, an address this
    // computer does not have).
    [[nodiscard]] bool bind(QString* error);
    // The port bound (the one asked for, or the one the system chose for port 0).
    [[nodiscard]] int port() const { return m_port; }
    // Serves until stop() (from another thread or a signal's thread).
    void run();
    void stop();

private:
    std::unique_ptr<WebState> m_state;
    std::unique_ptr<httplib::Server> m_server;
    int m_port = 0;
};

}  // namespace trellicap::web
