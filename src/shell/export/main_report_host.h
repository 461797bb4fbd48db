// The main window's print run: the session's slots, recalled and composed by the session's
// print host; the window adds the operator's selection in the slot list, the printer chosen
// under PrintSetup, the working folder for the scratch bitmaps and its messages. It is also
// the report's source for the window's exports: the session's record shown.
#pragma once

#include <QDir>

#include "record/profile_text.h"
#include "report/report_composer.h"
#include "report/report_source.h"
#include "report/ui/printer_setup.h"
#include "session/session_print_host.h"
#include "shell/main/frmmain.h"
#include "shell/main/slot_list_panel.h"

namespace trellicap {

class MainReportHost final : public SessionPrintHost, public ReportSource {
public:
    explicit MainReportHost(frmmain& main)
        : SessionPrintHost(main.session(), printerOf(main)), m_main(main) {}

    [[nodiscard]] QImage plotImage(double dpi) const override {
        return m_main.session().view().plotImage(dpi);
    }
    [[nodiscard]] QString controlText(std::string_view control) const override {
        return m_main.session().view().controlText(control);
    }

private:
    static Printer printerOf(frmmain& main) {
        const QString program = qs(main.profile().programName);
        return {
            [&main](int entry) { return main.slotPanel().isSelected(entry); },
            [&main] { return main.printerSetup().prepareRun(); },
            [&main]() -> PageSink& { return main.printerSetup().sink(); },
            [&main] { return main.workingDir(); },
            [&main, program](const QString& folder, const QString& reason) {
                main.message({program, qs(kReportFailureText),
                              QStringLiteral("The working folder \"%1\" cannot take the "
                                             "report's scratch files: %2.\nNothing was printed.")
                                  .arg(QDir::toNativeSeparators(folder), reason)});
            },
            [&main, program] {
                // Without a printer the fixed text alone leaves the operator guessing.
                const bool noPrinter = !main.printerSetup().sink().ready();
                main.message({program, qs(kReportFailureText),
                              noPrinter ? QStringLiteral("Choose a printer under File > PrintSetup")
                                        : QString()});
            },
        };
    }

    frmmain& m_main;
};

}  // namespace trellicap
