// Reading a record file back into the memory table. The reader takes the file's bytes in
// as many pieces as the caller likes, so a huge or endless file (a wrong pick in the open
// window) is never read further than the values the table has room for.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <span>

#include "record/record_store.h"

namespace trellicap {

struct LoadResult {
    enum class Stop {
        Complete,    // every value of the profile's file rows was read
        EarlyEnd,    // the file ended before the last value
        NotANumber,  // a value was not a decimal whole number
        OutOfRange,  // a value lay outside the 16-bit signed range
        ReadError,   // the system failed to read on (a medium pulled out, a bad sector)
        CannotOpen,  // the file could not be opened; the table was not touched
    };
    int valuesRead = 0;
    int valuesExpected = 0;
    Stop stop = Stop::Complete;
    // Slot columns whose memory-number codes named their own slot during the load.
    std::array<bool, kSlotCount> marked{};
    QByteArray offendingText;  // NotANumber, OutOfRange: the value that stopped the load
    QString systemError;       // CannotOpen, ReadError: the system's reason

    // The table and the slot list were reset by the load (all outcomes but CannotOpen).
    [[nodiscard]] bool tableChanged() const { return stop != Stop::CannotOpen; }
};

class RecordFileReader {
public:
    // Reads into columns 0..199 from row 0 of slot 1 on. The caller pre-fills the table
    // first (RecordStore::prefillForLoad), so a load that stops early leaves the rest so.
    explicit RecordFileReader(RecordStore& store);

    // Reads values from the next bytes of the file. Returns false once the load is over
    // (the last value was read, or a bad value stopped it); further bytes are ignored.
    bool feed(QByteArrayView bytes);
    // The file ended: a value still being read ends here, then the result is final.
    [[nodiscard]] LoadResult finish();

private:
    // A whole value and its separator inside bytes from at, read in one go; 0 when the
    // value needs the byte-by-byte path (a bad or long value, or one cut by the piece).
    qsizetype readWholeValue(QByteArrayView bytes, qsizetype at);
    void readByte(char c);
    bool endValue();
    void stopWith(LoadResult::Stop stop);
    void storeValue(RecordValue value);

    RecordStore& m_store;
    LoadResult m_result;
    bool m_over = false;
    int m_rowsPerSlot;
    int m_column = 0;
    int m_row;
    int m_lastRow;
    std::span<RecordValue> m_columnCells;

    // The value being read byte by byte.
    std::array<char, 16> m_text{};  // its first bytes, kept for the message on a bad value
    int m_textSize = 0;
    int m_length = 0;
    int m_digits = 0;
    bool m_negative = false;
    bool m_bad = false;
    int m_magnitude = 0;        // saturates just above the 16-bit range
    bool m_afterValue = false;  // a blank or line end ended the last value: a comma joins it
};

// The whole load over bytes already in memory, pre-fill included.
[[nodiscard]] LoadResult readRecordFile(QByteArrayView bytes, RecordStore& store);

}  // namespace trellicap
