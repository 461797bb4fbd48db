// The page sink of the program: the application's QPrinter. Each report is one job of one
// page (QPainter begin/end, no newPage). Printing to a PDF file numbers the files after the
// first job of a run, so a run over many slots does not overwrite one file per page.
#pragma once

#include <QPainter>
#include <QString>

#include "report/page_sink.h"

class QPrinter;

namespace trellicap {

// Whether the printer can take a job: a named printer, or PDF output with a file name.
[[nodiscard]] bool printerUsable(const QPrinter& printer);

// Makes the painter's origin the top-left corner of the paper's printable area: the page
// margins become the printer's minimum margins (none on a PDF file, the unprintable edge on
// a real printer).
void usePrintableArea(QPrinter& printer);

// "report.pdf" for job 1, "report-2.pdf" for job 2, ...
[[nodiscard]] QString numberedFileName(const QString& fileName, int job);

class PrinterPageSink : public PageSink {
public:
    explicit PrinterPageSink(QPrinter& printer);
    ~PrinterPageSink() override;

    // The next job to a file writes the chosen file name itself again.
    void restartNumbering() { m_fileJobs = 0; }

    [[nodiscard]] double resolution() const override;
    [[nodiscard]] bool ready() const override;
    bool begin() override;
    bool place(QPoint twips, const QImage& image) override;
    bool end() override;

private:
    void restoreChoice();

    QPrinter& m_printer;
    QString m_chosenFile;  // the file name the user chose; numbered copies are set per job
    int m_fileJobs = 0;
    bool m_toFile = false;
    QPainter m_painter;
};

}  // namespace trellicap
