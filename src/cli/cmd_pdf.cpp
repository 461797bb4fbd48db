// pdf FILE -o OUT.pdf: the window's "Ultrasonic  Test  Report" page for each chosen slot, all
// in one document, in ascending slot order.
#include <QFileInfo>

#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/models.h"
#include "cli/output_file.h"
#include "cli/warning.h"
#include "report/vector_report_document.h"

namespace trellicap::cli {

namespace {

constexpr int kDefaultDpi = 300;
constexpr int kLowestDpi = 96;
constexpr int kHighestDpi = 600;

void runPdf(const CommandLine& line) {
    line.refuseTogether(QStringLiteral("slots"), QStringLiteral("marked"));
    line.refuseTogether(QStringLiteral("vector"), QStringLiteral("dpi"));
    const QString path = line.required(QStringLiteral("output"));
    const int dpi = line.number(QStringLiteral("dpi"), kDefaultDpi, kLowestDpi, kHighestDpi);
    const auto requested = requestedSlots(line);
    const RecordInput input = openInput(line);
    const std::vector<int> chosen = slotsToShow(requested, input);
    if (chosen.empty()) {
        failInput(QStringLiteral("no slot of \"%1\" is marked, so there is no page to print; "
                                 "name slots with --slots.")
                      .arg(line.positional(0)));
    }
    warnUnmarkedSlots(input, chosen, QStringLiteral("each page shows its slot"));
    ExportRequest request;
    request.slotNumbers = chosen;
    if (line.isSet(QStringLiteral("vector"))) {
        // One PDF/A-1b titled with the file and the slots.
        request.format = ExportFormat::VectorPdf;
        const QList<int> numbers(chosen.begin(), chosen.end());
        request.title = vectorReportTitle(QFileInfo(line.positional(0)).fileName(), numbers);
    } else {
        request.format = ExportFormat::BitmapPdf;
        request.dpi = dpi;
    }
    writeExport(input.session->store(), std::move(request), path);
}

}  // namespace

const Command& pdfCommand() {
    static const Command command{
        {QStringLiteral("pdf"),
         withModelKeys(
             QStringLiteral("FILE -o OUT.pdf [--slots LIST | --marked] [--dpi N | --vector] "
                            "[--model {models}]")),
         QStringLiteral("one report page per slot, in one PDF"),
         QStringLiteral(
             "Writes the \"Ultrasonic  Test  Report\" page the window program prints, one\n"
             "page per slot in ascending order, into one PDF (A4): the marked slots, or\n"
             "those --slots names. With --vector the pages are lines and real text (the\n"
             "same layout), PDF/A-1b with the fonts inside: searchable, values copyable."),
         {outputOption(QStringLiteral("OUT.pdf")),
          slotsOption(),
          {{QStringLiteral("marked")}, {}, QStringLiteral("the marked slots (the default)")},
          {{QStringLiteral("dpi")},
           QStringLiteral("N"),
           QStringLiteral("the page's resolution, 96 to 600 (default 300); the page's bitmaps\n"
                          "      are drawn at 96 dpi for 96, else at 300 to 600 dpi")},
          {{QStringLiteral("vector")},
           {},
           QStringLiteral("lines and real text instead of bitmaps, as PDF/A-1b")},
          modelOption()},
         1},
        runPdf};
    return command;
}

}  // namespace trellicap::cli
