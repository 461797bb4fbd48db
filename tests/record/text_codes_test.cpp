#include "record/text_codes.h"
#include "record/numbers.h"

#include <gtest/gtest.h>

using namespace trellicap;

TEST(LeadingNumber, ReadsPanelTextsAsTheInstrumentWritesThem) {
    EXPECT_EQ(leadingNumber(QStringLiteral("30%")), 30);
    EXPECT_EQ(leadingNumber(QStringLiteral("0.0")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("OFF")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("1 2")), 12);  // blanks anywhere are skipped
    EXPECT_EQ(leadingNumber(QStringLiteral("  \t7")), 7);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("2.5mm")), 2.5);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral("-2.5")), -2.5);
    EXPECT_DOUBLE_EQ(leadingNumber(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("1.2.3")), 1.2);  // a second point ends the number
    EXPECT_EQ(leadingNumber(QStringLiteral("1e3")), 1);      // no exponent
    EXPECT_EQ(leadingNumber(QStringLiteral("--1")), 0);
    EXPECT_EQ(leadingNumber(QString(QChar(u'\0')) + QStringLiteral("5")), 0);
}

TEST(TextCodes, RoundTripsEveryWindows1252Code) {
    std::vector<RecordValue> all;
    for (int c = 0; c < 256; ++c) {
        all.push_back(static_cast<RecordValue>(c));
    }
    const QString text = codesToText(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));  // euro sign
    EXPECT_EQ(text.at(0xE9), QChar(0xE9));
    EXPECT_EQ(textToCodes(text), all);
    EXPECT_EQ(charToCode(QChar(0x4E2D)), '?');  // not in the code page
}

TEST(TextCodes, TextBoxesCutAtTheFirstNul) {
    const std::vector<RecordValue> codes = {'O', 'N', 0, 'X', ' '};
    EXPECT_EQ(cutAtNul(codesToText(codes)), QStringLiteral("ON"));
    EXPECT_EQ(cutAtNul(QStringLiteral("OFF    ")), QStringLiteral("OFF    "));
}

TEST(Rounding, HalvesGoToTheEvenNeighbourWithinSixteenBits) {
    EXPECT_EQ(roundToInt16(2.5), 2);
    EXPECT_EQ(roundToInt16(3.5), 4);
    EXPECT_EQ(roundToInt16(-2.5), -2);
    EXPECT_EQ(roundToInt16(20.4), 20);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_FALSE(roundToInt16(32767.6).has_value());
    EXPECT_FALSE(roundToInt16(-32769.0).has_value());
}

TEST(LabelText, NonNegativeValuesGetOneLeadingBlank) {
    EXPECT_EQ(labelText(0), QStringLiteral(" 0"));
    EXPECT_EQ(labelText(20), QStringLiteral(" 20"));
    EXPECT_EQ(labelText(102.5), QStringLiteral(" 102.5"));
    EXPECT_EQ(labelText(-2.5), QStringLiteral("-2.5"));
    EXPECT_EQ(labelText(0.1 + 0.2), QStringLiteral(" 0.3"));  // 15 significant digits
}
