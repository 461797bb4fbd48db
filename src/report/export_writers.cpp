#include "report/export_writers.h"

#include <QTemporaryDir>
#include <optional>
#include <vector>

#include "record/profile_text.h"
#include "report/csv_format.h"
#include "report/job_report_content.h"
#include "report/job_report_drawing.h"
#include "report/job_report_layout.h"
#include "report/json_format.h"
#include "report/pdf_document_sink.h"
#include "report/plot_picture.h"
#include "report/report_composer.h"
#include "report/slot_record.h"
#include "report/slot_view.h"
#include "report/vector_report_document.h"

namespace trellicap {

namespace {

QString pageName(int slot) {
    return slot > 0 ? QStringLiteral("slot %1").arg(slot) : QStringLiteral("the record shown");
}

QString written(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes) == bytes.size() ? QString() : device.errorString();
}

// Report pages as lines and real text, PDF/A-1b.
class VectorPdfWriter final : public ExportWriter {
public:
    VectorPdfWriter(const ModelProfile& profile, QIODevice& device, QString title)
        : m_profile(profile), m_device(device), m_title(std::move(title)) {}

    QString begin() override {
        m_document = std::make_unique<VectorReportDocument>(m_device, m_title);
        return {};
    }
    QString add(const SlotView& shown, int slot) override {
        return m_document->addPage(m_profile, shown, shown.plot())
                   ? QString()
                   : QStringLiteral("the page of %1 could not be started").arg(pageName(slot));
    }
    QString end() override {
        return m_document->finish() ? QString()
                                    : QStringLiteral("the document could not be written: %1")
                                          .arg(m_device.errorString());
    }
    bool takesShown() const override { return true; }

private:
    const ModelProfile& m_profile;
    QIODevice& m_device;
    QString m_title;
    std::unique_ptr<VectorReportDocument> m_document;
};

// A job's own pages, then each of its records' report pages (marked while the job is a
// draft), all as lines and real text in one PDF/A-1b.
class JobReportWriter final : public ExportWriter {
public:
    JobReportWriter(const ModelProfile& profile, QIODevice& device, const ExportRequest& request)
        : m_profile(profile), m_device(device), m_request(request) {}

    QString begin() override {
        if (!m_request.jobReport) {
            return QStringLiteral("the job report has no job");
        }
        m_document = std::make_unique<VectorReportDocument>(m_device, m_request.title);
        for (const JobPage& page : layoutJobReport(*m_request.jobReport)) {
            const bool started = m_document->addDrawnPage([&page](QPainter& painter) {
                drawJobPage(painter, page, VectorReportDocument::kResolutionDpi);
            });
            if (!started) {
                return QStringLiteral("the job's pages could not be started");
            }
        }
        return {};
    }
    QString add(const SlotView& shown, int slot) override {
        if (!m_document->addPage(m_profile, shown, shown.plot())) {
            return QStringLiteral("the page of %1 could not be started").arg(pageName(slot));
        }
        if (m_request.jobReport->draft()) {
            const QString line = m_request.jobReport->jobLine;
            m_document->drawOnLastPage([&line](QPainter& painter) {
                drawDraftMark(painter, line, VectorReportDocument::kResolutionDpi);
            });
        }
        return {};
    }
    QString end() override {
        return m_document->finish() ? QString()
                                    : QStringLiteral("the document could not be written: %1")
                                          .arg(m_device.errorString());
    }

private:
    const ModelProfile& m_profile;
    QIODevice& m_device;
    const ExportRequest& m_request;
    std::unique_ptr<VectorReportDocument> m_document;
};

// The printed page: the composer's four bitmaps, placed at the page's resolution.
class BitmapPdfWriter final : public ExportWriter {
public:
    BitmapPdfWriter(const ModelProfile& profile, QIODevice& device, int dpi)
        : m_profile(profile), m_device(device), m_sink(device, dpi) {}

    QString begin() override {
        // The composer's scratch bitmaps go to a folder of this export's own.
        m_scratch.emplace();
        return m_scratch->isValid() ? QString()
                                    : QStringLiteral(
                                          "no temporary folder for the report's "
                                          "bitmaps: %1")
                                          .arg(m_scratch->errorString());
    }
    QString add(const SlotView& shown, int slot) override {
        bool failed = false;
        print_report(m_profile, shown, m_sink, m_scratch->path(), [&failed] { failed = true; });
        return failed ? QStringLiteral("the report of %1 could not be made: %2")
                            .arg(pageName(slot), qs(kReportFailureText))
                      : QString();
    }
    QString end() override {
        return m_sink.finish()
                   ? QString()
                   : QStringLiteral("the PDF could not be written: %1").arg(m_device.errorString());
    }
    bool takesShown() const override { return true; }

private:
    const ModelProfile& m_profile;
    QIODevice& m_device;
    PdfDocumentSink m_sink;
    std::optional<QTemporaryDir> m_scratch;
};

// A row per slot, written whole at the end.
class TableWriter final : public ExportWriter {
public:
    TableWriter(const ModelProfile& profile, QIODevice& device, const ExportRequest& request)
        : m_profile(profile),
          m_device(device),
          m_request(request),
          m_labels(fieldLabels(profile)) {}

    QString add(const SlotView& shown, int slot) override {
        const bool marked = slot > 0 && m_request.marked[static_cast<std::size_t>(slot - 1)];
        SlotRecord row = slotRecord(m_labels, shown, slot, marked);
        if (m_request.evaluation) {
            row.evaluation = inspection::evaluate(recordReading(row), *m_request.evaluation);
        }
        m_rows.push_back(std::move(row));
        return {};
    }
    QString end() override {
        return written(m_device, m_request.format == ExportFormat::Json
                                     ? jsonDocument(m_profile, m_labels, m_rows)
                                     : csvDocument(m_labels, m_rows, m_request.samples));
    }

private:
    const ModelProfile& m_profile;
    QIODevice& m_device;
    const ExportRequest& m_request;
    FieldLabels m_labels;
    std::vector<SlotRecord> m_rows;
};

// The plot of the last slot shown (a picture holds one).
class PictureWriter final : public ExportWriter {
public:
    PictureWriter(QIODevice& device, const ExportRequest& request)
        : m_device(device), m_request(request) {}

    QString add(const SlotView& shown, int slot) override {
        if (m_request.format == ExportFormat::Svg) {
            m_bytes = plotSvg(shown.plot(), m_request.scale);
            return {};
        }
        const auto png = plotPng(shown.plot(), m_request.scale);
        if (!png) {
            return QStringLiteral("the picture of slot %1 could not be drawn").arg(slot);
        }
        m_bytes = *png;
        return {};
    }
    QString end() override { return written(m_device, m_bytes); }

private:
    QIODevice& m_device;
    const ExportRequest& m_request;
    QByteArray m_bytes;
};

}  // namespace

std::unique_ptr<ExportWriter> makeExportWriter(const ModelProfile& profile,
                                               const ExportRequest& request, QIODevice& device) {
    switch (request.format) {
        case ExportFormat::VectorPdf:
            return std::make_unique<VectorPdfWriter>(profile, device, request.title);
        case ExportFormat::BitmapPdf:
            return std::make_unique<BitmapPdfWriter>(profile, device, request.dpi);
        case ExportFormat::Csv:
        case ExportFormat::Json:
            return std::make_unique<TableWriter>(profile, device, request);
        case ExportFormat::Png:
        case ExportFormat::Svg:
            return std::make_unique<PictureWriter>(device, request);
        case ExportFormat::JobReport:
            return std::make_unique<JobReportWriter>(profile, device, request);
    }
    return nullptr;
}

}  // namespace trellicap
