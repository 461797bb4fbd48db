#include "record/header_fields.h"

#include <gtest/gtest.h>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/record_store.h"

namespace trellicap {
namespace {

TEST(HeaderFields, EachTextFillsItsWholeRunAndNothingElse) {
    RecordStore store(dac::kProfile);
    auto column = store.column(0);
    std::fill(column.begin(), column.end(), RecordValue{7});
    const QString texts[] = {QString(45, QLatin1Char('A')), QStringLiteral("J1"), QString()};
    storeHeaderFields(dac::kProfile, texts, column);
    EXPECT_EQ(column[529], 7);  // before the first run
    EXPECT_EQ(column[530], 'A');
    EXPECT_EQ(column[569], 'A');  // the 40th code is stored; the rest of the text is cut
    EXPECT_EQ(column[570], 'J');
    EXPECT_EQ(column[571], '1');
    EXPECT_EQ(column[572], ' ');  // a shorter text leaves blanks, not an old tail
    EXPECT_EQ(column[609], ' ');
    EXPECT_EQ(column[610], ' ');  // an empty box blanks its field
    EXPECT_EQ(column[649], ' ');
    EXPECT_EQ(column[650], 7);  // after the last run

    RecordStore tft(tft::kProfile);
    auto tftColumn = tft.column(4);
    const QString tftTexts[] = {QStringLiteral("AB"), QString(20, QLatin1Char('R')), {}, {}};
    storeHeaderFields(tft::kProfile, tftTexts, tftColumn);
    EXPECT_EQ(tftColumn[561], 'A');
    EXPECT_EQ(tftColumn[563], ' ');
    EXPECT_EQ(tftColumn[600], 'R');
    EXPECT_EQ(tftColumn[641], 0);  // past the last field
}

}  // namespace
}  // namespace trellicap
