// The main window's print run: the session's slots, recalled and composed by the session's
// print host; the window adds the operator's selection in the slot list, the printer chosen
// under PrintSetup, the working folder for the scratch bitmaps and its messages.
#pragma once

#include <QDir>
#include <functional>

#include "record/profile_text.h"
#include "report/report_composer.h"
#include "report/ui/printer_setup.h"
#include "session/session.h"
#include "session/session_print_host.h"
#include "shell/common/window_host.h"

namespace trellicap {

class MainReportHost final : public SessionPrintHost {
public:
    // `printer` gives the application's printer, made on first use (never before a run:
    // asking the print system can take seconds); `isSelected` tells whether the operator
    // selected a column's entry in the slot list.
    using PrinterOf = std::function<PrinterSetup&()>;
    MainReportHost(Session& session, WindowHost& host, PrinterOf printer,
                   std::function<bool(int column)> isSelected)
        : SessionPrintHost(session,
                           printerOf(session, host, std::move(printer), std::move(isSelected))) {}

private:
    static Printer printerOf(Session& session, WindowHost& host, const PrinterOf& printer,
                             std::function<bool(int column)> isSelected) {
        const QString program = qs(session.profile().programName);
        return {
            std::move(isSelected),
            [printer] { return printer().prepareRun(); },
            [printer]() -> PageSink& { return printer().sink(); },
            [&host] { return host.workingDir(); },
            [&host, program](const QString& folder, const QString& reason) {
                host.message({program, qs(kReportFailureText),
                              QStringLiteral("The working folder \"%1\" cannot take the "
                                             "report's scratch files: %2.\nNothing was printed.")
                                  .arg(QDir::toNativeSeparators(folder), reason)});
            },
            [&host, printer, program] {
                // Without a printer the fixed text alone leaves the operator guessing.
                const bool noPrinter = !printer().sink().ready();
                host.message({program, qs(kReportFailureText),
                              noPrinter ? QStringLiteral("Choose a printer under File > PrintSetup")
                                        : QString()});
            },
        };
    }
};

}  // namespace trellicap
