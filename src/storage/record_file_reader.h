// Reading a record file back into the memory table. The reader takes the file's bytes in
// as many pieces as the caller likes, so a huge or endless file (a wrong pick in the open
// window) is never read further than the values the table has room for. It reads each byte
// once: a value that ends inside its piece is stored straight away, and only one cut by a
// piece's end or one that stops the load is read with its text kept.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

#include "record/record_store.h"
#include "storage/load_cursor.h"
#include "storage/record_file_grammar.h"

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
    const char* readValues(const char* p, const char* end);
    const char* readValue(const char* p, const char* end);
    const char* takeValueText(const char* start, const char* p, const char* end);
    void endValue();
    void settleRun();
    void stopWith(LoadResult::Stop stop);

    LoadCursor m_cursor;
    LoadResult m_result;
    bool m_over = false;
    // The last value ended at a blank or a line end, and no comma has followed it yet.
    bool m_commaAllowed = false;
    // The value being read when it did not end inside its piece or needs a careful look.
    record_file::ValueScan m_value;
    record_file::ValueText m_text;
};

// The whole load over bytes already in memory, pre-fill included.
[[nodiscard]] LoadResult readRecordFile(QByteArrayView bytes, RecordStore& store);

}  // namespace trellicap
