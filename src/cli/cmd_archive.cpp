// archive search | import | export | verify: the archive a window program keeps, read and
// added to from the command line, also while the window program has it open (the
// archive's journal lets a reader and a writer work side by side).
#include <QDate>
#include <QFileInfo>

#include "archive/archive_checks.h"
#include "archive/archive_file.h"
#include "archive/archive_keeper.h"
#include "archive/archive_search.h"
#include "archive/kept_records.h"
#include "cli/archive_output.h"
#include "cli/archive_server_options.h"
#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/models.h"
#include "cli/output_file.h"
#include "storage/record_file_writer.h"

namespace trellicap::cli {

namespace {

constexpr int kPdfDpi = 300;

OptionSyntax archiveOption() {
    return {{QStringLiteral("archive")},
            QStringLiteral("PATH"),
            QStringLiteral("the archive file (default ./archive.sqlite)")};
}

QString archivePath(const CommandLine& line) {
    return line.isSet(QStringLiteral("archive")) ? line.value(QStringLiteral("archive"))
                                                 : QStringLiteral("archive.sqlite");
}

// An archive that must exist already: reading never creates one.
void openExisting(archive::ArchiveFile& file) {
    if (!QFileInfo::exists(file.path())) {
        failInput(QStringLiteral("there is no archive \"%1\".").arg(file.path()));
    }
    if (const auto failure = file.open()) {
        failInput(QStringLiteral("the archive \"%1\" cannot be read: %2.")
                      .arg(file.path(), failure->reason));
    }
}

const CliModel& modelOf(const CommandLine& line) {
    const QString key = line.value(QStringLiteral("model"));
    const CliModel* model = modelByKey(key);
    if (!model) {
        failUsage(QStringLiteral("--model takes %1, not '%2'.").arg(modelKeys(), key));
    }
    return *model;
}

// A day (2026-12-08) or a moment (2026-12-08T14:02, with or without an offset); a day
// reaches from its first to its last moment, local time.
qint64 dateBound(const CommandLine& line, const QString& option, bool end) {
    const QString text = line.value(option);
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid()) {
        return (end ? day.addDays(1) : day).startOfDay().toMSecsSinceEpoch();
    }
    const QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (!moment.isValid()) {
        failUsage(QStringLiteral("--%1 takes a date such as 2026-12-08 or 2026-12-08T14:02, "
                                 "not '%2'.")
                      .arg(option, text));
    }
    return moment.toMSecsSinceEpoch() + (end ? 1 : 0);
}

void runSearch(const CommandLine& line) {
    archive::SearchFilter filter;
    if (line.isSet(QStringLiteral("from"))) {
        filter.fromMs = dateBound(line, QStringLiteral("from"), false);
    }
    if (line.isSet(QStringLiteral("to"))) {
        filter.toMs = dateBound(line, QStringLiteral("to"), true);
    }
    filter.text = line.value(QStringLiteral("text"));
    if (line.isSet(QStringLiteral("slot"))) {
        filter.slot = line.number(QStringLiteral("slot"), 0, 1, kSlotCount);
    }
    if (line.isSet(QStringLiteral("model"))) {
        filter.model = QString::fromLatin1(modelOf(line).key().data(),
                                           static_cast<qsizetype>(modelOf(line).key().size()));
    }
    filter.allVersions = line.isSet(QStringLiteral("all-versions"));
    filter.job = line.value(QStringLiteral("job"));
    filter.result = line.value(QStringLiteral("result"));
    if (line.isSet(QStringLiteral("server"))) {
        // The team's records, the same search and the same output.
        line.refuseTogether(QStringLiteral("server"), QStringLiteral("archive"));
        const auto server = openServerOf(line);
        QSqlDatabase db = server->database();
        QString error;
        const auto found = archive::searchArchive(db, filter, &error);
        if (!error.isEmpty()) {
            failInput(QStringLiteral("the search failed: %1.").arg(error.simplified()));
        }
        writeStandardOutput(line.isSet(QStringLiteral("json")) ? archiveJson(db, found)
                                                               : archiveTable(found));
        return;
    }
    archive::ArchiveFile file(archivePath(line));
    openExisting(file);
    QString error;
    const auto found = archive::searchArchive(file.db(), filter, &error);
    if (!error.isEmpty()) {
        failInput(QStringLiteral("the search failed: %1.").arg(error));
    }
    writeStandardOutput(line.isSet(QStringLiteral("json")) ? archiveJson(file.db(), found)
                                                           : archiveTable(found));
}

void runImport(const CommandLine& line) {
    const RecordInput input = openInput(line);
    std::vector<archive::SlotValues> marked;
    for (int column = 0; column < kSlotCount; ++column) {
        if (input.marked[static_cast<std::size_t>(column)]) {
            const auto values = input.session->store().column(column);
            marked.push_back({column + 1, {values.begin(), values.end()}});
        }
    }
    const QString path = archivePath(line);
    const QString source = QFileInfo(line.positional(0)).absoluteFilePath();
    int before = 0;
    {
        archive::ArchiveFile file(path);
        if (const auto failure = file.open()) {
            failInput(QStringLiteral("the archive \"%1\" cannot be written: %2.")
                          .arg(path, failure->reason));
        }
        before = archive::versionCount(file.db());
    }
    const auto markedCount = static_cast<int>(marked.size());
    archive::ArchiveKeeper keeper(input.model->profile, path);
    keeper.start();
    keeper.keepLoaded(source, std::move(marked));
    keeper.endRunCleanly();
    if (keeper.failing()) {
        failInput(QStringLiteral("the archive \"%1\" was not written: %2.")
                      .arg(path, keeper.statusText()));
    }
    archive::ArchiveFile file(path);
    openExisting(file);
    const int added = archive::versionCount(file.db()) - before;
    writeStandardOutput(QStringLiteral("imported %1 marked slots of %2: %3 new, %4 kept before\n")
                            .arg(markedCount)
                            .arg(line.positional(0))
                            .arg(added)
                            .arg(markedCount - added)
                            .toUtf8());
}

void runExport(const CommandLine& line) {
    const QString out = line.required(QStringLiteral("output"));
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix != QLatin1String("dat") && suffix != QLatin1String("pdf") &&
        suffix != QLatin1String("csv")) {
        failUsage(QStringLiteral("-o names a .dat, .pdf or .csv file, not '%1'.").arg(out));
    }
    QStringList uuids =
        line.required(QStringLiteral("uuids")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& uuid : uuids) {
        uuid = uuid.trimmed();
    }
    if (uuids.isEmpty()) {
        failUsage(QStringLiteral("--uuids names no record."));
    }
    archive::ArchiveFile file(archivePath(line));
    openExisting(file);
    const auto first = archive::newestVersion(file.db(), uuids.front());
    if (!first) {
        failInput(QStringLiteral("no record %1 in the archive.").arg(uuids.front()));
    }
    const CliModel* model = modelByKey(first->model);
    if (!model) {
        failInput(QStringLiteral("record %1 is of an unknown model '%2'.")
                      .arg(uuids.front(), first->model));
    }
    RecordStore store(model->profile);
    const KeptTable table = tableFromKept(file.db(), uuids, store);
    if (!table.error.isEmpty()) {
        failInput(table.error + QLatin1Char('.'));
    }
    if (suffix == QLatin1String("dat")) {
        OutputFile output(out);
        output.write(writeRecordFile(store));
        output.commit();
        return;
    }
    ExportRequest request;
    request.format = suffix == QLatin1String("pdf") ? ExportFormat::BitmapPdf : ExportFormat::Csv;
    request.dpi = kPdfDpi;
    request.slotNumbers = table.filled;
    request.marked.fill(true);  // every record exported holds a record
    writeExport(store, std::move(request), out);
}

void runVerify(const CommandLine& line) {
    if (line.isSet(QStringLiteral("server"))) {
        line.refuseTogether(QStringLiteral("server"), QStringLiteral("archive"));
        printServerCounts(line);
        return;
    }
    archive::ArchiveFile file(archivePath(line));
    if (!QFileInfo::exists(file.path())) {
        failInput(QStringLiteral("there is no archive \"%1\".").arg(file.path()));
    }
    if (const auto failure = file.open()) {
        failInput(
            QStringLiteral("the archive \"%1\" is damaged: %2.").arg(file.path(), failure->reason));
    }
    const archive::IntegrityCheck check = archive::checkIntegrity(file.db());
    if (!check.error.isEmpty()) {
        failInput(
            QStringLiteral("the archive \"%1\" is damaged: %2.").arg(file.path(), check.error));
    }
    if (!check.problems.isEmpty()) {
        failInput(QStringLiteral("the archive \"%1\" is damaged: %2.")
                      .arg(file.path(), check.problems.join(QStringLiteral("; "))));
    }
    QString text = QStringLiteral("integrity ok\n");
    for (const CliModel& model : cliModels()) {
        const QString key =
            QString::fromLatin1(model.key().data(), static_cast<qsizetype>(model.key().size()));
        text += QStringLiteral("%1 %2\n").arg(key).arg(archive::recordCount(file.db(), key));
    }
    writeStandardOutput(text.toUtf8());
}

}  // namespace

const Command& archiveSearchCommand() {
    static const Command command{
        {QStringLiteral("archive search"),
         withModelKeys(
             QStringLiteral("[--from DATE] [--to DATE] [--text TEXT] [--slot N] [--model {models}] "
                            "[--all-versions] [--json] [--archive PATH | --server URL]")),
         QStringLiteral("the kept records a date range, a text, a slot or a model find"),
         QStringLiteral(
             "Lists the newest version of each kept record (every version with\n"
             "--all-versions), newest arrival first, as a table or as JSON: an object\n"
             "{\"records\": [...]} with uuid, version, model, slot, source, path, arrived,\n"
             "time_date, header, record (the whole column) and saved_in. --text looks\n"
             "through the report header fields and the record files' names (not their\n"
             "folders), in any case. With --server, the team server's records, searched\n"
             "and shown the same way."),
         {{{QStringLiteral("from")},
           QStringLiteral("DATE"),
           QStringLiteral("arrived on or after DATE (2026-12-08 or 2026-12-08T14:02)")},
          {{QStringLiteral("to")},
           QStringLiteral("DATE"),
           QStringLiteral("arrived on or before DATE")},
          {{QStringLiteral("text")},
           QStringLiteral("TEXT"),
           QStringLiteral("in a header field or a record file's name")},
          {{QStringLiteral("slot")}, QStringLiteral("N"), QStringLiteral("of slot N (1 to 200)")},
          modelOption(),
          {{QStringLiteral("job")},
           QStringLiteral("TEXT"),
           QStringLiteral("records of a job whose client, order or object holds TEXT")},
          {{QStringLiteral("result")},
           QStringLiteral("RESULT"),
           QStringLiteral("records whose result in their job is RESULT (\"reject\", ...)")},
          {{QStringLiteral("all-versions")},
           {},
           QStringLiteral("every version, not only the newest")},
          {{QStringLiteral("json")}, {}, QStringLiteral("JSON instead of a table")},
          archiveOption(),
          serverOption()},
         0},
        runSearch};
    return command;
}

const Command& archiveImportCommand() {
    static const Command command{
        {QStringLiteral("archive import"),
         withModelKeys(QStringLiteral("FILE.dat [--model {models}] [--archive PATH]")),
         QStringLiteral("keeps a record file's marked slots, as File > Open does"),
         QStringLiteral("Keeps each marked slot of the record file in the archive, as the window\n"
                        "program's File > Open does; values kept before are not stored again."),
         {modelOption(), archiveOption()},
         1},
        runImport};
    return command;
}

const Command& archiveExportCommand() {
    static const Command command{
        {QStringLiteral("archive export"),
         QStringLiteral("--uuids U1,U2,... -o OUT.dat|OUT.pdf|OUT.csv [--archive PATH]"),
         QStringLiteral("kept records as one record file, one PDF or one CSV"),
         QStringLiteral(
             "Writes the newest version of each record named: a record file with each\n"
             "record in its own slot and every other slot at a fresh memory table's start\n"
             "values (two records of one slot are refused), or the PDF or CSV the pdf and\n"
             "csv subcommands make of those slots."),
         {{{QStringLiteral("uuids")},
           QStringLiteral("LIST"),
           QStringLiteral("the records' UUIDs, separated by commas")},
          outputOption(QStringLiteral("OUT")),
          archiveOption()},
         0},
        runExport};
    return command;
}

const Command& archiveVerifyCommand() {
    static const Command command{
        {QStringLiteral("archive verify"),
         QStringLiteral("[--archive PATH | --server URL]"),
         QStringLiteral("the archive's integrity check and its records per model"),
         QStringLiteral(
             "Runs the database's integrity check, then prints the kept records per\n"
             "model (\"tft 12\", \"dac 5\"). Exit status 1 when the archive is damaged.\n"
             "With --server, the team server's records per model (status 1, with the\n"
             "server's reason, when it cannot be reached)."),
         {archiveOption(), serverOption()},
         0},
        runVerify};
    return command;
}

}  // namespace trellicap::cli
