// The print run over a stand-in main window: which slots are recalled and printed, in which
// order, and what happens without a printer.
#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <set>
#include <vector>

#include "record/record_store.h"
#include "record/slot_entries.h"
#include "report/print_run.h"
#include "report/scratch_folder.h"

namespace trellicap {
namespace {

class FakeHost : public PrintRunHost {
public:
    FakeHost() {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            texts.append(slotEntryText(slot, false));
        }
    }
    [[nodiscard]] int entryCount() const override { return static_cast<int>(texts.size()); }
    [[nodiscard]] bool isSelected(int entry) const override { return selected.contains(entry); }
    [[nodiscard]] QString entryText(int entry) const override { return texts[entry]; }
    bool prepareRun() override {
        log.push_back("prepare");
        return printerUsable;
    }
    void showSlot(int entry) override {
        log.push_back("show " + std::to_string(entry));
        shownslot = entry;
    }
    bool prepareScratchFolder() override {
        if (!folderUsable) {
            log.push_back("folder reported");
        }
        return folderUsable;
    }
    void printReport() override { log.push_back("print " + std::to_string(shownslot)); }
    void reportFailure() override { log.push_back("failure"); }

    QStringList texts;
    std::set<int> selected;
    bool printerUsable = true;
    bool folderUsable = true;
    int shownslot = 0;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST(PrintRun, currentPrintsWhatIsShownWithoutRecalling) {
    FakeHost host;
    host.shownslot = 17;
    runPrint(PrintOption::Current, host);
    EXPECT_EQ(host.log, (Log{"prepare", "print 17"}));
}

TEST(PrintRun, anUnwritableScratchFolderIsReportedOnceAndNothingIsRecalledOrPrinted) {
    FakeHost host;
    host.folderUsable = false;
    host.texts[0] = QStringLiteral("Mem 1 *");
    host.texts[3] = QStringLiteral("Mem 4 *");
    runPrint(PrintOption::All, host);
    EXPECT_EQ(host.log, (Log{"prepare", "folder reported"}));
    EXPECT_EQ(host.shownslot, 0);
}

TEST(PrintRun, theScratchFolderCheckGivesTheSystemsReasonAndLeavesNothingBehind) {
    QTemporaryDir dir;
    EXPECT_EQ(scratchFolderProblem(dir.path()), std::nullopt);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    const auto missing = scratchFolderProblem(dir.filePath(QStringLiteral("gone")));
    ASSERT_TRUE(missing.has_value());
    EXPECT_FALSE(missing->isEmpty());
}

TEST(PrintRun, selectedSlotsPrintInAscendingOrder) {
    FakeHost host;
    host.selected = {5, 2};  // slots 6 and 3, clicked in that order
    runPrint(PrintOption::Selected, host);
    EXPECT_EQ(host.log, (Log{"prepare", "show 2", "print 2", "show 5", "print 5"}));
    EXPECT_EQ(host.shownslot, 5);
}

TEST(PrintRun, allPrintsOnlyExactlyMarkedEntriesAndEndsOnTheLast) {
    FakeHost host;
    host.texts[0] = QStringLiteral("Mem 1 *");
    host.texts[3] = QStringLiteral("Mem 4 *");
    host.texts[8] = QStringLiteral("Mem 9 *");
    host.texts[4] = QStringLiteral("Mem 5 * ");  // trailing blank
    host.texts[5] = QStringLiteral("Mem 6  *");
    host.texts[6] = QStringLiteral("Mem 8 *");  // another slot's number
    host.texts[199] = QStringLiteral("mem 200 *");
    host.selected = {1, 2};  // selection does not matter here
    runPrint(PrintOption::All, host);
    EXPECT_EQ(host.log,
              (Log{"prepare", "show 0", "print 0", "show 3", "print 3", "show 8", "print 8"}));
    EXPECT_EQ(host.shownslot, 8);
}

TEST(PrintRun, nothingToPrintDoesNothingAndSaysNothing) {
    FakeHost host;
    host.printerUsable = false;
    runPrint(PrintOption::Selected, host);
    runPrint(PrintOption::All, host);
    EXPECT_TRUE(host.log.empty());
}

TEST(PrintRun, withoutPrinterOneMessageAndNothingRecalledOrPrinted) {
    FakeHost host;
    host.printerUsable = false;
    for (int i = 0; i < kSlotCount; ++i) {
        host.texts[i] = slotEntryText(i + 1, true);
    }
    runPrint(PrintOption::All, host);
    EXPECT_EQ(host.log, (Log{"prepare", "failure"}));
    host.log.clear();
    runPrint(PrintOption::Current, host);
    EXPECT_EQ(host.log, (Log{"prepare", "failure"}));
    EXPECT_EQ(host.shownslot, 0);
}

}  // namespace
}  // namespace trellicap
