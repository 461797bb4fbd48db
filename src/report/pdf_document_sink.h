// A page sink that puts every job on a page of its own in one PDF document (A4, no margins,
// so the printable area starts at the page corner), written to a device the caller owns: a
// QSaveFile, so that a run that fails part-way leaves no half document under the final name.
#pragma once

#include <QIODevice>
#include <QPainter>
#include <QPdfWriter>
#include <memory>

#include "report/page_sink.h"

namespace trellicap {

class PdfDocumentSink : public PageSink {
public:
    // The device must be open for writing; the document starts with the first job.
    PdfDocumentSink(QIODevice& device, int resolutionDpi);
    ~PdfDocumentSink() override;

    [[nodiscard]] double resolution() const override { return m_resolution; }
    [[nodiscard]] bool ready() const override;
    // The first job starts the document, every further one a new page.
    bool begin() override;
    bool place(QPoint twips, const QImage& image) override;
    // Ends the job's page; the document stays open for the next job.
    bool end() override;

    // Ends the document and writes its last bytes to the device; false when writing failed or
    // a page is still open. A document without a page writes nothing.
    [[nodiscard]] bool finish();
    // Pages whose job ended well.
    [[nodiscard]] int pages() const { return m_pages; }

private:
    QIODevice& m_device;
    int m_resolution;
    bool m_pageOpen = false;
    int m_pages = 0;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;  // declared after the writer: ends before the writer goes
};

}  // namespace trellicap
