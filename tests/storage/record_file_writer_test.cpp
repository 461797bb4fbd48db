#include <gtest/gtest.h>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "storage/record_file_writer.h"

namespace trellicap {
namespace {

std::string field(RecordValue value) {
    char text[4];
    formatRecordField(value, text);
    return std::string(text, 4);
}

TEST(RecordFileWriter, FieldsAreFourBytesLeftAlignedAndBlankPadded) {
    EXPECT_EQ(field(0), "0   ");
    EXPECT_EQ(field(32), "32  ");
    EXPECT_EQ(field(255), "255 ");
    EXPECT_EQ(field(7), "7   ");
    EXPECT_EQ(field(-7), "-7  ");
    EXPECT_EQ(field(-99), "-99 ");
    EXPECT_EQ(field(1000), "1000");   // no blank left: runs into the next field
    EXPECT_EQ(field(12345), "1234");  // cut to its first four characters
    EXPECT_EQ(field(-32768), "-327");
}

TEST(RecordFileWriter, WritesSlotMajorFileRowsOfTwoHundredColumns) {
    RecordStore store(tft::kProfile);
    store.initMemoryTable();
    auto first = store.column(0);
    first[0] = 0;
    first[1] = 32;
    first[2] = 255;
    first[3] = 7;
    store.column(1)[0] = 42;
    // Row 700 and column 200 are not part of the file.
    store.column(5)[700] = 99;
    store.column(200)[0] = 99;

    const QByteArray bytes = writeRecordFile(store);
    ASSERT_EQ(bytes.size(), 560000);
    EXPECT_EQ(bytes.left(16), QByteArray("0   32  255 7   "));
    EXPECT_EQ(bytes.mid(4 * 700, 4), QByteArray("42  "));
    EXPECT_FALSE(bytes.contains("99"));

    EXPECT_EQ(writeRecordFile(RecordStore(dac::kProfile)).size(), 520000);
    // What a reader of unknown files tells the two models apart by.
    EXPECT_EQ(recordFileSize(tft::kProfile), 560000);
    EXPECT_EQ(recordFileSize(dac::kProfile), 520000);
}

TEST(RecordFileWriter, StartupTableGivesZerosBlanksAndZerosInEveryColumn) {
    RecordStore store(tft::kProfile);
    store.initMemoryTable();
    const QByteArray bytes = writeRecordFile(store);
    ASSERT_EQ(bytes.size(), 560000);
    for (int col = 0; col < kSlotCount; ++col) {
        for (int row = 0; row < 700; ++row) {
            const QByteArray expected = row >= 261 && row <= 599 ? "32  " : "0   ";
            ASSERT_EQ(bytes.mid((col * 700 + row) * 4, 4), expected) << col << ' ' << row;
        }
    }
}

TEST(RecordFileWriter, FindsTheFirstValueThatWouldNotReadBack) {
    RecordStore store(tft::kProfile);
    store.initMemoryTable();
    EXPECT_FALSE(firstUnstorableValue(store));

    store.column(3)[10] = -99;
    store.column(3)[11] = 999;
    store.column(200)[0] = 5000;  // not in the file
    store.column(0)[700] = 5000;
    EXPECT_FALSE(firstUnstorableValue(store));

    store.column(7)[2] = -100;
    store.column(3)[699] = 1000;
    const auto cell = firstUnstorableValue(store);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->column, 3);
    EXPECT_EQ(cell->row, 699);
    EXPECT_EQ(cell->value, 1000);
}

}  // namespace
}  // namespace trellicap
