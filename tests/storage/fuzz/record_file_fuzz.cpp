// Fuzz entry for the record-file reader. Any bytes must load without a crash and keep the
// reader's promises: nothing outside the file rows of columns 0..199 is written, the count
// and stop reason agree, feeding in two pieces or in pieces of one byte gives the same load
// as one pass, and a table the reader produced saves and reads back unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "storage/record_file_reader.h"
#include "storage/record_file_writer.h"

namespace {

using trellicap::LoadResult;
using trellicap::ModelProfile;
using trellicap::RecordStore;
using trellicap::RecordValue;

constexpr RecordValue kSentinel = 4321;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "record file fuzz: %s\n", what);
        std::abort();
    }
}

void putSentinels(RecordStore& store) {
    for (int col = 0; col < trellicap::kTableColumns; ++col) {
        auto column = store.column(col);
        std::fill(column.begin(), column.end(), kSentinel);
    }
    std::fill(store.capture().begin(), store.capture().end(), kSentinel);
}

bool sameFileRows(const RecordStore& a, const RecordStore& b) {
    const int rows = a.profile().fileRows.count();
    for (int col = 0; col < trellicap::kSlotCount; ++col) {
        if (!std::equal(a.column(col).begin(), a.column(col).begin() + rows,
                        b.column(col).begin())) {
            return false;
        }
    }
    return true;
}

bool sameTable(const RecordStore& a, const RecordStore& b) {
    for (int col = 0; col < trellicap::kTableColumns; ++col) {
        if (!std::equal(a.column(col).begin(), a.column(col).end(), b.column(col).begin())) {
            return false;
        }
    }
    return std::equal(a.capture().begin(), a.capture().end(), b.capture().begin());
}

bool sameLoad(const LoadResult& a, const LoadResult& b) {
    return a.stop == b.stop && a.valuesRead == b.valuesRead && a.marked == b.marked &&
           a.offendingText == b.offendingText;
}

// The stores are reused: a full table for each of three loads per input adds up.
RecordStore& store(const ModelProfile& profile, int which) {
    static RecordStore* stores[2][3] = {};
    RecordStore*& slot = stores[&profile == &trellicap::tft::kProfile ? 0 : 1][which];
    if (slot == nullptr) {
        slot = new RecordStore(profile);
    }
    return *slot;
}

LoadResult checkOnePass(QByteArrayView bytes, RecordStore& whole) {
    putSentinels(whole);
    const LoadResult result = trellicap::readRecordFile(bytes, whole);
    const int rows = whole.profile().fileRows.count();
    check(result.valuesExpected == rows * trellicap::kSlotCount, "expected count");
    check(result.valuesRead >= 0 && result.valuesRead <= result.valuesExpected, "read count");
    check(
        (result.stop == LoadResult::Stop::Complete) == (result.valuesRead == result.valuesExpected),
        "complete iff every value read");
    check(result.stop != LoadResult::Stop::CannotOpen && result.stop != LoadResult::Stop::ReadError,
          "no system stop from bytes");
    for (int col = 0; col < trellicap::kTableColumns; ++col) {
        const auto column = whole.column(col);
        const int firstUntouched = col < trellicap::kSlotCount ? rows : 0;
        check(std::all_of(column.begin() + firstUntouched, column.end(),
                          [](RecordValue v) { return v == kSentinel; }),
              "row or column outside the file written");
        if (col < trellicap::kSlotCount &&
            col * rows + trellicap::kMemoryNumberFirst >= result.valuesRead) {
            check(!result.marked[static_cast<std::size_t>(col)], "mark on a column not read");
        }
    }
    check(std::all_of(whole.capture().begin(), whole.capture().end(),
                      [](RecordValue v) { return v == kSentinel; }),
          "capture buffer written");
    return result;
}

void checkTwoPieces(QByteArrayView bytes, const LoadResult& result, const RecordStore& whole,
                    RecordStore& pieces) {
    putSentinels(pieces);
    pieces.prefillForLoad();
    trellicap::RecordFileReader reader(pieces);
    const qsizetype cut = bytes.size() / 3;
    reader.feed(bytes.first(cut));
    reader.feed(bytes.sliced(cut));
    check(sameLoad(reader.finish(), result), "split feeding differs");
    check(sameFileRows(whole, pieces), "split feeding stored other values");
}

// Every value and separator cut at every place, fed as a load feeds a file: until the
// reader says the load is over, which must be no sooner than one pass decides it.
void checkOneBytePieces(QByteArrayView bytes, const LoadResult& result, const RecordStore& whole,
                        RecordStore& pieces) {
    putSentinels(pieces);
    pieces.prefillForLoad();
    trellicap::RecordFileReader reader(pieces);
    for (qsizetype at = 0; at < bytes.size() && reader.feed(bytes.sliced(at, 1)); ++at) {
    }
    check(sameLoad(reader.finish(), result), "feeding one byte at a time differs");
    check(sameTable(whole, pieces), "feeding one byte at a time left another table");
}

// The values read, saved and read again, come back the same (the rest is pre-fill in both).
void checkRoundTrip(const LoadResult& result, const RecordStore& whole, RecordStore& again) {
    if (!trellicap::firstUnstorableValue(whole)) {
        const QByteArray saved = trellicap::writeRecordFile(whole).left(4 * result.valuesRead);
        const LoadResult reread = trellicap::readRecordFile(saved, again);
        check(reread.valuesRead == result.valuesRead, "saved values do not read back");
        check(sameFileRows(whole, again), "saved values read back different");
    }
}

void checkProfile(const ModelProfile& profile, QByteArrayView bytes) {
    RecordStore& whole = store(profile, 0);
    RecordStore& pieces = store(profile, 1);
    const LoadResult result = checkOnePass(bytes, whole);
    checkTwoPieces(bytes, result, whole, pieces);
    checkOneBytePieces(bytes, result, whole, pieces);
    checkRoundTrip(result, whole, store(profile, 2));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkProfile(trellicap::tft::kProfile, bytes);
    checkProfile(trellicap::dac::kProfile, bytes);
    return 0;
}
