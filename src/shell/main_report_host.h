// The main window as the report's source (plot image, control texts) and the print run's
// host (slot list, recall, one report per shown record).
#pragma once

#include <QListWidget>

#include "report/print_run.h"
#include "report/report_composer.h"
#include "report/report_source.h"
#include "report/ui/printer_setup.h"
#include "shell/frmmain.h"

namespace trellicap {

class MainReportHost final : public ReportSource, public PrintRunHost {
public:
    explicit MainReportHost(frmmain& main) : m_main(main) {}

    [[nodiscard]] QImage plotImage() const override { return m_main.plot().image(); }
    [[nodiscard]] QString controlText(std::string_view control) const override {
        return m_main.controlText(control);
    }

    [[nodiscard]] int entryCount() const override { return m_main.slotList()->count(); }
    [[nodiscard]] bool isSelected(int entry) const override {
        return m_main.slotList()->item(entry)->isSelected();
    }
    [[nodiscard]] QString entryText(int entry) const override {
        return m_main.slotList()->item(entry)->text();
    }
    bool prepareRun() override { return m_main.printerSetup().prepareRun(); }
    void showSlot(int entry) override { m_main.showSlot(entry); }
    void printReport() override {
        print_report(m_main.profile(), *this, m_main.printerSetup().sink(), m_main.workingDir(),
                     [this] { reportFailure(); });
    }
    void reportFailure() override {
        const auto& title = m_main.profile().programName;
        m_main.message({QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                        QString::fromUtf8(kReportFailureText.data(),
                                          static_cast<qsizetype>(kReportFailureText.size())),
                        {}});
    }

private:
    frmmain& m_main;
};

}  // namespace trellicap
