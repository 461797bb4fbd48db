// job report ID -o OUT.pdf: the job report, a PDF/A of real text: the job's own pages, then
// each record's report page. A job lacking mandatory items is refused, naming them, unless a
// draft is asked for; a draft says DRAFT on every page.
#include <QDate>

#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/job_archive.h"
#include "cli/output_file.h"
#include "cli/warning.h"
#include "report/job_report_content.h"

namespace trellicap::cli {

namespace {

void runReport(const CommandLine& line) {
    const QString path = line.required(QStringLiteral("output"));
    const OpenJob open = openJob(line);
    const inspection::Job& job = open.desk->job();
    auto content = std::make_shared<JobReportContent>(
        jobReportContent(open.model->profile, job, registerOf(*open.store), QDate::currentDate()));
    if (content->draft()) {
        const QString missing = content->missing.join(QStringLiteral(", "));
        if (!line.isSet(QStringLiteral("draft"))) {
            failInput(QStringLiteral("job %1 lacks mandatory items: %2. Fill them in, or give "
                                     "--draft for a report marked DRAFT.")
                          .arg(job.id.left(8), missing));
        }
        warn(QStringLiteral("the report is a draft; missing: %1.").arg(missing));
    }
    for (const ReportSection& section : content->cover) {
        for (const QString& text : section.lines) {
            if (text.startsWith(QLatin1String("Warning: "))) {
                warn(text.mid(9) + QLatin1Char('.'));
            }
        }
    }
    RecordStore store(open.model->profile);
    store.initMemoryTable();
    writeExport(store, jobReportRequest(job, content), path);
}

}  // namespace

const Command& jobReportCommand() {
    static const Command command{
        {QStringLiteral("job report"),
         QStringLiteral("ID -o OUT.pdf [--draft] [--archive PATH]"),
         QStringLiteral("the job report: the job's pages, then each record's report page"),
         QStringLiteral(
             "Writes the job report as PDF/A of real text: a cover with every item of the\n"
             "job, the equipment with serials and due dates, the reference sensitivity, the\n"
             "evaluation rule, the table of indications, the summary, the notes and\n"
             "amendments and the signature boxes, \"Page n of N\" on each of these pages;\n"
             "then each record's report page as the vector PDF of 'pdf' makes it. A job\n"
             "that lacks mandatory items is refused with their names; --draft makes the\n"
             "report anyway, with DRAFT on every page. Equipment warnings go to standard\n"
             "error."),
         {outputOption(QStringLiteral("OUT.pdf")),
          {{QStringLiteral("draft")}, {}, QStringLiteral("make a draft of an incomplete job")},
          jobArchiveOption()},
         1,
         0,
         QStringLiteral("a job's id")},
        runReport};
    return command;
}

}  // namespace trellicap::cli
