// job new | show | list | add: jobs kept in the archive beside the records, as the window's
// Job menu keeps them; every change a new version naming who made it.
#include <QDate>
#include <QFile>
#include <QFileInfo>

#include "archive/archive_file.h"
#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/job_archive.h"
#include "cli/job_file.h"
#include "cli/job_output.h"
#include "cli/output_file.h"
#include "cli/slot_list.h"
#include "inspection/job_json.h"
#include "session/job_records.h"

namespace trellicap::cli {

namespace {

const QString kFrom = QStringLiteral("from");

// The model of a new job: --model, the job's own, its records' size, else the first.
const CliModel& newJobModel(const CommandLine& line, const inspection::Job& job) {
    if (line.isSet(QStringLiteral("model"))) {
        const CliModel* model = modelByKey(line.value(QStringLiteral("model")));
        if (model == nullptr) {
            failUsage(QStringLiteral("--model takes %1, not '%2'.")
                          .arg(modelKeys(), line.value(QStringLiteral("model"))));
        }
        return *model;
    }
    if (const CliModel* named = jobModel(job)) {
        return *named;
    }
    for (const CliModel& model : cliModels()) {
        if (!job.items.empty() &&
            static_cast<int>(job.items.front().values.size()) == model.profile.recordSize()) {
            return model;
        }
    }
    return cliModels().front();
}

void runNew(const CommandLine& line) {
    const QString path = line.required(kFrom);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failInput(QStringLiteral("\"%1\" could not be read: %2.").arg(path, file.errorString()));
    }
    inspection::JobRead read = inspection::readJob(file.readAll());
    if (!read.errors.isEmpty()) {
        failInput(QStringLiteral("\"%1\" is not a job: %2.")
                      .arg(path, read.errors.join(QStringLiteral("; "))));
    }
    const CliModel& model = newJobModel(line, read.job);
    (void)loadReference(read.job, QFileInfo(path).absolutePath(), model);
    auto store = openJobStore(line);
    const inspection::Job details = inspection::withRegisterDetails(read.job, registerOf(*store));
    JobDesk desk(*store, model.profile);
    if (auto refused = desk.create(details, changedBy(line, details))) {
        failInput(*refused + QLatin1Char('.'));
    }
    writeStandardOutput(QStringLiteral("%1\n").arg(desk.job().id).toUtf8());
}

void runShow(const CommandLine& line) {
    const OpenJob open = openJob(line);
    const inspection::Job& job = open.desk->job();
    if (line.isSet(QStringLiteral("json"))) {
        writeStandardOutput(inspection::jobDocument(job));
        return;
    }
    const JobReportContent content =
        jobReportContent(open.model->profile, job, registerOf(*open.store), QDate::currentDate());
    writeStandardOutput(jobText(content, job.id, job.version).toUtf8());
}

void runJobList(const CommandLine& line) {
    auto store = openJobStore(line);
    QString error;
    const auto jobs = store->jobs(&error);
    if (!error.isEmpty()) {
        failInput(QStringLiteral("the jobs cannot be read: %1.").arg(error));
    }
    writeStandardOutput(jobListText(jobs).toUtf8());
}

void runJobAdd(const CommandLine& line) {
    const bool fromArchive = line.isSet(QStringLiteral("uuids"));
    const QString file = line.positional(1);
    if (fromArchive == !file.isEmpty()) {
        failUsage(QStringLiteral("add takes a record file or --uuids, one of them."));
    }
    const auto requested = requestedSlots(line);
    const CliModel* fileModel = nullptr;
    if (!fromArchive) {
        // The file's size tells its model, as everywhere else.
        fileModel = modelByFileSize(QFileInfo(file).size());
    }
    OpenJob open = openJob(line, fileModel);
    if (fileModel != nullptr && fileModel != open.model) {
        failInput(QStringLiteral("\"%1\" is a %2 record file; job %3 holds %4 records.")
                      .arg(file, displayName(*fileModel), open.desk->job().id.left(8),
                           displayName(*open.model)));
    }
    const ModelProfile& profile = open.model->profile;
    ChosenRecords chosen;
    if (fromArchive) {
        archive::ArchiveFile archive(line.isSet(QStringLiteral("archive"))
                                         ? line.value(QStringLiteral("archive"))
                                         : QStringLiteral("archive.sqlite"));
        if (const auto failure = archive.open()) {
            failInput(QStringLiteral("the archive cannot be read: %1.").arg(failure->reason));
        }
        chosen = itemsFromArchive(
            archive.db(), profile,
            line.value(QStringLiteral("uuids")).split(QLatin1Char(','), Qt::SkipEmptyParts));
    } else {
        chosen = itemsFromFile(profile, file, requested);
    }
    if (!chosen.error.isEmpty()) {
        failInput(chosen.error + QLatin1Char('.'));
    }
    const int count = static_cast<int>(chosen.items.size());
    if (auto refused =
            open.desk->addRecords(std::move(chosen.items), changedBy(line, open.desk->job()))) {
        failInput(*refused + QLatin1Char('.'));
    }
    writeStandardOutput(QStringLiteral("added %1 record(s) to job %2, now version %3\n")
                            .arg(count)
                            .arg(open.desk->job().id.left(8))
                            .arg(open.desk->job().version)
                            .toUtf8());
}

}  // namespace

const Command& jobNewCommand() {
    static const Command command{
        {QStringLiteral("job new"),
         withModelKeys(
             QStringLiteral("--from JOB.json [--archive PATH] [--model {models}] [--by NAME]")),
         QStringLiteral("keeps a new job from JOB.json and prints its id"),
         QStringLiteral(
             "Reads JOB.json (docs/cli.md lists its keys; a mistake is refused with the key\n"
             "named), fills the equipment it names by serial or ID from the register, reads a\n"
             "reference record (method \"record\") from its file, named relative to\n"
             "JOB.json's folder, and keeps the job as version 1 with the records it carries.\n"
             "Prints the job's id; any unique start of it names the job later."),
         {{{kFrom}, QStringLiteral("JOB.json"), QStringLiteral("the job")},
          jobArchiveOption(),
          {{QStringLiteral("model")},
           modelKeys(),
           QStringLiteral("the records' model (default: the job's, else its records' size)")},
          byOption()},
         0},
        runNew};
    return command;
}

const Command& jobShowCommand() {
    static const Command command{
        {QStringLiteral("job show"),
         QStringLiteral("ID [--json] [--archive PATH]"),
         QStringLiteral("the job: every item, the equipment's warnings, each record's result"),
         QStringLiteral(
             "Prints the job as its report gives it: the missing mandatory items, the\n"
             "object, procedure, personnel, equipment (with warnings for what is past its\n"
             "calibration date or lacks a passed daily check), reference sensitivity,\n"
             "evaluation rule, the indications (path, depth, surface distance, amplitude,\n"
             "level, length, position, result), the summary, notes and amendments. --json\n"
             "writes the job as JOB.json, which 'job new' reads back."),
         {{{QStringLiteral("json")}, {}, QStringLiteral("the job as JOB.json")},
          jobArchiveOption()},
         1,
         0,
         QStringLiteral("a job's id")},
        runShow};
    return command;
}

const Command& jobListCommand() {
    static const Command command{
        {QStringLiteral("job list"),
         QStringLiteral("[--archive PATH]"),
         QStringLiteral("the jobs kept, the last changed first"),
         QStringLiteral("Lists each job's id (its first eight characters), newest version, model,\n"
                        "client, order, object, records, overall result and last change."),
         {jobArchiveOption()},
         0},
        runJobList};
    return command;
}

const Command& jobAddCommand() {
    static const Command command{
        {QStringLiteral("job add"),
         QStringLiteral("ID FILE [--slots LIST] | ID --uuids U1,U2 [--archive PATH] [--by NAME]"),
         QStringLiteral("records join a job: slots of a record file, or archived records"),
         QStringLiteral("Adds the chosen slots of a record file (without --slots the marked ones)\n"
                        "or the newest versions of archived records to the job, as a new\n"
                        "version. The records must be of the job's model."),
         {slotsOption(),
          {{QStringLiteral("uuids")},
           QStringLiteral("LIST"),
           QStringLiteral("archived records by UUID, comma-separated")},
          jobArchiveOption(),
          byOption()},
         1,
         1,
         QStringLiteral("a job's id")},
        runJobAdd};
    return command;
}

}  // namespace trellicap::cli
