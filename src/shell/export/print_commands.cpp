#include "shell/export/print_commands.h"

#include "report/ui/frmprintop.h"
#include "report/ui/printer_setup.h"
#include "shell/common/window_placement.h"
#include "shell/export/main_report_host.h"
#include "shell/main/frmmain.h"

namespace trellicap {

PrintCommands::PrintCommands(frmmain& window, QString settingsFile)
    : m_window(window), m_settingsFile(std::move(settingsFile)) {}

PrintCommands::~PrintCommands() {
    delete m_options.data();  // its print requests come here
}

PrinterSetup& PrintCommands::printerSetup() {
    if (!m_printer) {
        m_printer = std::make_unique<PrinterSetup>(m_settingsFile);
    }
    return *m_printer;
}

void PrintCommands::openPrinterSetup() {
    printerSetup().showPrinter(&m_window);
}

void PrintCommands::openPrintOptions() {
    if (m_window.session().isBusy()) {
        return;
    }
    if (!m_host) {
        m_host = std::make_unique<MainReportHost>(m_window);
    }
    if (!m_options) {
        m_options = new frmprintop(&m_window);
        QObject::connect(m_options, &frmprintop::printRequested, &m_window,
                         [this](PrintOption option) {
                             if (!m_window.session().isBusy()) {
                                 runPrint(option, *m_host);
                             }
                         });
    }
    showSecondaryWindow(*m_options, &m_window);
}

}  // namespace trellicap
