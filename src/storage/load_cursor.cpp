#include "storage/load_cursor.h"

#include "record/memory_number.h"

namespace trellicap {

namespace {

constexpr int kMemoryNumberLast = kMemoryNumberFirst + 2;

// The codes not read yet still hold what the caller pre-filled, exactly as they would for a
// check after every value; only a code just read can change the number they spell.
bool namesItsOwnSlot(std::span<const RecordValue> column, int col) {
    return memoryNumber(column) == col + 1;
}

}  // namespace

LoadCursor::LoadCursor(RecordStore& store) : m_store(store), m_rows(store.profile().fileRows) {
    startColumn(0);
}

void LoadCursor::startColumn(int col) {
    m_column = col;
    m_columnStart = m_store.column(col).data();
    cell = m_columnStart + m_rows.first;
    runEnd = m_columnStart + runEndRow(m_rows.first) + 1;
}

// The first row from row on after which something must happen.
int LoadCursor::runEndRow(int row) const {
    for (int code = kMemoryNumberFirst; code <= kMemoryNumberLast; ++code) {
        if (code >= row && code < m_rows.last) {
            return code;
        }
    }
    return m_rows.last;
}

bool LoadCursor::nextRun() {
    const int row = static_cast<int>(cell - m_columnStart);  // the row after the one just read
    if (row - 1 >= kMemoryNumberFirst && row - 1 <= kMemoryNumberLast &&
        namesItsOwnSlot(m_store.column(m_column), m_column)) {
        m_marked[static_cast<std::size_t>(m_column)] = true;
    }
    if (row <= m_rows.last) {
        runEnd = m_columnStart + runEndRow(row) + 1;
        return true;
    }
    if (m_column + 1 == kSlotCount) {
        return false;
    }
    startColumn(m_column + 1);
    return true;
}

int LoadCursor::valuesRead() const {
    return m_column * m_rows.count() + static_cast<int>(cell - (m_columnStart + m_rows.first));
}

}  // namespace trellicap
