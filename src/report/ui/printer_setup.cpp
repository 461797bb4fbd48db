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

QPrintDialog* PrinterSetup::showPrinter(QWidget* parent) {
    if (!m_dialog) {
        m_dialog = new QPrintDialog(&printer(), parent);
        m_dialog->setObjectName(QStringLiteral("dlgprinter"));
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        // One page per report: page ranges and copies are the printer's business.
        m_dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
        m_dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
    }
    m_dialog->open();
    m_dialog->raise();
    return m_dialog;
}

}  // namespace trellicap
