// pdf FILE -o OUT.pdf: the window's "Ultrasonic  Test  Report" page for each chosen slot, all
// in one document, in ascending slot order.
#include <QFileInfo>
#include <QTemporaryDir>

#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/output_file.h"
#include "cli/warning.h"
#include "report/pdf_document_sink.h"
#include "report/report_composer.h"
#include "report/slot_view.h"
#include "report/vector_report_document.h"

namespace trellicap::cli {

namespace {

constexpr int kDefaultDpi = 300;
constexpr int kLowestDpi = 96;
constexpr int kHighestDpi = 600;

// One page per slot, each composed from the slot as the window shows it after a recall;
// the composer's scratch bitmaps go to a folder of this run's own.
void printPages(const RecordInput& input, const std::vector<int>& chosen, PageSink& sink) {
    const QTemporaryDir scratch;
    if (!scratch.isValid()) {
        failInput(QStringLiteral("no temporary folder for the report's bitmaps: %1.")
                      .arg(scratch.errorString()));
    }
    SlotView& shown = input.session->view();
    for (const int slot : chosen) {
        input.session->recall(slot - 1);
        bool failed = false;
        print_report(input.model->profile, shown, sink, scratch.path(),
                     [&failed] { failed = true; });
        if (failed) {
            failInput(QStringLiteral("the report of slot %1 could not be made: %2")
                          .arg(slot)
                          .arg(QLatin1String(kReportFailureText.data(),
                                             static_cast<qsizetype>(kReportFailureText.size()))));
        }
    }
}

// The same pages as lines and text, into one PDF/A-1b titled with the file and the slots.
void writeVectorPages(const RecordInput& input, const std::vector<int>& chosen,
                      const QString& inputPath, QIODevice& device) {
    const QList<int> numbers(chosen.begin(), chosen.end());
    VectorReportDocument document(device,
                                  vectorReportTitle(QFileInfo(inputPath).fileName(), numbers));
    SlotView& shown = input.session->view();
    for (const int slot : chosen) {
        input.session->recall(slot - 1);
        if (!document.addPage(input.model->profile, shown, shown.plot())) {
            failInput(QStringLiteral("the page of slot %1 could not be started.").arg(slot));
        }
    }
    if (!document.finish()) {
        failInput(
            QStringLiteral("the document could not be written: %1.").arg(device.errorString()));
    }
}

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
    OutputFile out(path);
    if (line.isSet(QStringLiteral("vector"))) {
        writeVectorPages(input, chosen, line.positional(0), out.device());
        out.commit();
        return;
    }
    PdfDocumentSink sink(out.device(), dpi);
    printPages(input, chosen, sink);
    if (!sink.finish()) {
        failInput(QStringLiteral("\"%1\" could not be written: %2.")
                      .arg(path, out.device().errorString()));
    }
    out.commit();
}

}  // namespace

const Command& pdfCommand() {
    static const Command command{
        {QStringLiteral("pdf"),
         QStringLiteral("FILE -o OUT.pdf [--slots LIST | --marked] [--dpi N | --vector] "
                        "[--model tft|dac]"),
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
