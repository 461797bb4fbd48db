// Fuzz entry for the record-file reader. Any bytes must load without a crash and keep the
// reader's promises: nothing outside the file rows of columns 0..199 is written, the count
// and stop reason agree, feeding in two pieces gives the same load, and a table the reader
// produced saves and reads back unchanged.
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

void checkProfile(const trellicap::ModelProfile& profile, QByteArrayView bytes) {
    static RecordStore* stores[2][3] = {};
    const int which = &profile == &trellicap::tft::kProfile ? 0 : 1;
    for (auto*& store : stores[which]) {
        if (store == nullptr) {
            store = new RecordStore(profile);
        }
    }
    RecordStore& whole = *stores[which][0];
    RecordStore& pieces = *stores[which][1];
    RecordStore& again = *stores[which][2];

    putSentinels(whole);
    const LoadResult result = trellicap::readRecordFile(bytes, whole);
    const int rows = profile.fileRows.count();
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

    putSentinels(pieces);
    pieces.prefillForLoad();
    trellicap::RecordFileReader reader(pieces);
    const qsizetype cut = bytes.size() / 3;
    reader.feed(bytes.first(cut));
    reader.feed(bytes.sliced(cut));
    const LoadResult split = reader.finish();
    check(split.stop == result.stop && split.valuesRead == result.valuesRead &&
              split.marked == result.marked && split.offendingText == result.offendingText,
          "split feeding differs");
    check(sameFileRows(whole, pieces), "split feeding stored other values");

    // The values read, saved and read again, come back the same (the rest is pre-fill in both).
    if (!trellicap::firstUnstorableValue(whole)) {
        const QByteArray saved = trellicap::writeRecordFile(whole).left(4 * result.valuesRead);
        const LoadResult reread = trellicap::readRecordFile(saved, again);
        check(reread.valuesRead == result.valuesRead, "saved values do not read back");
        check(sameFileRows(whole, again), "saved values read back different");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkProfile(trellicap::tft::kProfile, bytes);
    checkProfile(trellicap::dac::kProfile, bytes);
    return 0;
}
