// What a headless capture tells on standard error as it goes: a line per slot when its
// fate is known (filed, no answer, asked again, cut off by a lost port) and a summary at
// the end. The link names the slot it asks for and the column it files; whether a slot got
// no answer shows only when the link moves on, so each line is written then.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "link/batch_result.h"

namespace trellicap::cli {

class CaptureProgress {
public:
    // Lines go to `say`, one call per line, without the line end.
    CaptureProgress(int slotCount, std::function<void(const QString&)> say);

    // The slot the latest batch ended on, asked for again (the batch goes on after an
    // unplug), keeps its place in the count.
    void requestSent(int slot);
    void slotFiled(int column);
    // The batch is over: the slot under way, if any, gets its line.
    void batchFinished(const BatchResult& result);

private:
    [[nodiscard]] QString prefix() const;
    void closeSlot(const QString& fate);

    int m_count;
    std::function<void(const QString&)> m_say;
    int m_index = 0;    // of the slot under way, from 1
    int m_current = 0;  // its slot number; 0 before the first request
    bool m_open = false;
};

// One line: how many slots were filed and which, which had no answer, which were not
// captured (never reached after a stop, or cut off by a lost port), whether the release went
// out, and where the records went.
[[nodiscard]] QString captureSummary(const BatchResult& result, const QString& savedTo);

// Slot numbers (1..200) of memory-table columns, ascending.
[[nodiscard]] std::vector<int> slotsOfColumns(const QList<int>& columns);

}  // namespace trellicap::cli
