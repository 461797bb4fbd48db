#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "archive/archive_keeper.h"
#include "archive/archive_search.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "test_records.h"

namespace trellicap::archive {
namespace {

using test::ArchiveReader;
using test::keptRecord;

class KeeperOnDisk : public ::testing::Test {
protected:
    [[nodiscard]] QString path() const { return m_dir.filePath(QStringLiteral("archive.sqlite")); }

    std::vector<KeptVersion> all(ArchiveReader& reader, bool allVersions = true) {
        SearchFilter filter;
        filter.allVersions = allVersions;
        QString error;
        auto found = searchArchive(reader.db(), filter, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return found;
    }

    QTemporaryDir m_dir;
    const ModelProfile& m_tft = tft::kProfile;
};

const KeptVersion* bySource(const std::vector<KeptVersion>& found, const QString& source) {
    for (const KeptVersion& kept : found) {
        if (kept.source == source) {
            return &kept;
        }
    }
    return nullptr;
}

TEST_F(KeeperOnDisk, EveryRoadKeepsTheWholeColumnWithWhereItCameFrom) {
    const auto captured = keptRecord(m_tft, 3, 1);
    const auto unsolicited = keptRecord(m_tft, 5, 2);
    const auto restored = keptRecord(m_tft, 9, 3);
    {
        ArchiveKeeper keeper(m_tft, path());
        keeper.start();
        keeper.keepFiled(2, captured, Source::Capture);
        keeper.keepFiled(4, unsolicited, Source::Unsolicited);
        auto edited = captured;
        edited[561] = 'K';  // the operator's first letter, typed again and stored
        keeper.keepHeaderStore(2, edited);
        keeper.keepLoaded(QStringLiteral("/site/North Yard.dat"),
                          {{7, keptRecord(m_tft, 7, 4)}, {8, keptRecord(m_tft, 8, 5)}});
        keeper.keepFiled(8, restored, Source::Restore);
        EXPECT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
        EXPECT_EQ(keeper.waiting(), 0);
    }
    ArchiveReader reader(path());
    const auto found = all(reader);
    ASSERT_EQ(found.size(), 6u);
    const KeptVersion* unsolicitedKept = bySource(found, QStringLiteral("unsolicited"));
    ASSERT_TRUE(unsolicitedKept);
    EXPECT_EQ(unsolicitedKept->slot, 5);
    EXPECT_EQ(unsolicitedKept->model, QStringLiteral("tft"));
    EXPECT_EQ(unsolicitedKept->version, 1);
    EXPECT_EQ(unsolicitedKept->range, QStringLiteral("250"));
    EXPECT_EQ(unsolicitedKept->timeDate, QStringLiteral("2026-12-08T14:02"));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d$)"))
            .match(unsolicitedKept->arrived)
            .hasMatch())
        << unsolicitedKept->arrived.toStdString();
    ASSERT_FALSE(unsolicitedKept->header.empty());
    EXPECT_EQ(unsolicitedKept->header[0],
              std::make_pair(QStringLiteral("txtopname"), QStringLiteral("J. Smith")));
    EXPECT_EQ(keptValues(reader.db(), unsolicitedKept->uuid, 1, m_tft.recordSize()), unsolicited);

    const KeptVersion* fromFile = bySource(found, QStringLiteral("file"));
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(fromFile->path, QStringLiteral("/site/North Yard.dat"));
    ASSERT_TRUE(bySource(found, QStringLiteral("restore")));
    EXPECT_EQ(bySource(found, QStringLiteral("restore"))->slot, 9);

    // The header store is version 2 of the captured record, labelled as an edit.
    std::vector<const KeptVersion*> slot3;
    for (const KeptVersion& kept : found) {
        if (kept.slot == 3) {
            slot3.push_back(&kept);
        }
    }
    ASSERT_EQ(slot3.size(), 2u);
    EXPECT_EQ(slot3[0]->uuid, slot3[1]->uuid);
    EXPECT_EQ(slot3[0]->source,
              slot3[0]->version == 1 ? QStringLiteral("capture") : QStringLiteral("edit"));
    EXPECT_EQ(slot3[1]->source,
              slot3[1]->version == 1 ? QStringLiteral("capture") : QStringLiteral("edit"));
    EXPECT_EQ(slot3[0]->version + slot3[1]->version, 3);
    const auto newest = newestVersion(reader.db(), slot3[0]->uuid);
    ASSERT_TRUE(newest);
    EXPECT_EQ(newest->version, 2);
    EXPECT_EQ(newest->header[0].second, QStringLiteral("K. Smith"));
    EXPECT_EQ(all(reader, false).size(), 5u);
}

TEST_F(KeeperOnDisk, ARecordWithoutTextIsKeptAndFoundByItsSlot) {
    // A slot at its start values, header stored with empty boxes: no text anywhere.
    std::vector<RecordValue> empty(static_cast<std::size_t>(m_tft.recordSize()), 0);
    {
        ArchiveKeeper keeper(m_tft, path());
        keeper.start();
        keeper.keepHeaderStore(41, empty);
        EXPECT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
    }
    ArchiveReader reader(path());
    const auto found = all(reader);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].slot, 42);
    EXPECT_EQ(found[0].source, QStringLiteral("edit"));
    EXPECT_TRUE(found[0].range.isEmpty());
}

TEST_F(KeeperOnDisk, ValuesKeptBeforeAreNotStoredAgainButTheirArrivalIsNoted) {
    const std::vector<SlotValues> file = {{1, keptRecord(m_tft, 1, 1)},
                                          {2, keptRecord(m_tft, 2, 2)}};
    {
        ArchiveKeeper keeper(m_tft, path());
        keeper.start();
        keeper.keepLoaded(QStringLiteral("/a/shift.dat"), file);
        keeper.keepLoaded(QStringLiteral("/a/shift.dat"), file);
        keeper.keepFiled(0, file[0].values, Source::Capture);
        // The same values in another slot or of the other model are another record.
        keeper.keepFiled(5, file[0].values, Source::Capture);
    }
    {
        ArchiveKeeper dac(dac::kProfile, path());
        dac.start();
        dac.keepFiled(0, keptRecord(dac::kProfile, 1, 1), Source::Capture);
    }
    ArchiveReader reader(path());
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM record_versions")), 4);
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM arrivals")), 3);
    EXPECT_EQ(
        reader.count(QStringLiteral("SELECT COUNT(*) FROM arrivals WHERE source = 'capture'")), 1);
}

TEST_F(KeeperOnDisk, ASaveNotesItsFileAndTheFileNameIsFoundButNotItsFolder) {
    {
        ArchiveKeeper keeper(m_tft, path());
        keeper.start();
        keeper.keepFiled(0, keptRecord(m_tft, 1, 1, QStringLiteral("Ann Lee")), Source::Capture);
        keeper.keepFiled(1, keptRecord(m_tft, 2, 2, QStringLiteral("Bo Chan")), Source::Capture);
        keeper.noteSaved(QStringLiteral("/jobs/Folderq/Bridge-7.dat"));
        keeper.noteSaved(QStringLiteral("/jobs/Folderq/Bridge-7.dat"));
    }
    ArchiveReader reader(path());
    const auto found = all(reader);
    ASSERT_EQ(found.size(), 2u);
    for (const KeptVersion& kept : found) {
        EXPECT_EQ(kept.savedIn, QStringList{QStringLiteral("/jobs/Folderq/Bridge-7.dat")});
    }
    const auto search = [&reader](const QString& text) {
        SearchFilter filter;
        filter.text = text;
        QString error;
        return searchArchive(reader.db(), filter, &error).size();
    };
    EXPECT_EQ(search(QStringLiteral("bridge-7")), 2u);
    EXPECT_EQ(search(QStringLiteral("ANN")), 1u);
    EXPECT_EQ(search(QStringLiteral("folderq")), 0u);
    EXPECT_EQ(search(QStringLiteral("%")), 0u);
    EXPECT_EQ(search(QStringLiteral("lee")), 1u);
}

TEST_F(KeeperOnDisk, WhatAnUncleanRunLeftUnsavedIsOfferedOnceValueForValue) {
    const auto first = keptRecord(m_tft, 1, 1);
    const auto second = keptRecord(m_tft, 2, 2);
    const auto third = keptRecord(m_tft, 3, 3);
    {
        ArchiveKeeper killed(m_tft, path());
        killed.start();
        killed.keepFiled(0, first, Source::Capture);
        killed.noteSaved(QStringLiteral("/a/saved.dat"));
        killed.keepFiled(1, second, Source::Capture);
        killed.keepFiled(2, third, Source::Unsolicited);
        // No endRunCleanly: the process died here.
    }
    {
        ArchiveKeeper next(m_tft, path());
        next.start();
        const RestoreOffer& offer = next.restoreOffer();
        ASSERT_EQ(offer.items.size(), 2u);
        EXPECT_EQ(offer.items[0].slot, 2);
        EXPECT_EQ(offer.items[0].values, second);
        EXPECT_EQ(offer.items[1].slot, 3);
        EXPECT_EQ(offer.items[1].values, third);
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^2 records captured on [A-Z][a-z]+day \\d\\d:\\d\\d "
                                              "were not saved to a record file\\.$"))
                .match(restoreNoticeText(offer))
                .hasMatch())
            << restoreNoticeText(offer).toStdString();
        // The DAC program has nothing of the TFT's to restore.
        ArchiveKeeper dac(dac::kProfile, path());
        dac.start();
        EXPECT_TRUE(dac.restoreOffer().empty());
        dac.endRunCleanly();

        for (const RestoreItem& item : offer.items) {
            next.keepFiled(item.slot - 1, item.values, Source::Restore);
        }
        next.restoreTaken();
        next.endRunCleanly();
    }
    ArchiveKeeper after(m_tft, path());
    after.start();
    EXPECT_TRUE(after.restoreOffer().empty());
    ArchiveReader reader(path());
    // Restoring identical values added arrivals, no versions.
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM record_versions")), 3);
    EXPECT_EQ(
        reader.count(QStringLiteral("SELECT COUNT(*) FROM arrivals WHERE source = 'restore'")), 2);
}

TEST_F(KeeperOnDisk, NotNowLeavesTheOfferForTheNextStart) {
    {
        ArchiveKeeper killed(m_tft, path());
        killed.start();
        killed.keepFiled(0, keptRecord(m_tft, 1, 1), Source::Capture);
    }
    {
        ArchiveKeeper declined(m_tft, path());
        declined.start();
        EXPECT_EQ(declined.restoreOffer().items.size(), 1u);
        declined.endRunCleanly();
    }
    ArchiveKeeper again(m_tft, path());
    again.start();
    EXPECT_EQ(again.restoreOffer().items.size(), 1u);
}

}  // namespace
}  // namespace trellicap::archive
