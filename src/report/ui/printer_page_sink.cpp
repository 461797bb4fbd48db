#include "report/ui/printer_page_sink.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>

#include "report/page_placement.h"

namespace trellicap {

bool printerUsable(const QPrinter& printer) {
    if (!printer.isValid()) {
        return false;
    }
    // Without any printer Qt falls back to PDF output with no file: nothing can come out.
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return !printer.outputFileName().isEmpty();
    }
    return !printer.printerName().isEmpty();
}

QString numberedFileName(const QString& fileName, int job) {
    if (job <= 1) {
        return fileName;
    }
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stem = fileName.left(fileName.size() - suffix.size());
    return QStringLiteral("%1-%2%3").arg(stem).arg(job).arg(suffix);
}

void usePrintableArea(QPrinter& printer) {
    // QPrinter starts with page margins of its own (10 pt) inside the paper's printable
    // area; the report's positions count from the printable area itself.
    QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

PrinterPageSink::PrinterPageSink(QPrinter& printer) : m_printer(printer) {}

PrinterPageSink::~PrinterPageSink() {
    if (m_painter.isActive()) {
        m_painter.end();
        restoreChoice();
    }
}

double PrinterPageSink::resolution() const {
    return m_printer.resolution();
}

bool PrinterPageSink::ready() const {
    return printerUsable(m_printer);
}

bool PrinterPageSink::begin() {
    if (m_painter.isActive() || !ready()) {
        return false;
    }
    m_toFile = m_printer.outputFormat() == QPrinter::PdfFormat;
    if (m_toFile) {
        // A new choice in the printer setup starts the numbering again.
        const QString current = m_printer.outputFileName();
        if (m_fileJobs == 0 || current != m_chosenFile) {
            m_chosenFile = current;
            m_fileJobs = 0;
        }
        ++m_fileJobs;
        m_printer.setOutputFileName(numberedFileName(m_chosenFile, m_fileJobs));
    }
    usePrintableArea(m_printer);
    const bool ok = m_painter.begin(&m_printer);
    if (!ok) {
        restoreChoice();
    }
    return ok;
}

void PrinterPageSink::restoreChoice() {
    // The printer setup and the next run see the file name the user chose (QPrinter
    // refuses the change while a job is active, hence after the job).
    if (m_toFile) {
        m_printer.setOutputFileName(m_chosenFile);
    }
}

bool PrinterPageSink::place(QPoint twips, const QImage& image) {
    if (!m_painter.isActive() || image.isNull()) {
        return false;
    }
    placeImage(m_painter, twips, image);
    return true;
}

bool PrinterPageSink::end() {
    if (!m_painter.isActive()) {
        return false;
    }
    const bool ok = m_painter.end();
    restoreChoice();
    return ok;
}

}  // namespace trellicap
