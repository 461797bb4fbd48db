#include "cli/run_cli.h"

#include <cstdio>

#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/models.h"
#include "cli/output_file.h"
#include "trellicap_version.h"

namespace trellicap::cli {

namespace {

const QString kProgram = QStringLiteral("trellicap-cli");

QString overallHelp() {
    QString text =
        withModelKeys(
            QStringLiteral(
                "Usage: %1 SUBCOMMAND FILE [options]\n"
                "       %1 capture --port DEVICE --model {models} --slots LIST -o OUT.dat\n\n"
                "Reads the record files of the Trellicap window programs ({model names} models) "
                "and\n"
                "makes reports, tables and pictures of their slots, without a display; captures\n"
                "slots from the instrument into a record file.\n\n"
                "Subcommands:\n"))
            .arg(kProgram);
    for (const Command* command : commands()) {
        text += QStringLiteral("  %1  %2\n")
                    .arg(command->syntax.name.leftJustified(14), command->syntax.summary);
    }
    return text +
           QStringLiteral(
               "\n'%1 SUBCOMMAND --help' describes a subcommand. Exit status: 0 done, 1 bad "
               "input\n(the file, the slots, the port or the output), 2 bad usage.\n"
               "Connecting the instrument, capturing, printing and exporting are told in the\n"
               "user's guide of the window programs: Help > Help Topic.\n")
               .arg(kProgram);
}

const Command* findCommand(const QString& name) {
    for (const Command* command : commands()) {
        if (command->syntax.name == name) {
            return command;
        }
    }
    return nullptr;
}

void printError(const QString& line) {
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

// Runs the line; help and version need no file.
void dispatch(const QStringList& arguments, QString& who) {
    QString first = arguments.value(0);
    QStringList rest = arguments.mid(1);
    // "archive search", "job new", "equipment add" and their kin: subcommands of two words.
    const bool twoWords = first == QLatin1String("archive") || first == QLatin1String("job") ||
                          first == QLatin1String("equipment");
    if (twoWords && !rest.isEmpty() && !rest.front().startsWith(QLatin1Char('-'))) {
        first += QLatin1Char(' ') + rest.takeFirst();
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        writeStandardOutput(overallHelp().toUtf8());
        return;
    }
    if (first == QLatin1String("--version")) {
        writeStandardOutput(
            QStringLiteral("%1 %2\n").arg(kProgram, QLatin1String(kVersionText)).toUtf8());
        return;
    }
    if (first.isEmpty()) {
        failUsage(QStringLiteral("no subcommand given."));
    }
    const Command* command = findCommand(first);
    if (command == nullptr) {
        failUsage(QStringLiteral("'%1' is not a subcommand.").arg(first));
    }
    who = kProgram + QLatin1Char(' ') + command->syntax.name;
    const CommandLine line(command->syntax, rest);
    if (line.helpAsked()) {
        writeStandardOutput(helpText(command->syntax).toUtf8());
        return;
    }
    command->run(line);
}

}  // namespace

std::span<const Command* const> commands() {
    static const Command* const kCommands[] = {
        &infoCommand(),          &pdfCommand(),           &csvCommand(),
        &jsonCommand(),          &pngCommand(),           &svgCommand(),
        &captureCommand(),       &archiveSearchCommand(), &archiveImportCommand(),
        &archiveExportCommand(), &archiveVerifyCommand(), &archiveSyncCommand(),
        &evaluateCommand(),      &jobNewCommand(),        &jobShowCommand(),
        &jobListCommand(),       &jobAddCommand(),        &jobNoteCommand(),
        &jobResultCommand(),     &jobEditCommand(),       &jobReportCommand(),
        &equipmentAddCommand(),  &equipmentListCommand(), &equipmentCheckCommand()};
    return kCommands;
}

int runCli(const QStringList& arguments) {
    QString who = kProgram;
    try {
        dispatch(arguments, who);
        return static_cast<int>(ExitStatus::Ok);
    } catch (const CliFailure& failure) {
        QString line = who + QStringLiteral(": ") + failure.reason;
        if (failure.status == ExitStatus::BadUsage) {
            line += QStringLiteral(" See '%1 --help'.").arg(who);
        }
        printError(line);
        return static_cast<int>(failure.status);
    }
}

}  // namespace trellicap::cli
