#include "storage/record_file_reader.h"

namespace trellicap {

using record_file::isBlank;
using record_file::isSeparator;
using record_file::ValueScan;
using Verdict = ValueScan::Verdict;

RecordFileReader::RecordFileReader(RecordStore& store) : m_cursor(store) {
    m_result.valuesExpected = store.profile().fileRows.count() * kSlotCount;
}

bool RecordFileReader::feed(QByteArrayView bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    for (;;) {
        settleRun();
        if (m_over || p == end) {
            return !m_over;
        }
        if (!m_value.started()) {
            p = readValues(p, end);
            if (p == end || m_cursor.cell == m_cursor.runEnd) {
                continue;
            }
        }
        p = readValue(p, end);
    }
}

// The loop that reads nearly every value: the separators, then a value that ends inside the
// piece, stored with no check but the run's end. Returns at the piece's end, at the run's
// end, or at a value it leaves to readValue: one cut by the piece's end, one that stops the
// load, or a comma where a value should be.
const char* RecordFileReader::readValues(const char* p, const char* const end) {
    RecordValue* cell = m_cursor.cell;
    RecordValue* const runEnd = m_cursor.runEnd;
    bool commaAllowed = m_commaAllowed;
    while (cell != runEnd) {
        while (p != end && isBlank(*p)) {
            ++p;
        }
        if (p == end) {
            break;
        }
        if (*p == ',' && commaAllowed) {  // "1 , 2": the comma belongs to the blank before it
            commaAllowed = false;
            ++p;
            continue;
        }
        ValueScan value;
        const char* const next = value.take(p, end);
        if (next == end || value.verdict() != Verdict::Value) {
            break;
        }
        *cell++ = value.value();
        commaAllowed = *next != ',';
        p = next + 1;
    }
    m_cursor.cell = cell;
    m_commaAllowed = commaAllowed;
    return p;
}

// One value read with its text kept: it may go on from the last piece, stop the load, or go
// on into the next piece. Returns where reading goes on.
const char* RecordFileReader::readValue(const char* p, const char* const end) {
    if (!m_value.started() && *p == ',') {  // a comma with no value before it is the value
        m_text.append(p, p + 1);
        stopWith(LoadResult::Stop::NotANumber);
        return end;
    }
    p = takeValueText(p, m_value.take(p, end), end);
    // A bad value stops the load once its text is known; reading on would not change it, and
    // an endless file (a device picked by mistake) would never end the load otherwise.
    if (m_value.bad() && (m_text.full() || p != end)) {
        stopWith(LoadResult::Stop::NotANumber);
        return end;
    }
    if (p == end) {
        return end;  // cut by the piece's end: the next piece goes on with it
    }
    m_commaAllowed = *p != ',';
    endValue();
    return p + 1;
}

// Keeps the value's text from start: up to scanEnd, where its scan stopped, or for a bad
// value up to its separator or as far as the text has room. Returns where the text ends.
const char* RecordFileReader::takeValueText(const char* start, const char* scanEnd,
                                            const char* end) {
    const char* textEnd = scanEnd;
    if (m_value.bad()) {
        const char* const limit = start + std::min<std::ptrdiff_t>(end - start, m_text.room());
        textEnd = std::min(scanEnd, limit);
        while (textEnd != limit && !isSeparator(*textEnd)) {
            ++textEnd;
        }
    }
    m_text.append(start, textEnd);
    return textEnd;
}

// The value ends here, at its separator or at the end of the file: it is stored, or the load
// stops on it.
void RecordFileReader::endValue() {
    switch (m_value.verdict()) {
        case Verdict::NotANumber:
            stopWith(LoadResult::Stop::NotANumber);
            return;
        case Verdict::OutOfRange:
            stopWith(LoadResult::Stop::OutOfRange);
            return;
        case Verdict::Value:
            break;
    }
    *m_cursor.cell++ = m_value.value();
    m_value = {};
    m_text = {};
}

void RecordFileReader::settleRun() {
    if (!m_over && m_cursor.cell == m_cursor.runEnd && !m_cursor.nextRun()) {
        stopWith(LoadResult::Stop::Complete);
    }
}

LoadResult RecordFileReader::finish() {
    settleRun();
    if (!m_over && m_value.started()) {
        endValue();
        settleRun();
    }
    if (!m_over) {
        stopWith(LoadResult::Stop::EarlyEnd);
    }
    m_result.valuesRead = m_cursor.valuesRead();
    m_result.marked = m_cursor.marked();
    return m_result;
}

void RecordFileReader::stopWith(LoadResult::Stop stop) {
    m_over = true;
    m_result.stop = stop;
    if (stop == LoadResult::Stop::NotANumber || stop == LoadResult::Stop::OutOfRange) {
        m_result.offendingText = m_text.bytes();
    }
}

LoadResult readRecordFile(QByteArrayView bytes, RecordStore& store) {
    store.prefillForLoad();
    RecordFileReader reader(store);
    reader.feed(bytes);
    return reader.finish();
}

}  // namespace trellicap
