// The application's printer and its setup dialog (dlgprinter). One per program, owned by the
// main window. The QPrinter is created on first use, never at start-up: constructing one
// asks CUPS, which can stall for seconds on a machine without it.
#pragma once

#include <QPageLayout>
#include <QPointer>
#include <QPrinter>
#include <memory>

#include "report/page_sink.h"

class QPrintDialog;
class QWidget;

namespace trellicap {

class PrinterPageSink;

// What the printer setup may change: restored when the operator cancels it.
struct PrinterChoice {
    QPrinter::OutputFormat format;
    QString fileName;
    QString printerName;
    QPageLayout layout;
    QPrinter::ColorMode colorMode;
    QPrinter::DuplexMode duplex;

    static PrinterChoice of(const QPrinter& printer);
    void applyTo(QPrinter& printer) const;
};

class PrinterSetup {
public:
    // settingsFile: where the choice made in the dialog is kept between runs (the program's
    // own INI file); empty keeps nothing.
    explicit PrinterSetup(QString settingsFile = {});
    ~PrinterSetup();
    PrinterSetup(const PrinterSetup&) = delete;
    PrinterSetup& operator=(const PrinterSetup&) = delete;

    [[nodiscard]] bool hasPrinter() const { return m_printer != nullptr; }
    QPrinter& printer();  // created on first call
    // The sink every report goes to: the printer as the setup last left it.
    [[nodiscard]] PageSink& sink();

    // Checked once at the start of a print run: a usable printer is designated. Printing to
    // a file starts again at the chosen file name.
    bool prepareRun();

    // Opens the platform's printer dialog on the printer, window-modal and without a nested
    // event loop. OK applies the choice (a printer, or a PDF file) to later reports; Cancel
    // changes nothing. A second call while it is open raises the same dialog.
    QPrintDialog* showPrinter(QWidget* parent);

    // Keeps the printer's present choice for the next run (done when the dialog is accepted).
    void rememberChoice();

private:
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PrinterPageSink> m_sink;
    QPointer<QPrintDialog> m_dialog;
    QString m_settingsFile;
};

}  // namespace trellicap
