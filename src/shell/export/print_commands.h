// The main window's printing: File > PrintSetup (the printer, created on first use and never
// at start-up) and File > Print (the print options, then the run over the session's slots).
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

namespace trellicap {

class MainReportHost;
class PrinterSetup;
class Session;
class WindowHost;
class frmprintop;

class PrintCommands {
public:
    // settingsFile: where the printer chosen is kept between runs; empty: nowhere.
    // `isSelected` tells whether a column's entry is selected in the slot list.
    PrintCommands(Session& session, WindowHost& host, QString settingsFile,
                  std::function<bool(int column)> isSelected);
    ~PrintCommands();

    PrinterSetup& printerSetup();
    void openPrinterSetup();
    void openPrintOptions();

private:
    Session& m_session;
    WindowHost& m_host;
    QString m_settingsFile;
    std::function<bool(int column)> m_isSelected;
    std::unique_ptr<PrinterSetup> m_printer;
    std::unique_ptr<MainReportHost> m_report;
    QPointer<frmprintop> m_options;
};

}  // namespace trellicap
