// An archived record as the comparison trace: its legend name, the short list the choice
// window offers (newest version per record, this model only, by text and slot), the
// reference read from the kept values of a real archive file, and the reasons given when the
// archive is missing or damaged (which is then left as it was, never created).
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "archive/archive_keeper.h"
#include "display/panel_texts.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/record_store.h"
#include "record/text_codes.h"
#include "shell/compare/archive_reference.h"

using namespace trellicap;

namespace {

QString keyOf(const ModelProfile& profile) {
    return QString::fromLatin1(profile.modelKey.data(),
                               static_cast<qsizetype>(profile.modelKey.size()));
}

// A whole record with one echo of `height` at sample `at`, taken at RANGE `range`.
std::vector<RecordValue> record(const ModelProfile& profile, int at, int height,
                                const QString& range) {
    RecordStore store(profile);
    store.initMemoryTable();
    auto c = store.column(0);
    for (int i = 0; i < 251; ++i) {
        c[static_cast<std::size_t>(i)] = static_cast<RecordValue>(i == at ? height : 4);
    }
    auto index = static_cast<std::size_t>(walkedIndex(profile, "txtrange").value());
    for (const RecordValue code : textToCodes(range.leftJustified(7))) {
        c[index++] = code;
    }
    return {c.begin(), c.end()};
}

TEST(ArchiveReference, TheLegendNamesTheSlotTheRecordAndWhereItCameFrom) {
    archive::KeptVersion fromFile;
    fromFile.uuid = QStringLiteral("{1a2b3c4d-0000-4000-8000-00000000000a}");
    fromFile.version = 2;
    fromFile.slot = 12;
    fromFile.source = QStringLiteral("file");
    fromFile.path = QStringLiteral("/jobs/north/Shift-North.dat");
    fromFile.arrived = QStringLiteral("2026-12-08T14:02:11+01:00");
    EXPECT_EQ(archiveReferenceName(fromFile),
              QStringLiteral("Archive Mem 12 (1a2b3c4d v2, Shift-North.dat)"));

    archive::KeptVersion captured = fromFile;
    captured.uuid = QStringLiteral("0f0e0d0c-1111-4000-8000-00000000000b");
    captured.version = 1;
    captured.slot = 3;
    captured.source = QStringLiteral("capture");
    captured.path.clear();
    EXPECT_EQ(archiveReferenceName(captured),
              QStringLiteral("Archive Mem 3 (0f0e0d0c v1, 2026-12-08 14:02)"));
}

class ArchiveReferenceModels : public ::testing::TestWithParam<const ModelProfile*> {};

TEST_P(ArchiveReferenceModels, TheNewestKeptVersionOfThisModelBecomesTheReference) {
    const ModelProfile& profile = *GetParam();
    const ModelProfile& other = &profile == &tft::kProfile ? dac::kProfile : tft::kProfile;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    const auto first = record(profile, 40, 70, QStringLiteral("200"));
    const auto edited = record(profile, 90, 55, QStringLiteral("200"));
    {
        archive::ArchiveKeeper keeper(profile, path);
        keeper.start();
        keeper.keepFiled(4, first, archive::Source::Capture);
        keeper.keepHeaderStore(4, edited);  // a second version of the same record
        QThread::msleep(5);                  // a later arrival, never the same millisecond
        keeper.keepFiled(9, record(profile, 10, 30, QStringLiteral("100")),
                         archive::Source::Unsolicited);
        archive::ArchiveKeeper otherModel(other, path);
        otherModel.start();
        otherModel.keepFiled(4, record(other, 40, 70, QStringLiteral("200")),
                             archive::Source::Capture);
        ASSERT_FALSE(keeper.failing());
        ASSERT_FALSE(otherModel.failing());
    }

    QString problem;
    const auto all = archiveChoices(path, keyOf(profile), {}, std::nullopt, 100, &problem);
    EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
    ASSERT_EQ(all.size(), 2u);  // one entry per record of this model, newest arrival first
    EXPECT_TRUE(all[0].label.startsWith(QLatin1String("Mem 10  "))) << all[0].label.toStdString();
    EXPECT_TRUE(all[0].label.contains(QLatin1String("unsolicited")));
    const auto slotFive = archiveChoices(path, keyOf(profile), {}, 5, 100, &problem);
    ASSERT_EQ(slotFive.size(), 1u);
    EXPECT_TRUE(slotFive[0].label.contains(QLatin1String("edit")));  // a header store
    EXPECT_EQ(archiveChoices(path, keyOf(profile), {}, std::nullopt, 1, &problem).size(), 1u);
    EXPECT_TRUE(
        archiveChoices(path, keyOf(profile), QStringLiteral("nobody"), 5, 100, &problem).empty());
    EXPECT_TRUE(problem.isEmpty());

    auto fetched = referenceFromArchiveFile(profile, path, slotFive[0].uuid);
    ASSERT_TRUE(std::holds_alternative<ReferenceTrace>(fetched));
    const auto& reference = std::get<ReferenceTrace>(fetched);
    EXPECT_TRUE(reference.name.startsWith(QLatin1String("Archive Mem 5 (")));
    EXPECT_TRUE(reference.name.contains(QLatin1String(" v2, ")));
    EXPECT_EQ(reference.range, QStringLiteral("200"));
    EXPECT_EQ(reference.samples[90], 55);  // the edited version, not the first
    EXPECT_EQ(reference.samples[40], 4);

    // The other model's record and an unknown one: a reason each.
    const auto otherChoices = archiveChoices(path, keyOf(other), {}, std::nullopt, 100, &problem);
    ASSERT_EQ(otherChoices.size(), 1u);
    auto wrongModel = referenceFromArchiveFile(profile, path, otherChoices[0].uuid);
    ASSERT_TRUE(std::holds_alternative<UserMessage>(wrongModel));
    EXPECT_TRUE(std::get<UserMessage>(wrongModel)
                    .text.contains(QStringLiteral("of the %1 model").arg(keyOf(other).toUpper())));
    auto unknown = referenceFromArchiveFile(profile, path, QStringLiteral("feedbeef-1-2-3-4"));
    ASSERT_TRUE(std::holds_alternative<UserMessage>(unknown));
    EXPECT_TRUE(std::get<UserMessage>(unknown).text.contains(QLatin1String("no record feedbeef")));
}

INSTANTIATE_TEST_SUITE_P(Models, ArchiveReferenceModels,
                         ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

TEST(ArchiveReference, AMissingOrDamagedArchiveGivesTheReasonAndStaysAsItWas) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("archive.sqlite"));
    QString problem;
    EXPECT_TRUE(
        archiveChoices(missing, QStringLiteral("tft"), {}, std::nullopt, 10, &problem).empty());
    EXPECT_EQ(problem, QStringLiteral("There is no archive at %1.").arg(missing));
    auto fetched = referenceFromArchiveFile(tft::kProfile, missing, QStringLiteral("1a2b3c4d"));
    ASSERT_TRUE(std::holds_alternative<UserMessage>(fetched));
    EXPECT_EQ(std::get<UserMessage>(fetched).text, problem);
    EXPECT_FALSE(QFileInfo::exists(missing));  // reading never creates one

    const QString damaged = dir.filePath(QStringLiteral("damaged.sqlite"));
    QFile garbage(damaged);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, '\x5a'));
    garbage.close();
    problem.clear();
    EXPECT_TRUE(
        archiveChoices(damaged, QStringLiteral("tft"), {}, std::nullopt, 10, &problem).empty());
    EXPECT_TRUE(problem.startsWith(QStringLiteral("The archive %1 cannot be read: ").arg(damaged)))
        << problem.toStdString();
    fetched = referenceFromArchiveFile(tft::kProfile, damaged, QStringLiteral("1a2b3c4d"));
    ASSERT_TRUE(std::holds_alternative<UserMessage>(fetched));
    EXPECT_TRUE(std::get<UserMessage>(fetched).text.contains(QLatin1String("cannot be read")));
    EXPECT_EQ(QFileInfo(damaged).size(), 8192);
}

}  // namespace
