#include "record/record_store.h"

#include <algorithm>
#include <cassert>

namespace trellicap {

RecordStore::RecordStore(const ModelProfile& profile)
    : m_profile(profile),
      m_capture(static_cast<std::size_t>(profile.recordSize()), 0),
      m_table(static_cast<std::size_t>(profile.recordSize()) * kTableColumns, 0),
      m_raw(static_cast<std::size_t>(profile.rawSize()), 0) {}

std::span<RecordValue> RecordStore::column(int col) {
    assert(col >= 0 && col < kTableColumns);
    const auto size = static_cast<std::size_t>(m_profile.recordSize());
    return std::span<RecordValue>(m_table).subspan(static_cast<std::size_t>(col) * size, size);
}

std::span<const RecordValue> RecordStore::column(int col) const {
    assert(col >= 0 && col < kTableColumns);
    const auto size = static_cast<std::size_t>(m_profile.recordSize());
    return std::span<const RecordValue>(m_table).subspan(static_cast<std::size_t>(col) * size,
                                                         size);
}

void RecordStore::initMemoryTable() {
    for (int col = 0; col < kSlotCount; ++col) {
        auto c = column(col);
        std::fill(c.begin(), c.begin() + 261, RecordValue{0});
        std::fill(c.begin() + 261, c.begin() + kStartValueRows, RecordValue{32});
    }
}

void RecordStore::resetMemoryTable() {
    std::fill(m_table.begin(), m_table.end(), RecordValue{0});
    initMemoryTable();
}

void RecordStore::prefillForLoad() {
    constexpr int kBlankFromRow = 256;
    const RowRange rows = m_profile.fileRows;
    for (int col = 0; col < kSlotCount; ++col) {
        auto c = column(col);
        for (int row = rows.first; row <= rows.last; ++row) {
            c[static_cast<std::size_t>(row)] = row < kBlankFromRow ? 0 : 32;
        }
    }
}

void RecordStore::loadStartupTrace() {
    std::fill(m_capture.begin() + 1, m_capture.begin() + 261, RecordValue{0});
    struct Run {
        int first;
        std::initializer_list<RecordValue> values;
    };
    const Run runs[] = {
        {10, {10, 32, 59, 100, 100, 100, 100, 100, 100, 100, 80, 58, 32, 12, 0}},
        {50, {6, 46, 57, 59, 75, 72, 67, 56, 32, 13, 2}},
        {90, {3, 31, 45, 65, 60, 52, 47, 32, 21, 3}},
        {130, {5, 27, 39, 57, 50, 42, 35, 22, 14}},
        {170, {3, 23, 31, 48, 41, 35, 25, 13, 7}},
        {210, {2, 20, 27, 35, 29, 17, 7}},
        {245, {5, 13, 27, 22, 18, 7, 2}},
    };
    for (const auto& run : runs) {
        std::copy(run.values.begin(), run.values.end(), m_capture.begin() + run.first);
    }
}

void RecordStore::presetRawForRequest() {
    std::fill(m_raw.begin(), m_raw.begin() + 251, RecordValue{0});
    std::fill(m_raw.begin() + 251, m_raw.begin() + m_profile.rawPresetBlankLast + 1,
              RecordValue{32});
}

void RecordStore::copyToCapture(int col, RowRange rows) {
    auto c = column(col);
    std::copy(c.begin() + rows.first, c.begin() + rows.last + 1, m_capture.begin() + rows.first);
}

void RecordStore::copyFromCapture(int col, RowRange rows) {
    auto c = column(col);
    std::copy(m_capture.begin() + rows.first, m_capture.begin() + rows.last + 1,
              c.begin() + rows.first);
}

void RecordStore::recallSlot(int col) {
    copyToCapture(col, m_profile.recallRows);
}
void RecordStore::fileRequestedFrame(int col) {
    copyFromCapture(col, m_profile.batchFileRows);
}
void RecordStore::fileUnsolicitedFrame(int col) {
    copyFromCapture(col, m_profile.unsolicitedRows);
}

}  // namespace trellicap
