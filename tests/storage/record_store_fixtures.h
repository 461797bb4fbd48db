// Memory tables for storage tests: varied contents, sentinels where a load must not write,
// and the memory-number codes that decide the slot marks.
#pragma once

#include <QByteArray>
#include <vector>

#include "record/record_store.h"

namespace trellicap::testing {

inline constexpr RecordValue kSentinel = 4321;

// Rows 358..360 of a column spell text (three characters).
inline void setMemoryNumber(RecordStore& store, int col, const char (&text)[4]) {
    for (int i = 0; i < 3; ++i) {
        store.column(col)[static_cast<std::size_t>(kMemoryNumberFirst + i)] =
            static_cast<RecordValue>(static_cast<unsigned char>(text[i]));
    }
}

// Every file row of columns 0..199 gets a byte value that differs by column and row; the
// memory-number codes are blanks (no marks) unless set afterwards.
inline void fillVaried(RecordStore& store) {
    const RowRange rows = store.profile().fileRows;
    for (int col = 0; col < kSlotCount; ++col) {
        for (int row = rows.first; row <= rows.last; ++row) {
            store.column(col)[static_cast<std::size_t>(row)] =
                static_cast<RecordValue>((col * 31 + row * 7) % 256);
        }
        setMemoryNumber(store, col, "   ");
    }
}

// The places a load must leave alone: the row after the file rows, column 200, capture.
inline void putSentinels(RecordStore& store) {
    const auto lastRow = static_cast<std::size_t>(store.profile().recordLast);
    for (int col = 0; col < kTableColumns; ++col) {
        store.column(col)[lastRow] = kSentinel;
    }
    std::fill(store.column(200).begin(), store.column(200).end(), kSentinel);
    std::fill(store.capture().begin(), store.capture().end(), kSentinel);
}

inline bool sentinelsIntact(const RecordStore& store) {
    const auto lastRow = static_cast<std::size_t>(store.profile().recordLast);
    for (int col = 0; col < kTableColumns; ++col) {
        if (store.column(col)[lastRow] != kSentinel) {
            return false;
        }
    }
    const auto isSentinel = [](RecordValue v) { return v == kSentinel; };
    return std::all_of(store.column(200).begin(), store.column(200).end(), isSentinel) &&
           std::all_of(store.capture().begin(), store.capture().end(), isSentinel);
}

// The whole table, for comparing before and after.
inline std::vector<RecordValue> snapshot(const RecordStore& store) {
    std::vector<RecordValue> all;
    for (int col = 0; col < kTableColumns; ++col) {
        all.insert(all.end(), store.column(col).begin(), store.column(col).end());
    }
    all.insert(all.end(), store.capture().begin(), store.capture().end());
    return all;
}

// The value a load leaves in a row it did not read.
inline RecordValue prefill(int row) {
    return row < 256 ? 0 : 32;
}

}  // namespace trellicap::testing
