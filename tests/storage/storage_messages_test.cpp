#include <gtest/gtest.h>

#include <QDir>

#include "record/slot_entries.h"
#include "storage/full_path.h"
#include "storage/storage_messages.h"

namespace trellicap {
namespace {

using Stop = LoadResult::Stop;

LoadResult partial(Stop stop, int read, int expected = 140000, QByteArray text = {}) {
    LoadResult result;
    result.stop = stop;
    result.valuesRead = read;
    result.valuesExpected = expected;
    result.offendingText = std::move(text);
    return result;
}

TEST(StorageMessages, LoadMessagesSayHowFarTheLoadGotAndWhy) {
    const QString path = QStringLiteral("/data/temp.dat");
    EXPECT_FALSE(describeLoadFailure(partial(Stop::Complete, 140000), path));

    LoadResult missing = partial(Stop::CannotOpen, 0);
    missing.systemError = QStringLiteral("No such file or directory");
    const auto open = describeLoadFailure(missing, path);
    ASSERT_TRUE(open);
    EXPECT_EQ(open->title, QStringLiteral("Open Error"));
    EXPECT_EQ(open->text,
              QStringLiteral("The record file \"/data/temp.dat\" could not be opened."));
    EXPECT_EQ(open->informative, QStringLiteral("No such file or directory.\nNothing was loaded."));

    const auto early = describeLoadFailure(partial(Stop::EarlyEnd, 1000), path);
    ASSERT_TRUE(early);
    EXPECT_EQ(early->text, QStringLiteral("The record file \"/data/temp.dat\" was loaded only in "
                                          "part: 1,000 of the 140,000 values were read."));
    EXPECT_EQ(early->informative,
              QStringLiteral("The file ends there.\nThe slots and rows after that are empty."));

    const auto word = describeLoadFailure(partial(Stop::NotANumber, 1000, 130000, "abc"), path);
    ASSERT_TRUE(word);
    EXPECT_TRUE(word->text.contains(QStringLiteral("1,000 of the 130,000 values")));
    EXPECT_TRUE(word->informative.startsWith(
        QStringLiteral("Value 1,001 (slot 2, row 350) is not a number: \"abc\".")))
        << word->informative.toStdString();

    const auto big = describeLoadFailure(partial(Stop::OutOfRange, 1, 140000, "40000"), path);
    ASSERT_TRUE(big);
    EXPECT_TRUE(big->informative.contains(
        QStringLiteral("Value 2 (slot 1, row 1) lies outside -32768 to 32767: \"40000\".")));

    const auto binary =
        describeLoadFailure(partial(Stop::NotANumber, 0, 140000, QByteArray("a\0\xff", 3)), path);
    EXPECT_TRUE(binary->informative.contains(QStringLiteral("\"a\\x00\\xff\"")));
}

TEST(StorageMessages, APartialLoadIsOfferedAsAChoiceThatSaysWhereItStopped) {
    const QString path = QStringLiteral("/data/foreign.txt");
    const LoadResult result = partial(Stop::NotANumber, 700, 140000, "x1");
    const UserMessage choice = describePartialLoadChoice(result, path);
    // The same first line as the plain failure message.
    EXPECT_EQ(choice.text, describeLoadFailure(result, path)->text);
    EXPECT_TRUE(choice.informative.startsWith(
        QStringLiteral("Value 701 (slot 2, row 0) is not a number: \"x1\".\nThe slots are "
                       "unchanged.")))
        << choice.informative.toStdString();
    EXPECT_TRUE(choice.informative.contains(QStringLiteral("the part that was read")));
}

TEST(StorageMessages, ReplaceQuestionNamesTheFileItsDateAndSize) {
    const QDateTime changed(QDate(2026, 3, 4), QTime(14, 2, 59));
    const UserMessage question =
        describeReplaceQuestion(QStringLiteral("/data/shift.dat"), changed, 560000);
    EXPECT_EQ(question.title, QStringLiteral("Replace File"));
    EXPECT_EQ(question.text, QStringLiteral("The file \"/data/shift.dat\" already exists."));
    EXPECT_TRUE(question.informative.startsWith(
        QStringLiteral("It was last changed on 2026-03-04 14:02 and holds 560,000 bytes.")))
        << question.informative.toStdString();
    EXPECT_TRUE(describeReplaceQuestion(QStringLiteral("a"), changed, 1)
                    .informative.contains(QStringLiteral("holds 1 byte.")));
}

TEST(StorageMessages, SaveMessageNamesPathAndReason) {
    const UserMessage message =
        describeSaveFailure(QStringLiteral("/media/stick/temp.dat"), QStringLiteral("Disk full"));
    EXPECT_EQ(message.title, QStringLiteral("Save Error"));
    EXPECT_EQ(message.text,
              QStringLiteral("The record file \"/media/stick/temp.dat\" could not be saved."));
    EXPECT_TRUE(message.informative.startsWith(QStringLiteral("Disk full.")));
}

TEST(StorageMessages, SlotListAfterALoadHasTwoHundredEntriesWithMarks) {
    std::array<bool, kSlotCount> marked{};
    marked[6] = true;
    marked[199] = true;
    const QStringList entries = slotListEntries(marked);
    ASSERT_EQ(entries.size(), 200);
    EXPECT_EQ(entries[0], QStringLiteral("Mem 1"));
    EXPECT_EQ(entries[6], QStringLiteral("Mem 7 *"));
    EXPECT_EQ(entries[199], QStringLiteral("Mem 200 *"));
}

TEST(FullPath, OneSeparatorBetweenFolderAndNameNeverDoubledAtARoot) {
    const QString sep = QDir::separator();
    EXPECT_EQ(joinFolderAndName(QDir::rootPath(), QStringLiteral("temp.dat")),
              QDir::toNativeSeparators(QDir::rootPath()) + QStringLiteral("temp.dat"));
    EXPECT_EQ(joinFolderAndName(QStringLiteral("/home/op/data"), QStringLiteral("a.dat")),
              sep + "home" + sep + "op" + sep + "data" + sep + "a.dat");
#ifdef Q_OS_WIN
    EXPECT_EQ(joinFolderAndName(QStringLiteral("C:/"), QStringLiteral("temp.dat")),
              QStringLiteral("C:\\temp.dat"));
    EXPECT_EQ(joinFolderAndName(QStringLiteral("C:/DATA"), QStringLiteral("temp.dat")),
              QStringLiteral("C:\\DATA\\temp.dat"));
#else
    EXPECT_EQ(joinFolderAndName(QStringLiteral("/"), QStringLiteral("temp.dat")),
              QStringLiteral("/temp.dat"));
#endif
}

}  // namespace
}  // namespace trellicap
