#include <gtest/gtest.h>

#include <QCryptographicHash>

#include "archive/record_codes.h"
#include "archive/sha256.h"

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

TEST(RecordCodes, TheContentHashIsSha256OfModelSlotAndValuesOnEveryProcessor) {
    std::printf("SHA-256 by the processor's instructions: %s\n", sha256InHardware() ? "yes" : "no");
    EXPECT_EQ(sha256("abc").toHex(),
              QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    // Every length around the 64-byte blocks and the 9 bytes the padding needs, and a
    // record's, against Qt's own.
    QByteArray bytes;
    std::uint32_t state = 99;
    for (int length = 0; length <= 1402; length = length < 300 ? length + 1 : length + 551) {
        while (bytes.size() < length) {
            state = state * 1664525u + 1013904223u;
            bytes.append(static_cast<char>(state >> 24));
        }
        EXPECT_EQ(sha256(bytes), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256))
            << length;
    }
    const QByteArray values = encodeRecord(std::vector<RecordValue>(701, -3));
    EXPECT_EQ(contentHash("tft", 17, values),
              QString::fromLatin1(QCryptographicHash::hash(QByteArray("tft:17:") + values,
                                                           QCryptographicHash::Sha256)
                                      .left(16)
                                      .toHex()));
}

TEST(RecordCodes, ValuesAreDeflatedWhenThatPaysAndComeBackByteForByte) {
    // A record as they come: a trace of small values, text and blanks, one value outside a
    // byte (as only a record file brings), then the same with every value at random.
    std::vector<RecordValue> record(701, 32);
    for (int i = 0; i <= 250; ++i) {
        record[static_cast<std::size_t>(i)] = static_cast<RecordValue>((i * 7) % 101);
    }
    record.back() = -1234;
    const QByteArray encoded = encodeRecord(record);
    const PackedValues packed = packValues(encoded);
    EXPECT_EQ(packed.packing, Packing::Deflated);
    EXPECT_LT(packed.bytes.size(), encoded.size() / 4) << packed.bytes.size();
    EXPECT_EQ(unpackValues(packed.bytes, static_cast<int>(packed.packing)), encoded);

    std::vector<RecordValue> noise(701);
    std::uint32_t state = 12345;
    for (RecordValue& value : noise) {
        state = state * 1664525u + 1013904223u;
        value = static_cast<RecordValue>(state >> 16);
    }
    const QByteArray noisy = encodeRecord(noise);
    const PackedValues kept = packValues(noisy);
    EXPECT_EQ(kept.packing, Packing::Plain);  // deflating would not make it smaller
    EXPECT_EQ(kept.bytes, noisy);
    EXPECT_EQ(unpackValues(kept.bytes, static_cast<int>(kept.packing)), noisy);
}

TEST(RecordCodes, DamagedOrUnknownPackingIsRefusedNotGuessed) {
    const QByteArray packed = packValues(encodeRecord(std::vector<RecordValue>(701, 32))).bytes;
    EXPECT_FALSE(unpackValues(packed.left(packed.size() / 2), 1));     // cut short
    EXPECT_FALSE(unpackValues(QByteArray("\x7f\xff\xff\xff", 4), 1));  // a length no record has
    EXPECT_FALSE(unpackValues(QByteArray(), 1));
    EXPECT_FALSE(unpackValues(packed, 7));  // a packing this program does not know
    QByteArray odd = packed;
    odd[3] = static_cast<char>(odd[3] + 1);  // the stated length no longer matches
    EXPECT_FALSE(unpackValues(odd, 1));
}

}  // namespace
}  // namespace trellicap::archive
