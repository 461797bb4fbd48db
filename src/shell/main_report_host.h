// The main window as the print run's host (slot list, recall, one report per shown record)
// and, through its session's record shown, the report's source.
#pragma once

#include <QDir>

#include "record/profile_text.h"
#include "report/print_run.h"
#include "report/report_composer.h"
#include "report/report_source.h"
#include "report/scratch_folder.h"
#include "report/ui/printer_setup.h"
#include "shell/frmmain.h"
#include "shell/slot_list_panel.h"

namespace trellicap {

class MainReportHost final : public ReportSource, public PrintRunHost {
public:
    explicit MainReportHost(frmmain& main) : m_main(main) {}

    // The record shown as the session holds it: the same data trellicap-cli prints.
    [[nodiscard]] QImage plotImage(double dpi) const override {
        return m_main.session().view().plotImage(dpi);
    }
    [[nodiscard]] QString controlText(std::string_view control) const override {
        return m_main.session().view().controlText(control);
    }

    [[nodiscard]] int entryCount() const override { return m_main.slotPanel().entryCount(); }
    [[nodiscard]] bool isSelected(int entry) const override {
        return m_main.slotPanel().isSelected(entry);
    }
    [[nodiscard]] QString entryText(int entry) const override {
        return m_main.slotPanel().entryText(entry);
    }
    bool prepareRun() override { return m_main.printerSetup().prepareRun(); }
    bool prepareScratchFolder() override {
        const auto problem = scratchFolderProblem(m_main.workingDir());
        if (problem) {
            m_main.message({qs(m_main.profile().programName), qs(kReportFailureText),
                            QStringLiteral("The working folder \"%1\" cannot take the "
                                           "report's scratch files: %2.\nNothing was printed.")
                                .arg(QDir::toNativeSeparators(m_main.workingDir()), *problem)});
        }
        return !problem;
    }
    void showSlot(int entry) override { m_main.showSlot(entry); }
    void printReport() override {
        print_report(m_main.profile(), *this, m_main.printerSetup().sink(), m_main.workingDir(),
                     [this] { reportFailure(); });
    }
    void reportFailure() override {
        // Without a printer the fixed text alone leaves the operator guessing.
        const bool noPrinter = !m_main.printerSetup().sink().ready();
        m_main.message(
            {qs(m_main.profile().programName), qs(kReportFailureText),
             noPrinter ? QStringLiteral("Choose a printer under File > PrintSetup") : QString()});
    }

private:
    frmmain& m_main;
};

}  // namespace trellicap
