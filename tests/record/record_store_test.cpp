#include "record/record_store.h"

#include <gtest/gtest.h>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/memory_number.h"
#include "record/slot_entries.h"

using namespace trellicap;

namespace {
void setMemoryNumber(std::span<RecordValue> record, const char* digits) {
    for (int i = 0; i < 3; ++i) {
        record[static_cast<std::size_t>(kMemoryNumberFirst + i)] =
            static_cast<RecordValue>(digits[i]);
    }
}
}  // namespace

TEST(RecordStore, IsSizedByTheProfile) {
    RecordStore tft(tft::kProfile);
    RecordStore dac(dac::kProfile);
    EXPECT_EQ(tft.capture().size(), 701u);
    EXPECT_EQ(tft.raw().size(), 1001u);
    EXPECT_EQ(tft.column(200).size(), 701u);
    EXPECT_EQ(dac.capture().size(), 651u);
    EXPECT_EQ(dac.raw().size(), 821u);
    EXPECT_EQ(dac.column(200).size(), 651u);
}

TEST(RecordStore, StartValuesLeaveRowsFrom600AndColumn200AtZero) {
    RecordStore store(tft::kProfile);
    store.initMemoryTable();
    for (int col : {0, 99, 199}) {
        auto c = store.column(col);
        EXPECT_EQ(c[0], 0);
        EXPECT_EQ(c[260], 0);
        EXPECT_EQ(c[261], 32);
        EXPECT_EQ(c[599], 32);
        EXPECT_EQ(c[600], 0);
        EXPECT_EQ(c[700], 0);
    }
    for (RecordValue v : store.column(200)) {
        EXPECT_EQ(v, 0);
    }
}

TEST(RecordStore, StartupTraceIsThePulseAndSixEchoGroups) {
    RecordStore store(tft::kProfile);
    std::fill(store.capture().begin(), store.capture().end(), RecordValue{9});
    store.loadStartupTrace();
    auto c = store.capture();
    EXPECT_EQ(c[0], 9);  // index 0 is not part of the trace load
    EXPECT_EQ(c[1], 0);
    EXPECT_EQ(c[10], 10);
    EXPECT_EQ(c[13], 100);
    EXPECT_EQ(c[19], 100);
    EXPECT_EQ(c[20], 80);
    EXPECT_EQ(c[24], 0);
    EXPECT_EQ(c[54], 75);
    EXPECT_EQ(c[138], 14);
    EXPECT_EQ(c[216], 7);
    EXPECT_EQ(c[251], 2);
    EXPECT_EQ(c[260], 0);
    EXPECT_EQ(c[261], 9);  // beyond the trace load
}

TEST(RecordStore, TransfersCopyExactlyTheirRows) {
    for (const ModelProfile* profile : {&tft::kProfile, &dac::kProfile}) {
        RecordStore store(*profile);
        const int last = profile->recordLast;
        std::fill(store.capture().begin(), store.capture().end(), RecordValue{7});
        auto col = store.column(4);
        std::fill(col.begin(), col.end(), RecordValue{1});

        store.fileUnsolicitedFrame(4);
        EXPECT_EQ(col[599], 7);
        EXPECT_EQ(col[600], 1) << profile->programName;

        std::fill(col.begin(), col.end(), RecordValue{1});
        store.fileRequestedFrame(4);
        EXPECT_EQ(col[profile->batchFileRows.last], 7);
        if (profile->batchFileRows.last < last) {
            EXPECT_EQ(col[static_cast<std::size_t>(profile->batchFileRows.last + 1)], 1);
        }

        std::fill(col.begin(), col.end(), RecordValue{3});
        store.recallSlot(4);
        EXPECT_EQ(store.capture()[0], 3);
        EXPECT_EQ(store.capture()[static_cast<std::size_t>(last)], 3);
        EXPECT_EQ(store.column(3)[0], 0);  // neighbours untouched
        EXPECT_EQ(store.column(5)[0], 0);
    }
    RecordStore tft(tft::kProfile);
    std::fill(tft.capture().begin(), tft.capture().end(), RecordValue{7});
    tft.fileRequestedFrame(0);
    EXPECT_EQ(tft.column(0)[700], 7);  // the TFT batch files the whole record
}

TEST(RecordStore, RequestPresetsTheRawBufferPerProfile) {
    RecordStore tft(tft::kProfile);
    std::fill(tft.raw().begin(), tft.raw().end(), RecordValue{5});
    tft.presetRawForRequest();
    EXPECT_EQ(tft.raw()[250], 0);
    EXPECT_EQ(tft.raw()[251], 32);
    EXPECT_EQ(tft.raw()[700], 32);
    EXPECT_EQ(tft.raw()[701], 5);

    RecordStore dac(dac::kProfile);
    std::fill(dac.raw().begin(), dac.raw().end(), RecordValue{5});
    dac.presetRawForRequest();
    EXPECT_EQ(dac.raw()[599], 32);
    EXPECT_EQ(dac.raw()[600], 5);
}

TEST(MemoryNumber, PicksTheSlotOnlyForWholeNumbersOneTo200) {
    RecordStore store(tft::kProfile);
    auto c = store.capture();
    setMemoryNumber(c, "012");
    EXPECT_EQ(columnForMemoryNumber(memoryNumber(c)), 11);
    setMemoryNumber(c, "  5");
    EXPECT_EQ(columnForMemoryNumber(memoryNumber(c)), 4);
    setMemoryNumber(c, "200");
    EXPECT_EQ(columnForMemoryNumber(memoryNumber(c)), 199);
    for (const char* bad : {"000", "201", "345", "1.5", "-12", "ABC"}) {
        setMemoryNumber(c, bad);
        EXPECT_FALSE(columnForMemoryNumber(memoryNumber(c)).has_value()) << bad;
    }
    EXPECT_EQ(slotEntryText(7, true), QStringLiteral("Mem 7 *"));
    EXPECT_EQ(slotEntryText(200, false), QStringLiteral("Mem 200"));
}
