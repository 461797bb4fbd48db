// The main window's printing: File > PrintSetup (the printer, created on first use and never
// at start-up) and File > Print (the print options, then the run over the session's slots).
#pragma once

#include <QPointer>
#include <QString>
#include <memory>

namespace trellicap {

class MainReportHost;
class PrinterSetup;
class frmmain;
class frmprintop;

class PrintCommands {
public:
    // settingsFile: where the printer chosen is kept between runs; empty: nowhere.
    PrintCommands(frmmain& window, QString settingsFile);
    ~PrintCommands();

    PrinterSetup& printerSetup();
    void openPrinterSetup();
    void openPrintOptions();

private:
    frmmain& m_window;
    QString m_settingsFile;
    std::unique_ptr<PrinterSetup> m_printer;
    std::unique_ptr<MainReportHost> m_host;
    QPointer<frmprintop> m_options;
};

}  // namespace trellicap
