// trellicap-web's command line, read into what the server needs and checked before anything
// starts: one archive (a file or the team server), where to listen, and whether logins are
// on. An address beyond this computer without --users is refused here.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "archive/server_address.h"
#include "web/listen_address.h"

namespace trellicap::web {

struct WebOptions {
    QString archivePath;  // a laptop's archive file (the default: ./archive.sqlite)
    std::optional<archive::ServerAddress> server;
    ListenAddress listen{QStringLiteral("127.0.0.1"), 8080};
    QString usersFile;  // empty: no logins
    QString addUser;    // --add-user NAME: write the user into usersFile and end
    int connections = 4;
    int threads = 32;
    double rateLimit = 100;  // requests a second per client; 0: none
    bool quiet = false;
    bool help = false;
    bool version = false;
};

struct OptionsRead {
    WebOptions options;
    QString error;  // a usage error (exit status 2)
    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

// arguments: without the program's name.
[[nodiscard]] OptionsRead readWebOptions(const QStringList& arguments);

[[nodiscard]] QString webUsage();

}  // namespace trellicap::web
