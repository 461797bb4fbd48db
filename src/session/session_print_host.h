// The print run's host on a session: the session's 200 slots are the run's entries ("Mem 7 *"
// for a marked slot), a recall shows each, and every report is composed from the record shown.
// What belongs to the program that prints (which entries the operator selected, the printer,
// the folder for the scratch bitmaps and how a failure is told) it is given.
#pragma once

#include <QString>
#include <functional>

#include "report/page_sink.h"
#include "report/print_run.h"

namespace trellicap {

class Session;

class SessionPrintHost : public PrintRunHost {
public:
    struct Printer {
        std::function<bool(int entry)> isSelected;
        std::function<bool()> prepareRun;  // a printer can take a job
        std::function<PageSink&()> sink;
        std::function<QString()> scratchFolder;
        // The scratch folder cannot take the bitmaps: say so (folder, reason); nothing prints.
        std::function<void(const QString& folder, const QString& reason)> scratchFolderFailed;
        std::function<void()> reportFailed;  // "The Report can't be printed."
    };

    SessionPrintHost(Session& session, Printer printer);

    [[nodiscard]] int entryCount() const override;
    [[nodiscard]] bool isSelected(int entry) const override;
    [[nodiscard]] QString entryText(int entry) const override;
    bool prepareRun() override;
    bool prepareScratchFolder() override;
    void showSlot(int entry) override;
    void printReport() override;
    void reportFailure() override;

private:
    Session& m_session;
    Printer m_printer;
};

}  // namespace trellicap
