#include "report/ui/printer_setup.h"

#include <QPrintDialog>
#include <QPrinter>

#include "report/ui/printer_page_sink.h"

namespace trellicap {

PrinterSetup::PrinterSetup() = default;

PrinterSetup::~PrinterSetup() {
    // The dialog edits the printer: it must not outlive it.
    delete m_dialog;
}

QPrinter& PrinterSetup::printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_sink = std::make_unique<PrinterPageSink>(*m_printer);
    }
    return *m_printer;
}

PageSink& PrinterSetup::sink() {
    printer();
    return *m_sink;
}

bool PrinterSetup::prepareRun() {
    printer();
    m_sink->restartNumbering();
    return m_sink->ready();
}

PrinterChoice PrinterChoice::of(const QPrinter& printer) {
    return {printer.outputFormat(), printer.outputFileName(), printer.printerName(),
            printer.pageLayout(),   printer.colorMode(),      printer.duplex()};
}

void PrinterChoice::applyTo(QPrinter& printer) const {
    printer.setOutputFormat(format);
    if (format == QPrinter::NativeFormat) {
        printer.setPrinterName(printerName);
    } else {
        printer.setOutputFileName(fileName);
    }
    printer.setPageLayout(layout);
    printer.setColorMode(colorMode);
    printer.setDuplex(duplex);
}

QPrintDialog* PrinterSetup::showPrinter(QWidget* parent) {
    if (!m_dialog) {
        // Making the dialog already moves the printer to the system's default printer where
        // there are printers: Cancel puts back what the printer was before.
        const PrinterChoice before = PrinterChoice::of(printer());
        m_dialog = new QPrintDialog(&printer(), parent);
        m_dialog->setObjectName(QStringLiteral("dlgprinter"));
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        // One page per report: page ranges and copies are the printer's business.
        m_dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
        m_dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
        QObject::connect(m_dialog, &QDialog::rejected, m_dialog,
                         [this, before] { before.applyTo(*m_printer); });
    }
    m_dialog->open();
    m_dialog->raise();
    return m_dialog;
}

}  // namespace trellicap
