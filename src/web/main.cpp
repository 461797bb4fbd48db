// trellicap-web: the archive in a browser, read-only (see web_options.cpp for the command
// line, web_server.h for what it serves).
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

#include "archive/read_only_server.h"
#include "archive/server_address.h"
#include "report/report_fonts.h"
#include "trellicap_version.h"
#include "web/password_hash.h"
#include "web/process_posix.h"
#include "web/query_pool.h"
#include "web/users_file.h"
#include "web/web_options.h"
#include "web/web_server.h"

namespace {

using namespace trellicap;
using namespace trellicap::web;

int fail(int status, const QString& reason) {
    std::fprintf(stderr, "trellicap-web: %s.\n", qPrintable(reason));
    return status;
}

int addUser(const WebOptions& options) {
    QString error;
    const auto password = readNewPassword(options.addUser, &error);
    if (!password) {
        return fail(1, error);
    }
    const QByteArray hash = hashPassword(*password);
    if (hash.isEmpty()) {
        return fail(1, QStringLiteral("the password could not be hashed"));
    }
    error = writeUser(options.usersFile, options.addUser, hash);
    if (!error.isEmpty()) {
        return fail(1, error);
    }
    std::printf("%s may log in now (%s)\n", qPrintable(options.addUser),
                qPrintable(options.usersFile));
    return 0;
}

int serve(const WebOptions& options) {
    WebConfig config;
    config.listen = options.listen;
    config.httpThreads = options.threads;
    config.ratePerSecond = options.rateLimit;
    config.rateBurst = options.rateLimit * 3;
    config.logRequests = !options.quiet;
    if (!options.usersFile.isEmpty()) {
        UsersRead users = readUsersFile(options.usersFile);
        if (!users.error.isEmpty()) {
            return fail(1, users.error);
        }
        config.users = std::move(users.users);
    }
    QueryPool::Opener opener;
    if (options.server) {
        config.teamServer = true;
        config.archiveLabel =
            QStringLiteral("team server ") + archive::serverAddressText(*options.server);
        opener = [address = *options.server]() -> std::unique_ptr<archive::ReadOnlyArchive> {
            return std::make_unique<archive::ReadOnlyServer>(address);
        };
    } else {
        config.archiveLabel = options.archivePath;
        opener = [path = options.archivePath]() -> std::unique_ptr<archive::ReadOnlyArchive> {
            return std::make_unique<archive::ReadOnlyFile>(path);
        };
    }
    registerReportFonts();

    QueryPool pool(opener, options.connections);
    // The archive is tried once before the server answers anyone: a wrong path or a server
    // that refuses the login ends the program with the reason, rather than every page.
    const QueryPool::Outcome probe = pool.run([](QSqlDatabase&, QString*) { return true; });
    if (!probe.ok) {
        return fail(1, probe.error);
    }
    WebServer server(config, pool);
    QString error;
    if (!server.bind(&error)) {
        return fail(1, error);
    }
    ListenAddress bound = options.listen;
    bound.port = server.port();
    std::printf("trellicap-web: %s, read-only, on http://%s/%s\n", qPrintable(config.archiveLabel),
                qPrintable(listenText(bound)), config.users.empty() ? "" : " (a login is needed)");
    std::fflush(stdout);
    StopSignalWatch watch([&server] { server.stop(); });
    server.run();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Before any thread exists: every thread inherits the blocked stop signals, which one
    // thread then waits for.
    blockStopSignals();
    // A server draws its pictures without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const OptionsRead read = readWebOptions(arguments);
    if (!read.ok()) {
        std::fprintf(stderr, "trellicap-web: %s.\n\n%s", qPrintable(read.error),
                     qPrintable(webUsage()));
        return 2;
    }
    if (read.options.help) {
        std::printf("%s", qPrintable(webUsage()));
        return 0;
    }
    if (read.options.version) {
        std::printf("trellicap-web %s\n", trellicap::kVersionText);
        return 0;
    }
    if (!read.options.addUser.isEmpty()) {
        return addUser(read.options);
    }
    return serve(read.options);
}
