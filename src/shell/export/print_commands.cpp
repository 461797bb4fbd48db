#include "shell/export/print_commands.h"

#include "report/ui/frmprintop.h"
#include "report/ui/printer_setup.h"
#include "session/session.h"
#include "shell/common/window_host.h"
#include "shell/common/window_placement.h"
#include "shell/export/main_report_host.h"

namespace trellicap {

PrintCommands::PrintCommands(Session& session, WindowHost& host, QString settingsFile,
                             std::function<bool(int column)> isSelected)
    : m_session(session),
      m_host(host),
      m_settingsFile(std::move(settingsFile)),
      m_isSelected(std::move(isSelected)) {}

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
    printerSetup().showPrinter(&m_host.window());
}

void PrintCommands::openPrintOptions() {
    if (const Refusal refusal = m_session.changeRefused(); refusal.refused()) {
        m_host.showStatus(refusal.reason(), 6000);
        return;
    }
    if (!m_report) {
        m_report = std::make_unique<MainReportHost>(
            m_session, m_host, [this]() -> PrinterSetup& { return printerSetup(); }, m_isSelected);
    }
    if (!m_options) {
        m_options = new frmprintop(&m_host.window());
        QObject::connect(m_options, &frmprintop::printRequested, &m_host.window(),
                         [this](PrintOption option) {
                             // Each slot is recalled as it prints: not while a frame comes in.
                             if (const Refusal refusal = m_session.changeRefused();
                                 refusal.refused()) {
                                 m_host.showStatus(refusal.reason(), 6000);
                                 return;
                             }
                             runPrint(option, *m_report);
                         });
    }
    showSecondaryWindow(*m_options, &m_host.window());
}

}  // namespace trellicap
