#include <gtest/gtest.h>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record_store_fixtures.h"
#include "storage/record_file_reader.h"
#include "storage/record_file_writer.h"

namespace trellicap {
namespace {

using namespace trellicap::testing;
using Stop = LoadResult::Stop;

std::vector<int> markedColumns(const LoadResult& result) {
    std::vector<int> columns;
    for (int col = 0; col < kSlotCount; ++col) {
        if (result.marked[static_cast<std::size_t>(col)]) {
            columns.push_back(col);
        }
    }
    return columns;
}

class RecordFileRoundTrip : public ::testing::TestWithParam<const ModelProfile*> {};

TEST_P(RecordFileRoundTrip, ReproducesFileRowsAndMarksSlotsThatNameThemselves) {
    const ModelProfile& profile = *GetParam();
    RecordStore saved(profile);
    fillVaried(saved);
    setMemoryNumber(saved, 6, "007");
    setMemoryNumber(saved, 11, "012");
    setMemoryNumber(saved, 99, "100");
    setMemoryNumber(saved, 199, "200");
    setMemoryNumber(saved, 20, "005");  // names another slot
    setMemoryNumber(saved, 30, "31x");  // reading stops at the x: 31
    setMemoryNumber(saved, 40, "4.1");  // not a whole number
    const QByteArray bytes = writeRecordFile(saved);

    RecordStore loaded(profile);
    putSentinels(loaded);
    const LoadResult result = readRecordFile(bytes, loaded);

    const int rows = profile.fileRows.count();
    EXPECT_EQ(result.stop, Stop::Complete);
    EXPECT_EQ(result.valuesRead, rows * kSlotCount);
    EXPECT_EQ(result.valuesExpected, rows * kSlotCount);
    for (int col = 0; col < kSlotCount; ++col) {
        ASSERT_TRUE(std::equal(saved.column(col).begin(), saved.column(col).begin() + rows,
                               loaded.column(col).begin()))
            << "column " << col;
    }
    EXPECT_TRUE(sentinelsIntact(loaded));
    EXPECT_EQ(markedColumns(result), (std::vector<int>{6, 11, 30, 99, 199}));
}

INSTANTIATE_TEST_SUITE_P(BothModels, RecordFileRoundTrip,
                         ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

TEST(RecordFileReader, MarkMadeWhileTheCodesAreReadStays) {
    // "7" followed by the pre-fill blanks spells 7 once row 358 is read; the "5" read next
    // turns the number into 75, but the entry stays marked.
    RecordStore saved(tft::kProfile);
    fillVaried(saved);
    setMemoryNumber(saved, 6, "75 ");
    RecordStore loaded(tft::kProfile);
    EXPECT_EQ(markedColumns(readRecordFile(writeRecordFile(saved), loaded)), std::vector<int>{6});
}

TEST(RecordFileReader, AllZeroFileGivesZerosAndNoMarks) {
    QByteArray bytes;
    for (int i = 0; i < 140000; ++i) {
        bytes.append("0   ");
    }
    RecordStore loaded(tft::kProfile);
    const LoadResult result = readRecordFile(bytes, loaded);
    EXPECT_EQ(result.stop, Stop::Complete);
    EXPECT_TRUE(markedColumns(result).empty());
    for (int col = 0; col < kSlotCount; ++col) {
        ASSERT_TRUE(std::all_of(loaded.column(col).begin(), loaded.column(col).begin() + 700,
                                [](RecordValue v) { return v == 0; }));
    }
}

TEST(RecordFileReader, FileEndingEarlyKeepsValuesReadAndPrefillsTheRest) {
    RecordStore saved(tft::kProfile);
    fillVaried(saved);
    setMemoryNumber(saved, 0, "001");
    const QByteArray bytes = writeRecordFile(saved).left(4 * 1000);

    RecordStore loaded(tft::kProfile);
    putSentinels(loaded);
    const LoadResult result = readRecordFile(bytes, loaded);

    EXPECT_EQ(result.stop, Stop::EarlyEnd);
    EXPECT_EQ(result.valuesRead, 1000);
    EXPECT_EQ(markedColumns(result), std::vector<int>{0});
    for (int row = 0; row < 700; ++row) {
        EXPECT_EQ(loaded.column(0)[row], saved.column(0)[row]) << row;
        const RecordValue column1 = row < 300 ? saved.column(1)[row] : prefill(row);
        EXPECT_EQ(loaded.column(1)[row], column1) << row;
        for (int col = 2; col < kSlotCount; ++col) {
            ASSERT_EQ(loaded.column(col)[row], prefill(row)) << col << ' ' << row;
        }
    }
    EXPECT_TRUE(sentinelsIntact(loaded));

    EXPECT_EQ(readRecordFile(QByteArray(), loaded).valuesRead, 0);
    EXPECT_EQ(readRecordFile(QByteArray(), loaded).stop, Stop::EarlyEnd);
}

TEST(RecordFileReader, NonNumberStopsTheLoadKeepingWhatWasRead) {
    RecordStore loaded(tft::kProfile);
    struct Case {
        QByteArray bytes;
        int read;
        QByteArray offending;
    };
    const Case cases[] = {
        {"12 34 abc 56", 2, "abc"},
        {"Hello, world", 0, "Hello"},
        {"1 2x 3", 1, "2x"},
        {"1.5 2", 0, "1.5"},
        {"- 1", 0, "-"},
        {"5 --5", 1, "--5"},
        {"7,,8", 1, ","},
        {"1\t2", 0, "1\t2"},
        {QByteArray("3 \0 4", 5), 1, QByteArray("\0", 1)},
        {"9 " + QByteArray(100000, 'z'), 1, QByteArray(16, 'z')},
    };
    for (const Case& c : cases) {
        const LoadResult result = readRecordFile(c.bytes, loaded);
        EXPECT_EQ(result.stop, Stop::NotANumber) << c.bytes.left(20).toStdString();
        EXPECT_EQ(result.valuesRead, c.read) << c.bytes.left(20).toStdString();
        EXPECT_EQ(result.offendingText, c.offending) << c.bytes.left(20).toStdString();
    }
    (void)readRecordFile("12 34 abc 56", loaded);
    EXPECT_EQ(loaded.column(0)[0], 12);
    EXPECT_EQ(loaded.column(0)[1], 34);
    EXPECT_EQ(loaded.column(0)[2], 0);
}

TEST(RecordFileReader, ValueOutsideSixteenBitsStopsTheLoad) {
    RecordStore loaded(tft::kProfile);
    LoadResult result = readRecordFile("5 40000 6", loaded);
    EXPECT_EQ(result.stop, Stop::OutOfRange);
    EXPECT_EQ(result.valuesRead, 1);
    EXPECT_EQ(result.offendingText, "40000");
    EXPECT_EQ(loaded.column(0)[1], 0);

    EXPECT_EQ(readRecordFile("-32769", loaded).stop, Stop::OutOfRange);
    EXPECT_EQ(readRecordFile("99999999999999999999999", loaded).stop, Stop::OutOfRange);
    // A bad character after the digits makes it no number at all.
    EXPECT_EQ(readRecordFile("99999x", loaded).stop, Stop::NotANumber);

    result = readRecordFile("-32768 32767 +12 -0", loaded);
    EXPECT_EQ(result.stop, Stop::EarlyEnd);
    EXPECT_EQ(result.valuesRead, 4);
    EXPECT_EQ(loaded.column(0)[0], -32768);
    EXPECT_EQ(loaded.column(0)[1], 32767);
    EXPECT_EQ(loaded.column(0)[2], 12);
    EXPECT_EQ(loaded.column(0)[3], 0);
}

TEST(RecordFileReader, BlanksLineEndsAndCommasSeparateValues) {
    RecordStore loaded(tft::kProfile);
    const LoadResult result = readRecordFile("  1,2\r\n3   4\n\n5 , 6,7\r8", loaded);
    EXPECT_EQ(result.valuesRead, 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(loaded.column(0)[i], i + 1);
    }
}

TEST(RecordFileReader, BytesAfterTheLastFieldAreNotRead) {
    RecordStore saved(tft::kProfile);
    fillVaried(saved);
    const QByteArray bytes = writeRecordFile(saved);

    RecordStore clean(tft::kProfile);
    RecordStore stale(tft::kProfile);
    const LoadResult cleanResult = readRecordFile(bytes, clean);
    const LoadResult staleResult = readRecordFile(bytes + "12  abc 40000 ", stale);
    EXPECT_EQ(staleResult.stop, Stop::Complete);
    EXPECT_EQ(staleResult.valuesRead, cleanResult.valuesRead);
    EXPECT_EQ(snapshot(stale), snapshot(clean));
}

TEST(RecordFileReader, OtherModelsFileIsReadOutOfStep) {
    RecordStore dacSaved(dac::kProfile);
    fillVaried(dacSaved);
    RecordStore tftSaved(tft::kProfile);
    fillVaried(tftSaved);

    // 130,000 values fill only 185 TFT columns and a part; columns slide by 50 rows each.
    RecordStore tftLoaded(tft::kProfile);
    const LoadResult short_ = readRecordFile(writeRecordFile(dacSaved), tftLoaded);
    EXPECT_EQ(short_.stop, Stop::EarlyEnd);
    EXPECT_EQ(short_.valuesRead, 130000);
    EXPECT_EQ(tftLoaded.column(0)[650], dacSaved.column(1)[0]);
    EXPECT_EQ(tftLoaded.column(185)[699], 32);

    // The DAC reader stops after its own 130,000 values of the longer file.
    RecordStore dacLoaded(dac::kProfile);
    const LoadResult long_ = readRecordFile(writeRecordFile(tftSaved), dacLoaded);
    EXPECT_EQ(long_.stop, Stop::Complete);
    EXPECT_EQ(dacLoaded.column(1)[0], tftSaved.column(0)[650]);
}

TEST(RecordFileReader, FeedingInPiecesGivesTheSameLoad) {
    RecordStore saved(tft::kProfile);
    fillVaried(saved);
    setMemoryNumber(saved, 4, "005");
    const QByteArray bytes = writeRecordFile(saved);

    RecordStore whole(tft::kProfile);
    const LoadResult wholeResult = readRecordFile(bytes, whole);

    RecordStore pieces(tft::kProfile);
    pieces.prefillForLoad();
    RecordFileReader reader(pieces);
    // Pieces of 1 to 7 bytes cut values and separators at every possible place.
    qsizetype at = 0;
    for (int step = 1; at < bytes.size(); step = step % 7 + 1) {
        reader.feed(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(step, bytes.size() - at)));
        at += step;
    }
    const LoadResult piecesResult = reader.finish();
    EXPECT_EQ(piecesResult.stop, wholeResult.stop);
    EXPECT_EQ(piecesResult.marked, wholeResult.marked);
    EXPECT_EQ(snapshot(pieces), snapshot(whole));

    // A value cut by the end of the file still counts.
    RecordStore cut(tft::kProfile);
    RecordFileReader cutReader(cut);
    cutReader.feed("1 2");
    cutReader.feed("3");
    EXPECT_EQ(cutReader.finish().valuesRead, 2);
    EXPECT_EQ(cut.column(0)[1], 23);
}

// Feeds bytes in pieces of step bytes, the way the open window's load reads a file.
LoadResult readInPieces(QByteArrayView bytes, RecordStore& store, qsizetype step) {
    store.prefillForLoad();
    RecordFileReader reader(store);
    for (qsizetype at = 0; at < bytes.size(); at += step) {
        reader.feed(bytes.sliced(at, std::min(step, bytes.size() - at)));
    }
    return reader.finish();
}

TEST(RecordFileReader, ValuesCutByPiecesStopTheLoadAsInOnePass) {
    // Every way a load can stop, and every separator rule, with the value or the separator
    // that decides it cut at each place.
    const QByteArray inputs[] = {
        "12 34 abc 56",
        "9 " + QByteArray(40, 'z'),
        "1 2x 3",
        "3 " + QByteArray(20, '7') + "x",
        "- 1",
        "5 +",
        "7,,8",
        "1 , 2 ,, 3",
        ",1",
        "5 40000 6",
        "-32769",
        "000000000000000000000000000012 -0000000000000000000000032768 7",
        "  1,2\r\n3   4\n\n5 , 6,7\r8",
    };
    for (const QByteArray& bytes : inputs) {
        RecordStore whole(tft::kProfile);
        const LoadResult expected = readRecordFile(bytes, whole);
        for (qsizetype step = 1; step <= 4; ++step) {
            RecordStore pieces(tft::kProfile);
            const LoadResult result = readInPieces(bytes, pieces, step);
            const std::string what = bytes.toStdString() + " in pieces of " + std::to_string(step);
            EXPECT_EQ(result.stop, expected.stop) << what;
            EXPECT_EQ(result.valuesRead, expected.valuesRead) << what;
            EXPECT_EQ(result.offendingText, expected.offendingText) << what;
            EXPECT_EQ(snapshot(pieces), snapshot(whole)) << what;
        }
    }
}

TEST(RecordFileReader, FeedSaysWhenTheLoadIsOverSoTheFileIsReadNoFurther) {
    RecordStore store(tft::kProfile);
    // A bad value is over once its first 16 bytes are known, even with no end in sight.
    RecordFileReader endless(store);
    EXPECT_TRUE(endless.feed("1 zzzzzzzz"));
    EXPECT_FALSE(endless.feed("zzzzzzzzzzzz"));
    EXPECT_EQ(endless.finish().offendingText, QByteArray(16, 'z'));

    // The piece that holds the last value ends the load, whatever follows it.
    RecordStore saved(tft::kProfile);
    fillVaried(saved);
    saved.column(199)[699] = 999;  // "999 ": the last piece is the blank that ends it
    const QByteArray bytes = writeRecordFile(saved);
    RecordFileReader full(store);
    EXPECT_TRUE(full.feed(QByteArrayView(bytes).first(bytes.size() - 1)));
    EXPECT_FALSE(full.feed(QByteArrayView(bytes).last(1)));
    EXPECT_FALSE(full.feed("abc "));
    EXPECT_EQ(full.finish().stop, Stop::Complete);
}

}  // namespace
}  // namespace trellicap
