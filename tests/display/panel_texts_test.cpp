#include "display/panel_texts.h"

#include <gtest/gtest.h>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record_builder.h"

namespace trellicap {
namespace {

using testing::blankSettings;
using testing::freshSlot;
using testing::putCodes;
using testing::putText;

// Positions in the TFT record and the DAC record.
constexpr int kTftClock = 404;
constexpr int kTftTimeDate = 515;
constexpr int kDacClock = 400;
constexpr int kDacTimeDate = 427;

void putTime(std::vector<RecordValue>& record, int index) {
    putText(record, index, "0755280403");
}

TEST(PanelTexts, TimeAndDateLineFollowsTheClockInTheTftProfile) {
    auto record = blankSettings(tft::kProfile);
    putTime(record, kTftTimeDate);

    putText(record, kTftClock, "ON     ");
    EXPECT_EQ(buildPanelTexts(tft::kProfile, record).text("txttmdt"), "Tm: 07:55 Dt:28/04/03");

    putText(record, kTftClock, "OFF    ");
    EXPECT_EQ(buildPanelTexts(tft::kProfile, record).text("txttmdt"), "Tm: ");

    // Only the exact seven characters count as off.
    putText(record, kTftClock, "OFF   x");
    EXPECT_EQ(buildPanelTexts(tft::kProfile, record).text("txttmdt"), "Tm: 07:55 Dt:28/04/03");
    putCodes(record, kTftClock + 3, {0});  // the box reads back "OFF"
    EXPECT_EQ(buildPanelTexts(tft::kProfile, record).text("txttmdt"), "Tm: 07:55 Dt:28/04/03");
}

TEST(PanelTexts, TimeAndDateLineIsAlwaysShownInTheDacProfile) {
    auto record = blankSettings(dac::kProfile);
    putTime(record, kDacTimeDate);
    putText(record, kDacClock, "OFF    ");
    const PanelTexts texts = buildPanelTexts(dac::kProfile, record);
    EXPECT_EQ(texts.text("txtclock"), "OFF    ");
    EXPECT_EQ(texts.text("txttmdt"), "Tm: 07:55 Dt:28/04/03");
    // The DAC run of the time and date lies between the contrast and the DAC boxes.
    putText(record, 421, "50    ");
    putText(record, 437, "ON     ");
    const PanelTexts shifted = buildPanelTexts(dac::kProfile, record);
    EXPECT_EQ(shifted.text("txtcontrast"), "50    ");
    EXPECT_EQ(shifted.text("txtdac"), "ON     ");
}

TEST(PanelTexts, MeasureOffEmptiesTheReadouts) {
    auto record = blankSettings(tft::kProfile);
    putText(record, 525, "123.4 56.7 89.0 ");
    putText(record, 459, "ON     ");
    PanelTexts texts = buildPanelTexts(tft::kProfile, record);
    EXPECT_EQ(texts.text("txtbeam"), "123.4");
    EXPECT_EQ(texts.text("txtsurf"), " 56.7");
    EXPECT_EQ(texts.text("txtdpth"), " 89.0");

    putText(record, 459, "OFF    ");
    texts = buildPanelTexts(tft::kProfile, record);
    EXPECT_EQ(texts.text("txtbeam"), "");
    EXPECT_EQ(texts.text("txtsurf"), "");
    EXPECT_EQ(texts.text("txtdpth"), "");

    // Blank codes are shown as blanks while measuring is not off.
    EXPECT_EQ(buildPanelTexts(tft::kProfile, blankSettings(tft::kProfile)).text("txtbeam"),
              "     ");
}

TEST(PanelTexts, FieldsShowTheirCodesAtTheProfilesPositions) {
    auto tftRecord = blankSettings(tft::kProfile);
    putText(tftRecord, 260, "108    100    5920   0.0    25.5 XY");
    putText(tftRecord, 372, "25  00%    ");
    putText(tftRecord, 452, "ENTERXZ");
    const PanelTexts tftTexts = buildPanelTexts(tft::kProfile, tftRecord);
    EXPECT_EQ(tftTexts.text("txtzero"), "108    ");
    EXPECT_EQ(tftTexts.text("txtdelay"), "0.0    ");
    EXPECT_EQ(tftTexts.text("txtgain"), "25.5 dB");  // five codes; 293 and 294 are not shown
    EXPECT_EQ(tftTexts.text("txtrefg"), "25  ");
    EXPECT_EQ(tftTexts.text("txtreject"), "00%    ");
    EXPECT_EQ(tftTexts.text("Txtent"), "ENTERX");  // six of the seven codes
    EXPECT_EQ(buildPanelTexts(tft::kProfile, blankSettings(tft::kProfile)).text("txtgain"),
              "     dB");

    auto dacRecord = blankSettings(dac::kProfile);
    putText(dacRecord, 372, "00%    ");
    putText(dacRecord, 458, "ENTERXZ");
    const PanelTexts dacTexts = buildPanelTexts(dac::kProfile, dacRecord);
    EXPECT_EQ(dacTexts.text("txtreject"), "00%    ");
    EXPECT_EQ(dacTexts.text("Txtent"), "ENTERXZ");
    EXPECT_FALSE(dacTexts.contains("txtrefg"));
    EXPECT_FALSE(dacTexts.contains("txtraw"));

    EXPECT_EQ(walkedIndex(tft::kProfile, "txtreject"), 376);
    EXPECT_EQ(walkedIndex(dac::kProfile, "txtreject"), 372);
    EXPECT_EQ(walkedIndex(tft::kProfile, "txtdac"), 431);
    EXPECT_EQ(walkedIndex(dac::kProfile, "txtdac"), 437);
    EXPECT_EQ(walkedIndex(dac::kProfile, "txtrefg"), std::nullopt);

    // The list follows the profile's walk, then the header boxes.
    const auto& entries = tftTexts.entries();
    ASSERT_EQ(entries.size(), tft::kProfile.panelSteps.size() + tft::kProfile.headerFields.size());
    EXPECT_EQ(entries.front().first, "txtzero");
    EXPECT_EQ(entries.back().first, "txtremark");
}

TEST(PanelTexts, TextsEndAtTheFirstCodeZero) {
    auto record = blankSettings(tft::kProfile);
    putText(record, 267, "10");
    putCodes(record, 269, {0, 'x'});
    putCodes(record, 288, {'2', 0});
    putCodes(record, kTftTimeDate, {'0', '7', 0});
    putText(record, kTftClock, "ON     ");
    const PanelTexts texts = buildPanelTexts(tft::kProfile, record);
    EXPECT_EQ(texts.text("txtrange"), "10");
    EXPECT_EQ(texts.text("txtgain"), "2");  // "dB" is cut with the rest
    EXPECT_EQ(texts.text("txttmdt"), "Tm: 07:");
}

TEST(PanelTexts, NeverFilledSlot) {
    const PanelTexts tft = buildPanelTexts(tft::kProfile, freshSlot(tft::kProfile));
    EXPECT_EQ(tft.text("txtzero"), "");  // index 260 is 0
    EXPECT_EQ(tft.text("txtrange"), "       ");
    EXPECT_EQ(tft.text("txtopname"), "");
    EXPECT_EQ(tft.text("txtraw"), QString(19, u' '));  // the 0 at 600 makes it not blank
    EXPECT_TRUE(tft.contains("txtaxno"));
    EXPECT_EQ(tft.text("txtaxno"), "");
    EXPECT_EQ(tft.text("txtremark"), "");

    const PanelTexts dac = buildPanelTexts(dac::kProfile, freshSlot(dac::kProfile));
    EXPECT_EQ(dac.text("txtopname"), "");
    EXPECT_EQ(dac.text("txtaxno"), QString(30, u' '));
    EXPECT_EQ(dac.text("txtremark"), "");
}

TEST(PanelTexts, HeaderRunWithOneLetterIsShownInFull) {
    auto record = blankSettings(tft::kProfile);
    putText(record, 581, QString(19, u' ') + u'A');
    putText(record, 601, "Axle 7");
    const PanelTexts texts = buildPanelTexts(tft::kProfile, record);
    EXPECT_EQ(texts.text("txtraw"), QString(19, u' ') + u'A');
    EXPECT_EQ(texts.text("txtaxno"), "Axle 7" + QString(14, u' '));
    EXPECT_EQ(texts.text("txtopname"), "");

    auto dacRecord = blankSettings(dac::kProfile);
    putText(dacRecord, 530, "Operator name");
    const PanelTexts dacTexts = buildPanelTexts(dac::kProfile, dacRecord);
    EXPECT_EQ(dacTexts.text("txtopname"), "Operator name" + QString(27, u' '));
    EXPECT_EQ(dacTexts.text("txtremark"), "");
}

TEST(PanelTexts, SetReplacesInPlaceAndUnknownControlsReadEmpty) {
    PanelTexts texts;
    texts.set("txtzero", "1");
    texts.set("txtrange", "2");
    texts.set("txtzero", "3");
    ASSERT_EQ(texts.entries().size(), 2u);
    EXPECT_EQ(texts.entries()[0], std::make_pair(QString("txtzero"), QString("3")));
    EXPECT_EQ(texts.text("txtnone"), QString());
    EXPECT_FALSE(texts.contains("txtnone"));
}

}  // namespace
}  // namespace trellicap

namespace trellicap {
namespace {

// One box read on its own shows what the whole walk shows in it: every walked box of both
// models, over codes that hold blanks, letters, a gain's suffix and codes 0 that end a text.
TEST(PanelTexts, OneSettingReadAloneIsTheWalksText) {
    for (const ModelProfile* profile : {&tft::kProfile, &dac::kProfile}) {
        std::vector<RecordValue> record = testing::freshSlot(*profile);
        for (int i = kSettingsStart; i < 530; ++i) {
            record[static_cast<std::size_t>(i)] =
                static_cast<RecordValue>(i % 17 == 0 ? 0 : 32 + (i * 7) % 90);
        }
        const PanelTexts walked = buildPanelTexts(*profile, record);
        for (const PanelStep& step : profile->panelSteps) {
            if (!step.timeDate) {
                EXPECT_EQ(settingText(*profile, record, step.control), walked.text(step.control))
                    << step.control;
            }
        }
        EXPECT_EQ(settingText(*profile, record, "nosuchbox"), QString());
    }
}

}  // namespace
}  // namespace trellicap
