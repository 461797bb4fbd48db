#include "web/web_options.h"

#include <QDir>

#include "web/users_file.h"

namespace trellicap::web {

namespace {

constexpr int kMostConnections = 64;
constexpr int kMostThreads = 512;

struct Option {
    const char* name;
    bool takesValue;
};

constexpr Option kOptions[] = {
    {"archive", true},  {"server", true},      {"listen", true},   {"users", true},
    {"add-user", true}, {"connections", true}, {"threads", true},  {"rate-limit", true},
    {"quiet", false},   {"help", false},       {"version", false},
};

const Option* optionNamed(const QString& name) {
    for (const Option& option : kOptions) {
        if (name == QLatin1String(option.name)) {
            return &option;
        }
    }
    return nullptr;
}

bool readNumber(const QString& text, int lowest, int highest, int* value) {
    bool number = false;
    const int read = text.toInt(&number);
    if (!number || read < lowest || read > highest) {
        return false;
    }
    *value = read;
    return true;
}

}  // namespace

QString webUsage() {
    return QStringLiteral(
        "Usage: trellicap-web [--archive PATH | --server URL] [--listen ADDR:PORT]\n"
        "                     [--users FILE] [--connections N] [--threads N]\n"
        "                     [--rate-limit N] [--quiet]\n"
        "       trellicap-web --add-user NAME --users FILE\n"
        "\n"
        "Shows the archive's records in a browser, read-only: a search, each record's\n"
        "A-scan, settings, header texts and versions, and its report page (PDF), CSV,\n"
        "JSON and record file as downloads.\n"
        "\n"
        "  --archive PATH      a laptop's archive file, opened read-only\n"
        "                      (default: ./archive.sqlite)\n"
        "  --server URL        the team server, postgresql://USER@HOST:PORT/DATABASE, with a\n"
        "                      role that may only SELECT; the password comes from ~/.pgpass\n"
        "                      or PGPASSWORD; every transaction is read-only\n"
        "  --listen ADDR:PORT  where to listen (default 127.0.0.1:8080; port 0: a free one).\n"
        "                      An address beyond this computer needs --users.\n"
        "  --users FILE        name:hash lines (argon2id or bcrypt): every request then needs\n"
        "                      a login\n"
        "  --add-user NAME     asks for NAME's password (twice on a terminal, else one line\n"
        "                      of standard input) and writes NAME's line into --users FILE\n"
        "  --connections N     connections to the archive (default 4)\n"
        "  --threads N         browser connections served at once (default 32)\n"
        "  --rate-limit N      requests a second per client address (default 100; 0: none)\n"
        "  --quiet             no line per request on standard error\n"
        "\n"
        "Exit status 0 after a stop by SIGINT or SIGTERM, 1 when the archive cannot be\n"
        "read or the address cannot be listened on, 2 on bad usage.\n");
}

OptionsRead readWebOptions(const QStringList& arguments) {
    OptionsRead read;
    WebOptions& options = read.options;
    QStringList seen;
    const auto fail = [&read](const QString& error) {
        read.error = error;
        return read;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unexpected argument '%1'").arg(argument));
        }
        QString name = argument.mid(2);
        QString value;
        bool inlineValue = false;
        if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals >= 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
            inlineValue = true;
        }
        const Option* option = optionNamed(name);
        if (!option) {
            return fail(QStringLiteral("unknown option --%1").arg(name));
        }
        if (seen.contains(name)) {
            return fail(QStringLiteral("--%1 is given twice").arg(name));
        }
        seen.append(name);
        if (option->takesValue && !inlineValue) {
            if (i + 1 >= arguments.size()) {
                return fail(QStringLiteral("--%1 takes a value").arg(name));
            }
            value = arguments.at(++i);
        } else if (!option->takesValue && inlineValue) {
            return fail(QStringLiteral("--%1 takes no value").arg(name));
        }

        if (name == QLatin1String("archive")) {
            options.archivePath = value;
        } else if (name == QLatin1String("server")) {
            const archive::ServerAddressParse parse = archive::parseServerAddress(value);
            if (!parse.ok()) {
                return fail(parse.error);
            }
            options.server = parse.address;
        } else if (name == QLatin1String("listen")) {
            const ListenParse parse = parseListenAddress(value);
            if (!parse.ok()) {
                return fail(parse.error);
            }
            options.listen = parse.address;
        } else if (name == QLatin1String("users")) {
            options.usersFile = value;
        } else if (name == QLatin1String("add-user")) {
            if (!isValidUserName(value)) {
                return fail(QStringLiteral("a user name is 1 to 64 letters, digits, '.', '_', "
                                           "'-' or '@', not '%1'")
                                .arg(value));
            }
            options.addUser = value;
        } else if (name == QLatin1String("connections")) {
            if (!readNumber(value, 1, kMostConnections, &options.connections)) {
                return fail(QStringLiteral("--connections takes 1 to %1, not '%2'")
                                .arg(kMostConnections)
                                .arg(value));
            }
        } else if (name == QLatin1String("threads")) {
            if (!readNumber(value, 2, kMostThreads, &options.threads)) {
                return fail(QStringLiteral("--threads takes 2 to %1, not '%2'")
                                .arg(kMostThreads)
                                .arg(value));
            }
        } else if (name == QLatin1String("rate-limit")) {
            int rate = 0;
            if (!readNumber(value, 0, 1000000, &rate)) {
                return fail(QStringLiteral("--rate-limit takes a number of requests a second "
                                           "(0: no limit), not '%1'")
                                .arg(value));
            }
            options.rateLimit = rate;
        } else if (name == QLatin1String("quiet")) {
            options.quiet = true;
        } else if (name == QLatin1String("help")) {
            options.help = true;
        } else if (name == QLatin1String("version")) {
            options.version = true;
        }
    }
    if (options.help || options.version) {
        return read;
    }
    if (!options.addUser.isEmpty()) {
        if (options.usersFile.isEmpty()) {
            return fail(QStringLiteral("--add-user writes into the file --users names"));
        }
        return read;
    }
    if (options.server && !options.archivePath.isEmpty()) {
        return fail(QStringLiteral("--archive and --server name two archives: give one"));
    }
    if (!options.server && options.archivePath.isEmpty()) {
        options.archivePath = QDir::current().filePath(QStringLiteral("archive.sqlite"));
    }
    if (!isLoopback(options.listen) && options.usersFile.isEmpty()) {
        return fail(
            QStringLiteral("--listen %1 reaches beyond this computer: that needs --users FILE, "
                           "so that every request needs a login (make the file with "
                           "trellicap-web --add-user NAME --users FILE)")
                .arg(listenText(options.listen)));
    }
    return read;
}

}  // namespace trellicap::web
