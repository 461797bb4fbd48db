// Where the next value of a load goes: the profile's file rows of columns 0..199 in file
// order. The cells come in runs that end where something must happen between two values:
// after each memory-number code (the column's mark may change) and at a column's end. The
// reader stores into a run with no check but its end.
#pragma once

#include <array>

#include "record/record_store.h"

namespace trellicap {

class LoadCursor {
public:
    explicit LoadCursor(RecordStore& store);

    RecordValue* cell;    // where the next value goes
    RecordValue* runEnd;  // the reader stores while cell != runEnd

    // Called when the run is full: marks the column when its codes now name its own slot and
    // moves on to the next run. False when the file's last cell has been filled.
    bool nextRun();

    [[nodiscard]] int valuesRead() const;
    // Slot columns whose memory-number codes named their own slot at some point of the load.
    [[nodiscard]] const std::array<bool, kSlotCount>& marked() const { return m_marked; }

private:
    void startColumn(int col);
    [[nodiscard]] int runEndRow(int row) const;

    RecordStore& m_store;
    RowRange m_rows;
    int m_column = 0;
    RecordValue* m_columnStart = nullptr;  // row 0 of the column
    std::array<bool, kSlotCount> m_marked{};
};

}  // namespace trellicap
