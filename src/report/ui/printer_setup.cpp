#include "report/ui/printer_setup.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <utility>

#include "report/ui/printer_memory.h"
#include "report/ui/printer_page_sink.h"

namespace trellicap {

PrinterSetup::PrinterSetup(QString settingsFile) : m_settingsFile(std::move(settingsFile)) {}

PrinterSetup::~PrinterSetup() {
    // The dialog edits the printer: it must not outlive it.
    delete m_dialog;
}

QPrinter& PrinterSetup::printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!m_settingsFile.isEmpty()) {
            recallPrinterChoice(*m_printer, m_settingsFile);
        }
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

void PrinterSetup::rememberChoice() {
    if (!m_settingsFile.isEmpty() && m_printer) {
        rememberPrinterChoice(*m_printer, m_settingsFile);
    }
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
        QObject::connect(m_dialog, &QDialog::accepted, m_dialog, [this] { rememberChoice(); });
        // The dialog's own button says "Print", but here it prints nothing: it chooses.
        if (auto* buttons = m_dialog->findChild<QDialogButtonBox*>()) {
            if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
                ok->setText(QObject::tr("Use This Printer"));
            }
        }
    }
    m_dialog->open();
    m_dialog->raise();
    return m_dialog;
}

}  // namespace trellicap
