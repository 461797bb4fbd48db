// The tool's own rules, without running it: slot lists, the time and date, line breaks
// in CSV fields and control codes in JSON strings.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "cli/command.h"
#include "cli/slot_list.h"
#include "cli_fixture.h"
#include "record/iso_time_date.h"
#include "record/text_codes.h"
#include "report/csv_format.h"
#include "report/json_format.h"

namespace trellicap::cli {
namespace {

TEST(SlotList, rangesAndSlotsAscendingEachOnce) {
    EXPECT_EQ(parseSlotList(u"1-3,15,200").numbers, (std::vector<int>{1, 2, 3, 15, 200}));
    EXPECT_EQ(parseSlotList(u" 9 , 2-4,3,007").numbers, (std::vector<int>{2, 3, 4, 7, 9}));
    EXPECT_EQ(parseSlotList(u"200-200").numbers, std::vector<int>{200});
    EXPECT_EQ(parseSlotList(u"1-200").numbers.size(), 200u);
    EXPECT_TRUE(parseSlotList(u"1-200").error.isEmpty());
}

TEST(SlotList, refusesWhatIsNoSlotListAndSaysWhy) {
    const struct {
        const char16_t* text;
        const char* reason;
    } cases[] = {
        {u"", "an empty item"},
        {u"1,,2", "an empty item"},
        {u"0", "slot 0 lies outside 1 to 200"},
        {u"150-201", "slot 201 lies outside 1 to 200"},
        {u"99999999999", "slot 99999999999 lies outside 1 to 200"},
        {u"-5", "'' is not a slot number"},
        {u"1-2-3", "'2-3' is not a slot number"},
        {u"+4", "'+4' is not a slot number"},
        {u"1.5", "'1.5' is not a slot number"},
        {u"10-2", "the range 10-2 runs backwards"},
    };
    for (const auto& c : cases) {
        const SlotList list = parseSlotList(QStringView(c.text));
        EXPECT_TRUE(list.numbers.empty());
        EXPECT_EQ(list.error, QStringLiteral("the slot list '%1' is not valid: %2")
                                  .arg(QStringView(c.text), QLatin1String(c.reason)));
    }
}

TEST(SlotList, formattedBackWithRunsJoined) {
    EXPECT_EQ(formatSlotList({1, 2, 3, 7, 9, 10}), "1-3,7,9-10");
    EXPECT_EQ(formatSlotList({200}), "200");
    EXPECT_EQ(formatSlotList({}), "none");
}

QString iso(const QString& text) {
    const std::vector<RecordValue> codes = textToCodes(text);
    return isoTimeDate(codes);
}

TEST(TimeDate, validCodesAreIsoAndAnythingElseStaysAsStored) {
    EXPECT_EQ(iso("0650010213"), "2013-02-01T06:50");
    EXPECT_EQ(iso(" 7550104 3"), "2003-04-01T07:55");  // blanks for leading zeros
    EXPECT_EQ(iso("2359290224"), "2024-02-29T23:59");  // a leap day
    EXPECT_EQ(iso("0000290223"), "0000290223");        // no leap day in 2023
    EXPECT_EQ(iso("2400010113"), "2400010113");
    EXPECT_EQ(iso("1260010113"), "1260010113");
    EXPECT_EQ(iso("1200001313"), "1200001313");  // day 0, month 13
    EXPECT_EQ(iso("1 00010113"), "1 00010113");  // a blank stands only before a digit
    EXPECT_EQ(iso("          "), "          ");
    EXPECT_EQ(iso("0650010213xyz"), "2013-02-01T06:50");  // only ten codes count
    EXPECT_EQ(iso("065001"), "065001");                   // a record cut short
    std::vector<RecordValue> withNul = textToCodes("06:5");
    withNul.insert(withNul.end(), {0, '1', '0', '2', '1', '3'});
    EXPECT_EQ(isoTimeDate(withNul), "06:5");  // up to the code 0, as a box shows it
}

TEST(CsvAndJsonText, quotedOnlyWhereNeededAndEscapedWhereNeeded) {
    // Commas and quotes are in the tables' tests; a record may also hold codes 10 and 13.
    EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(csvField("cr\r"), "\"cr\r\"");
    EXPECT_EQ(jsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(jsonString(QString::fromUtf8("\t\x01 \u20ac")), "\"\\u0009\\u0001 \u20ac\"");
}

// A help text that names an option the command does not take sends the user to an error.
TEST(CommandHelp, namesOnlyOptionsTheCommandTakes) {
    const QRegularExpression longOption(QStringLiteral("--([a-z][a-z-]*)"));
    for (const Command* command : commands()) {
        QStringList known{QStringLiteral("help")};
        for (const OptionSyntax& option : command->syntax.options) {
            known += option.names;
        }
        QString text = command->syntax.synopsis + QLatin1Char(' ') + command->syntax.details;
        for (const OptionSyntax& option : command->syntax.options) {
            text += QLatin1Char(' ') + option.description;
        }
        auto matches = longOption.globalMatch(text);
        while (matches.hasNext()) {
            const QString name = matches.next().captured(1);
            EXPECT_TRUE(known.contains(name))
                << command->syntax.name.toStdString() << " names --" << name.toStdString();
        }
    }
}

}  // namespace
}  // namespace trellicap::cli
