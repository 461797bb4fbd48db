// One export of records, one slot per step, into one document: report pages as lines and text
// (PDF/A) or as the printed page's bitmaps (PDF), a CSV or JSON table, or a PNG or SVG picture
// of the plot. The window and the archive window step it from their event loops with a
// progress bar and a stop, so 200 pages never freeze them; trellicap-cli runs it to the end.
// The records are a copy taken when the job is made: a capture that files a slot meanwhile
// does not reach the document half-way.
#pragma once

#include <QIODevice>
#include <QSaveFile>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "inspection/evaluation.h"
#include "inspection/job.h"
#include "record/record_store.h"

namespace trellicap {

class ExportWriter;
class SlotView;
struct JobReportContent;

// JobReport: a job's own pages (cover, indications, summary, signatures), then the report
// page of each of its records, as lines and real text (PDF/A).
enum class ExportFormat { VectorPdf, BitmapPdf, Csv, Json, Png, Svg, JobReport };

struct ExportRequest {
    ExportFormat format = ExportFormat::VectorPdf;
    std::vector<int> slotNumbers;           // 1..200, in the order written
    std::array<bool, kSlotCount> marked{};  // per column: the slot holds a record (tables)
    QString title;                          // a PDF's title
    int dpi = 300;                          // the bitmap pages' resolution
    bool samples = false;                   // a CSV with the A-scan samples
    double scale = 1;                       // a picture's size against the window's plot
    // Records given whole rather than by slot (a job's records, of the table's model): each is
    // shown from a column of the job's own copy of the table, after the slots.
    std::vector<std::vector<RecordValue>> records;
    // A table made for a job: each row evaluated against the job rather than on its own.
    std::optional<inspection::EvaluationSettings> evaluation;
    // What a JobReport prints before the records' pages.
    std::shared_ptr<const JobReportContent> jobReport;
};

// The job report of `job`: its own pages from `content`, then its records in its order.
[[nodiscard]] ExportRequest jobReportRequest(const inspection::Job& job,
                                             std::shared_ptr<const JobReportContent> content);

class ExportJob {
public:
    // Writes into `device`, open for writing; its owner keeps or drops what was written.
    ExportJob(const RecordStore& records, ExportRequest request, QIODevice& device);
    // Writes into the file `path`, which appears whole at finish() or not at all, leaving an
    // earlier file of that name as it was.
    ExportJob(const RecordStore& records, ExportRequest request, const QString& path);
    ~ExportJob();
    ExportJob(const ExportJob&) = delete;
    ExportJob& operator=(const ExportJob&) = delete;

    // Opens the document; false when it cannot be written (error() says why).
    [[nodiscard]] bool start();
    // A page of a record shown elsewhere as it stands (the window's own, with what its boxes
    // show), before the slots; false on failure or for a format without pages.
    [[nodiscard]] bool addShown(const SlotView& shown);
    // Writes the next slot; false on failure. Nothing happens once every slot is written.
    [[nodiscard]] bool step();
    [[nodiscard]] bool atEnd() const { return m_next >= steps(); }
    [[nodiscard]] int written() const { return static_cast<int>(m_next); }
    [[nodiscard]] int total() const { return static_cast<int>(steps()); }
    // Ends the document (and puts the file in place); false on failure.
    [[nodiscard]] bool finish();
    // start(), every step and finish(), for a caller without an event loop; false on failure.
    [[nodiscard]] bool run();
    // Drops the document: a file of the job's own is not written.
    void cancel();

    [[nodiscard]] const QString& error() const { return m_error; }
    [[nodiscard]] const ExportRequest& request() const { return m_request; }
    // The file written; empty for a device of the caller's.
    [[nodiscard]] const QString& path() const { return m_path; }

private:
    bool fail(const QString& reason);
    bool stepRecord(const std::vector<RecordValue>& values);
    [[nodiscard]] std::size_t steps() const {
        return m_request.slotNumbers.size() + m_request.records.size();
    }

    RecordStore m_records;
    ExportRequest m_request;
    QString m_path;
    std::unique_ptr<QSaveFile> m_file;  // a file of the job's own
    QIODevice* m_device;
    std::unique_ptr<SlotView> m_shown;
    std::unique_ptr<ExportWriter> m_writer;
    std::size_t m_next = 0;
    bool m_started = false;
    QString m_error;
};

}  // namespace trellicap
