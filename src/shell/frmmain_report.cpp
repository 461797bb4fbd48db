// The main window's printing: it is the report's source (plot image, control texts) and the
// print run's host (slot list, recall, one report per shown record).

#include "link/instrument_link.h"
#include "report/ui/frmprintop.h"
#include "report/ui/printer_setup.h"
#include "shell/frmmain.h"
#include "shell/main_report_host.h"
#include "shell/window_placement.h"

namespace trellicap {

PrinterSetup& frmmain::printerSetup() {
    if (!m_printer) {
        // First use: never at start-up.
        m_printer = std::make_unique<PrinterSetup>(m_options.settingsFile);
    }
    return *m_printer;
}

void frmmain::openPrinterSetup() {
    printerSetup().showPrinter(this);
}

void frmmain::openPrintOptions() {
    if (m_session->isBusy()) {
        return;
    }
    if (!m_reportHost) {
        m_reportHost = std::make_unique<MainReportHost>(*this);
    }
    if (!m_frmprintop) {
        m_frmprintop = new frmprintop(this);
        connect(m_frmprintop, &frmprintop::printRequested, this, [this](PrintOption option) {
            if (!m_session->isBusy()) {
                runPrint(option, *m_reportHost);
            }
        });
    }
    showSecondaryWindow(*m_frmprintop, this);
}

}  // namespace trellicap
