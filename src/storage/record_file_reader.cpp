#include "storage/record_file_reader.h"

#include <algorithm>

namespace trellicap {

namespace {

constexpr int kBlankFromRow = 256;
constexpr int kKeptTextBytes = 16;
constexpr int kMagnitudeCap = 100000;  // anything above 32768 is out of range alike

bool isBlankOrLineEnd(char c) {
    return c == ' ' || c == '\r' || c == '\n';
}

}  // namespace

RecordFileReader::RecordFileReader(RecordStore& store)
    : m_store(store),
      m_rowsPerSlot(store.profile().fileRows.count()),
      m_row(store.profile().fileRows.first) {
    m_result.valuesExpected = m_rowsPerSlot * kSlotCount;
    const RowRange rows = store.profile().fileRows;
    for (int col = 0; col < kSlotCount; ++col) {
        auto column = store.column(col);
        for (int row = rows.first; row <= rows.last; ++row) {
            column[static_cast<std::size_t>(row)] = row < kBlankFromRow ? 0 : 32;
        }
    }
}

bool RecordFileReader::feed(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (m_over) {
            return false;
        }
        const bool separator = isBlankOrLineEnd(c) || c == ',';
        if (m_length == 0) {
            if (isBlankOrLineEnd(c)) {
                continue;
            }
            if (c == ',' && m_afterValue) {
                m_afterValue = false;  // "1 , 2": the comma belongs to the blank before it
                continue;
            }
        }
        if (separator && m_length > 0) {
            if (endValue()) {
                m_afterValue = c != ',';
            }
            continue;
        }
        // A comma with no value before it reaches here as the value's own text.
        if (m_text.size() < kKeptTextBytes) {
            m_text.append(c);
        }
        ++m_length;
        if (c >= '0' && c <= '9') {
            ++m_digits;
            m_magnitude = std::min(m_magnitude * 10 + (c - '0'), kMagnitudeCap);
        } else if ((c == '-' || c == '+') && m_length == 1) {
            m_negative = c == '-';
        } else {
            m_bad = true;
        }
        // Its text is kept for the message; reading further would not change the verdict.
        if (separator || (m_bad && m_text.size() >= kKeptTextBytes)) {
            stopWith(LoadResult::Stop::NotANumber);
        }
    }
    return !m_over;
}

LoadResult RecordFileReader::finish() {
    if (!m_over && m_length > 0) {
        endValue();
    }
    if (!m_over) {
        stopWith(LoadResult::Stop::EarlyEnd);
    }
    return m_result;
}

bool RecordFileReader::endValue() {
    if (m_bad || m_digits == 0) {
        stopWith(LoadResult::Stop::NotANumber);
        return false;
    }
    const int value = m_negative ? -m_magnitude : m_magnitude;
    if (value < -32768 || value > 32767) {
        stopWith(LoadResult::Stop::OutOfRange);
        return false;
    }
    storeValue(static_cast<RecordValue>(value));
    m_text.clear();
    m_length = 0;
    m_digits = 0;
    m_negative = false;
    m_magnitude = 0;
    return true;
}

void RecordFileReader::storeValue(RecordValue value) {
    auto column = m_store.column(m_column);
    column[static_cast<std::size_t>(m_row)] = value;
    ++m_result.valuesRead;
    // The mark may only change when one of the three memory-number codes changes; the codes
    // not read yet still hold the pre-fill, as they would for a check after every value.
    if (m_row >= kMemoryNumberFirst && m_row < kMemoryNumberFirst + 3 &&
        memoryNumber(column) == m_column + 1) {
        m_result.marked[static_cast<std::size_t>(m_column)] = true;
    }
    if (++m_row > m_store.profile().fileRows.last) {
        m_row = m_store.profile().fileRows.first;
        ++m_column;
    }
    if (m_result.valuesRead == m_result.valuesExpected) {
        stopWith(LoadResult::Stop::Complete);
    }
}

void RecordFileReader::stopWith(LoadResult::Stop stop) {
    m_over = true;
    m_result.stop = stop;
    if (stop == LoadResult::Stop::NotANumber || stop == LoadResult::Stop::OutOfRange) {
        m_result.offendingText = m_text;
    }
}

LoadResult readRecordFile(QByteArrayView bytes, RecordStore& store) {
    RecordFileReader reader(store);
    reader.feed(bytes);
    return reader.finish();
}

}  // namespace trellicap
