// An export of records to a file, one slot per step: the window runs the steps from its event
// loop and shows a progress bar, so 200 pages never freeze it. The records are a snapshot
// taken when the export starts: a capture that files a slot meanwhile does not reach the
// file half-way. The output appears whole or not at all (QSaveFile).
#pragma once

#include <QSaveFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "display/canvas.h"
#include "record/record_store.h"
#include "report/report_source.h"

namespace trellicap {

class PdfDocumentSink;
class SlotView;
class VectorReportDocument;
struct FieldLabels;
struct SlotRecord;

enum class ExportFormat { VectorPdf, BitmapPdf, Csv };

struct ExportRequest {
    QString path;
    ExportFormat format = ExportFormat::VectorPdf;
    std::vector<int> slotNumbers;  // 1..200, in the order written
    std::vector<bool> marked;      // per column: the entry carries the slot mark (CSV's "marked")
    QString title;                 // the PDF's title
};

class ReportExport {
public:
    ReportExport(const RecordStore& records, ExportRequest request);
    ~ReportExport();
    ReportExport(const ReportExport&) = delete;
    ReportExport& operator=(const ReportExport&) = delete;

    // Opens the output; false when it cannot be written (error() says why).
    [[nodiscard]] bool start();
    // A PDF page of what a window shows as it stands (its plot and its boxes), before the
    // slots; false on failure.
    [[nodiscard]] bool addShown(const ReportSource& source, const Canvas& plot);
    // Writes the next slot; false on failure. Nothing happens once every slot is written.
    [[nodiscard]] bool step();
    [[nodiscard]] bool atEnd() const { return m_next >= m_request.slotNumbers.size(); }
    [[nodiscard]] int written() const { return static_cast<int>(m_next); }
    [[nodiscard]] int total() const { return static_cast<int>(m_request.slotNumbers.size()); }
    // Ends the document and puts the file in place; false on failure.
    [[nodiscard]] bool finish();
    // Leaves the earlier file of that name as it was.
    void cancel();
    [[nodiscard]] const QString& error() const { return m_error; }
    [[nodiscard]] const ExportRequest& request() const { return m_request; }

private:
    bool fail(const QString& reason);

    RecordStore m_records;
    ExportRequest m_request;
    std::size_t m_next = 0;
    QString m_error;
    QSaveFile m_file;
    std::unique_ptr<SlotView> m_shown;
    std::unique_ptr<FieldLabels> m_labels;
    std::vector<SlotRecord> m_rows;
    std::unique_ptr<QTemporaryDir> m_scratch;  // the printed page's scratch bitmaps
    std::unique_ptr<PdfDocumentSink> m_bitmapPdf;
    std::unique_ptr<VectorReportDocument> m_vectorPdf;
};

}  // namespace trellicap
