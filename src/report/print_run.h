// The print run: one report for the record shown, for each selected slot, or for each slot
// that holds a record. The main window is the host: it owns the slot list, recalls and
// shows a slot, and composes the page of what it shows.
#pragma once

#include <QString>
#include <vector>

namespace trellicap {

enum class PrintOption { Current, Selected, All };

class PrintRunHost {
public:
    virtual ~PrintRunHost() = default;
    // The slot list: entry i stands for slot i + 1 and memory-table column i.
    [[nodiscard]] virtual int entryCount() const = 0;
    [[nodiscard]] virtual bool isSelected(int entry) const = 0;
    [[nodiscard]] virtual QString entryText(int entry) const = 0;
    // Called once before the first report: false when no printer can take a job.
    virtual bool prepareRun() = 0;
    // Called once after prepareRun: false when the scratch bitmaps cannot be written; the
    // host has then said why (the folder and the system's reason).
    virtual bool prepareScratchFolder() = 0;
    // Recall column `entry` into the capture buffer, redraw plot and panel, shownslot = entry.
    virtual void showSlot(int entry) = 0;
    // Compose and print the report of the record shown.
    virtual void printReport() = 0;
    // "The Report can't be printed."
    virtual void reportFailure() = 0;
};

// The entries a run over selected or marked slots prints, ascending; empty for Current.
// "All" takes an entry only when its text is exactly "Mem <i + 1> *".
[[nodiscard]] std::vector<int> entriesToPrint(PrintOption option, const PrintRunHost& host);

// Runs the print. A run with nothing to print does nothing. Otherwise the printer and then
// the scratch folder are checked once: without either the failure is reported once and
// nothing is recalled or printed, rather than a message for every step of every page.
void runPrint(PrintOption option, PrintRunHost& host);

}  // namespace trellicap
