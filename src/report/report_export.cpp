#include "report/report_export.h"

#include "report/csv_format.h"
#include "report/pdf_document_sink.h"
#include "report/report_composer.h"
#include "report/slot_record.h"
#include "report/slot_view.h"
#include "report/vector_report_document.h"

namespace trellicap {

namespace {
constexpr int kBitmapPdfDpi = 300;  // as trellicap-cli pdf
}  // namespace

ReportExport::ReportExport(const RecordStore& records, ExportRequest request)
    : m_records(records),
      m_request(std::move(request)),
      m_file(m_request.path),
      m_shown(std::make_unique<SlotView>(m_records)),
      m_labels(std::make_unique<FieldLabels>(fieldLabels(records.profile()))) {}

ReportExport::~ReportExport() {
    // The documents end before the file goes; an unfinished export leaves no file.
    m_vectorPdf.reset();
    m_bitmapPdf.reset();
    m_file.cancelWriting();
}

bool ReportExport::fail(const QString& reason) {
    if (m_error.isEmpty()) {
        m_error = reason;
    }
    return false;
}

bool ReportExport::start() {
    if (!m_file.open(QIODevice::WriteOnly)) {
        return fail(m_file.errorString());
    }
    switch (m_request.format) {
        case ExportFormat::VectorPdf:
            m_vectorPdf = std::make_unique<VectorReportDocument>(m_file, m_request.title);
            break;
        case ExportFormat::BitmapPdf:
            m_scratch = std::make_unique<QTemporaryDir>();
            if (!m_scratch->isValid()) {
                return fail(m_scratch->errorString());
            }
            m_bitmapPdf = std::make_unique<PdfDocumentSink>(m_file, kBitmapPdfDpi);
            break;
        case ExportFormat::Csv:
            break;
    }
    return true;
}

bool ReportExport::addShown(const ReportSource& source, const Canvas& plot) {
    if (m_vectorPdf) {
        return m_vectorPdf->addPage(m_records.profile(), source, plot) ||
               fail(QStringLiteral("the page could not be started"));
    }
    if (m_bitmapPdf) {
        bool failed = false;
        print_report(m_records.profile(), source, *m_bitmapPdf, m_scratch->path(),
                     [&failed] { failed = true; });
        return !failed ||
               fail(QString::fromLatin1(kReportFailureText.data(),
                                        static_cast<qsizetype>(kReportFailureText.size())));
    }
    return fail(QStringLiteral("a table has no page of the record shown"));
}

bool ReportExport::step() {
    if (atEnd() || !m_error.isEmpty()) {
        return m_error.isEmpty();
    }
    const int slot = m_request.slotNumbers[m_next++];
    m_shown->recall(slot - 1);
    if (m_request.format == ExportFormat::Csv) {
        const auto column = static_cast<std::size_t>(slot - 1);
        const bool marked = column < m_request.marked.size() && m_request.marked[column];
        m_rows.push_back(slotRecord(*m_labels, *m_shown, slot, marked));
        return true;
    }
    return addShown(*m_shown, m_shown->plot());
}

bool ReportExport::finish() {
    if (!m_error.isEmpty()) {
        return false;
    }
    bool ended = true;
    if (m_vectorPdf) {
        ended = m_vectorPdf->finish();
    } else if (m_bitmapPdf) {
        ended = m_bitmapPdf->finish();
    } else {
        const QByteArray csv = csvDocument(*m_labels, m_rows, false);
        ended = m_file.write(csv) == csv.size();
    }
    if (!ended) {
        return fail(m_file.errorString());
    }
    return m_file.commit() || fail(m_file.errorString());
}

void ReportExport::cancel() {
    m_vectorPdf.reset();
    m_bitmapPdf.reset();
    m_file.cancelWriting();
}

}  // namespace trellicap
