#include "storage/record_file_reader.h"

#include <algorithm>

#include "record/memory_number.h"

namespace trellicap {

namespace {

constexpr int kMagnitudeCap = 100000;  // anything above 32768 is out of range alike
constexpr int kFastDigits = 4;         // up to 9999: in range whatever the sign

bool isBlankOrLineEnd(char c) {
    return c == ' ' || c == '\r' || c == '\n';
}
bool isSeparator(char c) {
    return isBlankOrLineEnd(c) || c == ',';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

RecordFileReader::RecordFileReader(RecordStore& store)
    : m_store(store),
      m_rowsPerSlot(store.profile().fileRows.count()),
      m_row(store.profile().fileRows.first),
      m_lastRow(store.profile().fileRows.last),
      m_columnCells(store.column(0)) {
    m_result.valuesExpected = m_rowsPerSlot * kSlotCount;
}

bool RecordFileReader::feed(QByteArrayView bytes) {
    qsizetype at = 0;
    while (at < bytes.size() && !m_over) {
        if (m_length == 0) {
            while (at < bytes.size() && isBlankOrLineEnd(bytes[at])) {
                ++at;
            }
            if (at == bytes.size()) {
                break;
            }
        }
        const char c = bytes[at];
        if (m_length == 0) {
            if (c == ',' && m_afterValue) {
                m_afterValue = false;  // "1 , 2": the comma belongs to the blank before it
                ++at;
                continue;
            }
            if (const qsizetype used = readWholeValue(bytes, at)) {
                at += used;
                continue;
            }
        }
        readByte(c);
        ++at;
    }
    return !m_over;
}

qsizetype RecordFileReader::readWholeValue(QByteArrayView bytes, qsizetype at) {
    qsizetype i = at;
    const bool negative = bytes[i] == '-';
    if (negative) {
        ++i;
    }
    const qsizetype firstDigit = i;
    int magnitude = 0;
    while (i < bytes.size() && i - firstDigit < kFastDigits && isDigit(bytes[i])) {
        magnitude = magnitude * 10 + (bytes[i] - '0');
        ++i;
    }
    if (i == firstDigit || i >= bytes.size() || !isSeparator(bytes[i])) {
        return 0;
    }
    m_afterValue = bytes[i] != ',';
    storeValue(static_cast<RecordValue>(negative ? -magnitude : magnitude));
    return i + 1 - at;
}

void RecordFileReader::readByte(char c) {
    const bool separator = isSeparator(c);
    if (separator && m_length > 0) {
        if (endValue()) {
            m_afterValue = c != ',';
        }
        return;
    }
    // A comma with no value before it reaches here as the value's own text.
    if (m_textSize < static_cast<int>(m_text.size())) {
        m_text[static_cast<std::size_t>(m_textSize++)] = c;
    }
    ++m_length;
    if (isDigit(c)) {
        ++m_digits;
        m_magnitude = std::min(m_magnitude * 10 + (c - '0'), kMagnitudeCap);
    } else if ((c == '-' || c == '+') && m_length == 1) {
        m_negative = c == '-';
    } else {
        m_bad = true;
    }
    // Its text is kept for the message; reading further would not change the verdict.
    if (separator || (m_bad && m_textSize == static_cast<int>(m_text.size()))) {
        stopWith(LoadResult::Stop::NotANumber);
    }
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
    m_textSize = 0;
    m_length = 0;
    m_digits = 0;
    m_negative = false;
    m_magnitude = 0;
    storeValue(static_cast<RecordValue>(value));
    return true;
}

void RecordFileReader::storeValue(RecordValue value) {
    m_columnCells[static_cast<std::size_t>(m_row)] = value;
    ++m_result.valuesRead;
    // The mark may only change when one of the three memory-number codes changes; the codes
    // not read yet still hold the pre-fill, as they would for a check after every value.
    if (m_row >= kMemoryNumberFirst && m_row < kMemoryNumberFirst + 3 &&
        memoryNumber(m_columnCells) == m_column + 1) {
        m_result.marked[static_cast<std::size_t>(m_column)] = true;
    }
    if (m_result.valuesRead == m_result.valuesExpected) {
        stopWith(LoadResult::Stop::Complete);
    } else if (++m_row > m_lastRow) {
        m_row = m_store.profile().fileRows.first;
        m_columnCells = m_store.column(++m_column);
    }
}

void RecordFileReader::stopWith(LoadResult::Stop stop) {
    m_over = true;
    m_result.stop = stop;
    if (stop == LoadResult::Stop::NotANumber || stop == LoadResult::Stop::OutOfRange) {
        m_result.offendingText = QByteArray(m_text.data(), m_textSize);
    }
}

LoadResult readRecordFile(QByteArrayView bytes, RecordStore& store) {
    store.prefillForLoad();
    RecordFileReader reader(store);
    reader.feed(bytes);
    return reader.finish();
}

}  // namespace trellicap
