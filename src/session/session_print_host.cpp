#include "session/session_print_host.h"

#include "record/slot_entries.h"
#include "report/report_composer.h"
#include "report/scratch_folder.h"
#include "session/session.h"

namespace trellicap {

SessionPrintHost::SessionPrintHost(Session& session, Printer printer)
    : m_session(session), m_printer(std::move(printer)) {}

int SessionPrintHost::entryCount() const {
    return kSlotCount;
}

bool SessionPrintHost::isSelected(int entry) const {
    return m_printer.isSelected && m_printer.isSelected(entry);
}

QString SessionPrintHost::entryText(int entry) const {
    return slotEntryText(entry + 1, m_session.isMarked(entry));
}

bool SessionPrintHost::prepareRun() {
    return m_printer.prepareRun && m_printer.prepareRun();
}

bool SessionPrintHost::prepareScratchFolder() {
    const QString folder = m_printer.scratchFolder();
    const auto problem = scratchFolderProblem(folder);
    if (problem && m_printer.scratchFolderFailed) {
        m_printer.scratchFolderFailed(folder, *problem);
    }
    return !problem;
}

void SessionPrintHost::showSlot(int entry) {
    (void)m_session.recall(entry);  // the run starts only while the records can change
}

void SessionPrintHost::printReport() {
    print_report(m_session.profile(), m_session.view(), m_printer.sink(), m_printer.scratchFolder(),
                 [this] { reportFailure(); });
}

void SessionPrintHost::reportFailure() {
    if (m_printer.reportFailed) {
        m_printer.reportFailed();
    }
}

}  // namespace trellicap
