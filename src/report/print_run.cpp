#include "report/print_run.h"

#include "record/slot_entries.h"

namespace trellicap {

std::vector<int> entriesToPrint(PrintOption option, const PrintRunHost& host) {
    std::vector<int> entries;
    if (option == PrintOption::Current) {
        return entries;
    }
    const int count = host.entryCount();
    for (int i = 0; i < count; ++i) {
        const bool wanted = option == PrintOption::Selected
                                ? host.isSelected(i)
                                : host.entryText(i) == slotEntryText(i + 1, true);
        if (wanted) {
            entries.push_back(i);
        }
    }
    return entries;
}

void runPrint(PrintOption option, PrintRunHost& host) {
    const std::vector<int> entries = entriesToPrint(option, host);
    if (option != PrintOption::Current && entries.empty()) {
        return;
    }
    if (!host.prepareRun()) {
        host.reportFailure();
        return;
    }
    if (!host.prepareScratchFolder()) {
        return;
    }
    if (option == PrintOption::Current) {
        // The page shows exactly what the window shows: no redraw first.
        host.printReport();
        return;
    }
    for (const int entry : entries) {
        host.showSlot(entry);
        host.printReport();
    }
}

}  // namespace trellicap
