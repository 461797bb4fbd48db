// job note | result | edit: the inspector's word on a kept job, each a new version naming
// who and when: an indication's length and position, a result set by hand with its reason,
// the job's details from JOB.json.
#include <QFile>
#include <QFileInfo>

#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/job_archive.h"
#include "cli/job_file.h"
#include "cli/output_file.h"
#include "inspection/job_json.h"

namespace trellicap::cli {

namespace {

const QString kJobId = QStringLiteral("a job's id");

OptionSyntax recordOption() {
    return {{QStringLiteral("record")},
            QStringLiteral("N"),
            QStringLiteral("the record's number in the job (job show lists them)")};
}

void done(const JobDesk& desk) {
    writeStandardOutput(QStringLiteral("job %1 is now version %2\n")
                            .arg(desk.job().id.left(8))
                            .arg(desk.job().version)
                            .toUtf8());
}

void runNote(const CommandLine& line) {
    OpenJob open = openJob(line);
    const int item = line.requiredNumber(QStringLiteral("record"), 1, 1000000);
    const inspection::JobItem* entry = inspection::findItem(open.desk->job(), item);
    if (entry == nullptr) {
        failInput(QStringLiteral("the job has no record %1.").arg(item));
    }
    std::optional<double> length = entry->lengthMm;
    if (line.isSet(QStringLiteral("length"))) {
        length = line.value(QStringLiteral("length")).isEmpty()
                     ? std::nullopt
                     : std::optional<double>(line.decimal(QStringLiteral("length"), 0, 0, 1e6));
    }
    const QString position = line.isSet(QStringLiteral("position"))
                                 ? line.value(QStringLiteral("position"))
                                 : entry->position;
    if (auto refused =
            open.desk->setNotes(item, length, position, changedBy(line, open.desk->job()))) {
        failInput(*refused + QLatin1Char('.'));
    }
    done(*open.desk);
}

void runResult(const CommandLine& line) {
    OpenJob open = openJob(line);
    const int item = line.requiredNumber(QStringLiteral("record"), 1, 1000000);
    const QString text = line.required(QStringLiteral("set"));
    std::optional<inspection::Result> result;
    if (text != QLatin1String("computed")) {
        result = inspection::resultFromText(text);
        if (!result || *result == inspection::Result::OutsideDac) {
            failUsage(QStringLiteral("--set takes \"no indication\", \"below recording level\", "
                                     "\"acceptable\", \"reject\" or \"computed\", not '%1'.")
                          .arg(text));
        }
    }
    if (auto refused =
            open.desk->overrideResult(item, result, line.required(QStringLiteral("reason")),
                                      changedBy(line, open.desk->job()))) {
        failInput(*refused + QLatin1Char('.'));
    }
    done(*open.desk);
}

void runEdit(const CommandLine& line) {
    OpenJob open = openJob(line);
    const QString path = line.required(QStringLiteral("from"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failInput(QStringLiteral("\"%1\" could not be read: %2.").arg(path, file.errorString()));
    }
    inspection::JobRead read = inspection::readJob(file.readAll());
    if (!read.errors.isEmpty()) {
        failInput(QStringLiteral("\"%1\" is not a job: %2.")
                      .arg(path, read.errors.join(QStringLiteral("; "))));
    }
    (void)loadReference(read.job, QFileInfo(path).absolutePath(), *open.model);
    const inspection::Job details =
        inspection::withRegisterDetails(read.job, registerOf(*open.store));
    if (auto refused = open.desk->editDetails(details, changedBy(line, details))) {
        failInput(*refused + QLatin1Char('.'));
    }
    done(*open.desk);
}

}  // namespace

const Command& jobNoteCommand() {
    static const Command command{
        {QStringLiteral("job note"),
         QStringLiteral("ID --record N [--length MM] [--position TEXT] [--by NAME]"),
         QStringLiteral("an indication's length and position, as the inspector measured them"),
         QStringLiteral("Notes the length (mm; an empty value takes it back) and the position of\n"
                        "the job's record N. The length counts against the job's length limit."),
         {recordOption(),
          {{QStringLiteral("length")}, QStringLiteral("MM"), QStringLiteral("the length in mm")},
          {{QStringLiteral("position")},
           QStringLiteral("TEXT"),
           QStringLiteral("where on the object")},
          jobArchiveOption(),
          byOption()},
         1,
         0,
         kJobId},
        runNote};
    return command;
}

const Command& jobResultCommand() {
    static const Command command{
        {QStringLiteral("job result"),
         QStringLiteral("ID --record N --set RESULT --reason TEXT [--by NAME]"),
         QStringLiteral("a record's result set by hand, with the reason"),
         QStringLiteral(
             "Sets the result of the job's record N to \"no indication\", \"below\n"
             "recording level\", \"acceptable\" or \"reject\" whatever its numbers say,\n"
             "or back to what they say (\"computed\"). The reason is required; the\n"
             "report marks the result and gives the reason, who and when."),
         {recordOption(),
          {{QStringLiteral("set")}, QStringLiteral("RESULT"), QStringLiteral("the result")},
          {{QStringLiteral("reason")}, QStringLiteral("TEXT"), QStringLiteral("why")},
          jobArchiveOption(),
          byOption()},
         1,
         0,
         kJobId},
        runResult};
    return command;
}

const Command& jobEditCommand() {
    static const Command command{
        {QStringLiteral("job edit"),
         QStringLiteral("ID --from JOB.json [--by NAME]"),
         QStringLiteral("the job's details replaced by those of JOB.json"),
         QStringLiteral("Replaces every detail of the job (not its records) by JOB.json's, as a\n"
                        "new version naming the details that changed. 'job show' gives a\n"
                        "JOB.json to edit in its JSON form."),
         {{{QStringLiteral("from")}, QStringLiteral("JOB.json"), QStringLiteral("the details")},
          jobArchiveOption(),
          byOption()},
         1,
         0,
         kJobId},
        runEdit};
    return command;
}

}  // namespace trellicap::cli
