// archive sync, and --server for search and verify: the team server from the command line. The sync
// sends what the local archive holds and the server does not, in committed batches; when
// the server cannot be reached or goes away, the line says why and the status is 1, and
// every batch the server committed stays there.
#include <QDir>
#include <QFileInfo>

#include "archive/archive_sync.h"
#include "archive/server_address.h"
#include "archive/server_conf.h"
#include "archive/server_connection.h"
#include "archive/server_counts.h"
#include "archive/sync_local.h"
#include "cli/archive_server_options.h"
#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/models.h"
#include "cli/output_file.h"
#include "cli/warning.h"

namespace trellicap::cli {

namespace {

const QString kDefaultArchive = QStringLiteral("archive.sqlite");

QString sentence(const QString& reason) {
    return reason.endsWith(QLatin1Char('.')) ? reason : reason + QLatin1Char('.');
}

// --server, else the address archive.conf keeps beside the archive.
archive::ServerAddress serverAddressOf(const CommandLine& line, const QString& archivePath) {
    QString url = line.value(QStringLiteral("server"));
    if (url.isEmpty()) {
        const QString folder = QFileInfo(archivePath).absolutePath();
        const archive::ServerConf conf = archive::readServerConf(folder);
        if (!conf.error.isEmpty()) {
            failInput(sentence(conf.error));
        }
        if (conf.url.isEmpty()) {
            failUsage(QStringLiteral("no --server given and no server address in %1.")
                          .arg(archive::serverConfPath(folder)));
        }
        url = conf.url;
    }
    const archive::ServerAddressParse parse = archive::parseServerAddress(url);
    if (!parse.ok()) {
        failUsage(sentence(parse.error));
    }
    return parse.address;
}

void runSync(const CommandLine& line) {
    const QString path = line.isSet(QStringLiteral("archive"))
                             ? line.value(QStringLiteral("archive"))
                             : QDir::current().filePath(kDefaultArchive);
    const archive::ServerAddress address = serverAddressOf(line, path);
    archive::SyncLocalArchive local(path);
    if (!local.open()) {
        failInput(sentence(local.error()));
    }
    archive::ServerConnection server(address);
    if (!server.open()) {
        failInput(sentence(server.error()));
    }
    QSqlDatabase localDb = local.database();
    QSqlDatabase serverDb = server.database();
    const archive::SyncResult result = archive::syncArchive(
        localDb, serverDb, {local.workingFolder(), archive::serverAddressText(address)});
    if (!result.ok) {
        failInput(sentence(result.error));
    }
    QString out =
        QStringLiteral("sent %1, already there %2\n").arg(result.sent).arg(result.alreadyThere);
    // Jobs and the equipment register go after the records, on a line of their own.
    if (result.inspectionSent + result.inspectionAlreadyThere > 0) {
        out += QStringLiteral("jobs and equipment: sent %1, already there %2\n")
                   .arg(result.inspectionSent)
                   .arg(result.inspectionAlreadyThere);
    }
    for (const QString& conflict : result.inspectionConflicts) {
        warn(QStringLiteral("%1 is on the server with other contents (changed on another "
                            "computer too); this archive's stays here.")
                 .arg(conflict));
    }
    writeStandardOutput(out.toUtf8());
}

}  // namespace

OptionSyntax serverOption() {
    return {{QStringLiteral("server")},
            QStringLiteral("URL"),
            QStringLiteral("the team server, postgresql://USER@HOST:PORT/DATABASE; the password "
                           "comes from ~/.pgpass or PGPASSWORD, never from the command line")};
}

std::unique_ptr<archive::ServerConnection> openServerOf(const CommandLine& line) {
    const archive::ServerAddressParse parse =
        archive::parseServerAddress(line.required(QStringLiteral("server")));
    if (!parse.ok()) {
        failUsage(sentence(parse.error));
    }
    auto server = std::make_unique<archive::ServerConnection>(parse.address);
    if (!server->open()) {
        failInput(sentence(server->error()));
    }
    return server;
}

void printServerCounts(const CommandLine& line) {
    const auto server = openServerOf(line);
    QSqlDatabase db = server->database();
    const archive::ServerCounts counts = archive::countServerRecords(db);
    if (!counts.error.isEmpty()) {
        failInput(sentence(counts.error));
    }
    QString text;
    for (const CliModel& model : cliModels()) {
        const QString key =
            QString::fromLatin1(model.key().data(), static_cast<qsizetype>(model.key().size()));
        long long records = 0;
        for (const auto& [counted, count] : counts.perModel) {
            if (counted == key) {
                records = count;
            }
        }
        text += QStringLiteral("%1 %2\n").arg(key).arg(records);
    }
    writeStandardOutput(text.toUtf8());
}

const Command& archiveSyncCommand() {
    static const Command command{
        {QStringLiteral("archive sync"),
         QStringLiteral("[--archive PATH] [--server URL]"),
         QStringLiteral("send the archive's records the team server does not have yet"),
         QStringLiteral(
             "Sends every record version of the archive that the team server does not\n"
             "hold yet, in batches of at most 500, each committed on its own, and prints\n"
             "one line: \"sent N, already there M\" (N newly stored on the server, M held\n"
             "by it before). Without --server, the address comes from archive.conf beside\n"
             "the archive. When the server cannot be reached or goes away part-way, its\n"
             "reason is printed and the exit status is 1; the batches it committed stay,\n"
             "and the next sync goes on from there."),
         {{{QStringLiteral("archive")},
           QStringLiteral("PATH"),
           QStringLiteral("the archive (default: ./archive.sqlite)")},
          serverOption()},
         0},
        runSync};
    return command;
}

}  // namespace trellicap::cli
