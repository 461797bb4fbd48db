#include "report/report_pdf.h"

#include <QTemporaryDir>

#include "report/pdf_document_sink.h"
#include "report/report_composer.h"
#include "report/slot_view.h"

namespace trellicap {

QString writeReportPdf(RecordStore& store, const std::vector<int>& chosen, QIODevice& device,
                       int dpi) {
    // The composer's scratch bitmaps go to a folder of this export's own.
    const QTemporaryDir scratch;
    if (!scratch.isValid()) {
        return QStringLiteral("no temporary folder for the report's bitmaps: %1")
            .arg(scratch.errorString());
    }
    PdfDocumentSink sink(device, dpi);
    SlotView shown(store);
    for (const int slot : chosen) {
        shown.recall(slot - 1);
        bool failed = false;
        print_report(store.profile(), shown, sink, scratch.path(), [&failed] { failed = true; });
        if (failed) {
            return QStringLiteral("the report of slot %1 could not be made").arg(slot);
        }
    }
    if (!sink.finish()) {
        return QStringLiteral("the PDF could not be written: %1").arg(device.errorString());
    }
    return {};
}

}  // namespace trellicap
