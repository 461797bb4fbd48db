#include <gtest/gtest.h>

#include "archive/record_codes.h"

namespace trellicap::archive {
namespace {

TEST(RecordCodes, ValuesTravelAsLittleEndianInt16AndComeBackUnchanged) {
    const std::vector<RecordValue> values = {0, 1, 255, 256, -1, -32768, 32767, 0x1234};
    const QByteArray bytes = encodeRecord(values);
    EXPECT_EQ(bytes.toHex(), QByteArray("00000100ff000001ffff0080ff7f3412"));
    EXPECT_EQ(decodeRecord(bytes, static_cast<int>(values.size())), values);
    EXPECT_FALSE(decodeRecord(bytes, static_cast<int>(values.size()) + 1));
    EXPECT_FALSE(decodeRecord(bytes.left(bytes.size() - 1), static_cast<int>(values.size())));
}

TEST(RecordCodes, TheContentHashTellsModelSlotAndValuesApart) {
    const QByteArray a = encodeRecord(std::vector<RecordValue>{1, 2, 3});
    const QByteArray b = encodeRecord(std::vector<RecordValue>{1, 2, 4});
    const QString hash = contentHash("tft", 7, a);
    EXPECT_EQ(hash.size(), 32);
    EXPECT_EQ(hash, contentHash("tft", 7, a));
    EXPECT_NE(hash, contentHash("dac", 7, a));
    EXPECT_NE(hash, contentHash("tft", 8, a));
    EXPECT_NE(hash, contentHash("tft", 7, b));
    // "1" + ":12:" and "11" + ":2:" never meet: the slot is fenced on both sides.
    EXPECT_NE(contentHash("tft", 12, a), contentHash("tft", 1, a));
}

}  // namespace
}  // namespace trellicap::archive
