// What a run that ended without its operator's choice leaves for the next start: the
// unsaved records, the record file the run had open with the slots still its own, File > New
// as a fresh start, and the guards that keep a doctored archive's records out of a table.
#include <gtest/gtest.h>

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "archive/archive_keeper.h"
#include "archive/archive_search.h"
#include "archive/kept_read.h"
#include "archive/kept_records.h"
#include "archive/record_codes.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/record_store.h"
#include "test_records.h"

namespace trellicap::archive {
namespace {

using test::ArchiveReader;
using test::keptRecord;

class RestoreOnDisk : public ::testing::Test {
protected:
    [[nodiscard]] QString path() const { return m_dir.filePath(QStringLiteral("archive.sqlite")); }

    // A record file as the disk holds it: the restore looks at its size and bytes only.
    QString recordFile(const QString& name, const QByteArray& bytes) {
        const QString file = m_dir.filePath(name);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return file;
    }

    RestoreOffer offerAtNextStart() {
        ArchiveKeeper next(m_tft, path());
        next.start();
        return next.restoreOffer();
    }

    QTemporaryDir m_dir;
    const ModelProfile& m_tft = tft::kProfile;
};

TEST_F(RestoreOnDisk, TheOfferCarriesTheOpenFileWithTheSlotsStillItsOwn) {
    const QString shift = recordFile(QStringLiteral("shift.dat"), QByteArray(5000, 'a'));
    const auto fileSlot2 = keptRecord(m_tft, 2, 1);
    const auto fileSlot5 = keptRecord(m_tft, 5, 2);
    const auto captured = keptRecord(m_tft, 5, 3, QStringLiteral("New capture"));
    {
        ArchiveKeeper killed(m_tft, path());
        killed.start();
        killed.keepLoaded(shift, {{2, fileSlot2}, {5, fileSlot5}});
        killed.keepFiled(4, captured, Source::Capture);  // slot 5 is the file's no longer
    }
    const RestoreOffer offer = offerAtNextStart();
    ASSERT_EQ(offer.items.size(), 1u);
    EXPECT_EQ(offer.items[0].slot, 5);
    EXPECT_EQ(offer.items[0].values, captured);
    ASSERT_TRUE(offer.file);
    EXPECT_EQ(offer.file->path, QFileInfo(shift).absoluteFilePath());
    EXPECT_EQ(offer.file->size, 5000);
    EXPECT_EQ(offer.file->hash, recordFileFacts(shift).hash);
    EXPECT_EQ(offer.file->unchangedSlots.size(), 199u);
    EXPECT_EQ(std::count(offer.file->unchangedSlots.begin(), offer.file->unchangedSlots.end(), 5),
              0);
    // The file's own record of slot 2 from the archive, for a file that changed since.
    ASSERT_EQ(offer.file->kept.size(), 1u);
    EXPECT_EQ(offer.file->kept[0].slot, 2);
    EXPECT_EQ(offer.file->kept[0].values, fileSlot2);
    EXPECT_TRUE(offer.refused.isEmpty());

    QString why;
    EXPECT_TRUE(fileUnchanged(*offer.file, &why)) << why.toStdString();
    recordFile(QStringLiteral("shift.dat"), QByteArray(5000, 'b'));  // same size, other bytes
    EXPECT_FALSE(fileUnchanged(*offer.file, &why));
    EXPECT_EQ(why, QStringLiteral("%1 was changed since").arg(offer.file->path));
    QFile::remove(shift);
    EXPECT_FALSE(fileUnchanged(*offer.file, &why));
    EXPECT_EQ(why, QStringLiteral("%1 is gone").arg(offer.file->path));
}

TEST_F(RestoreOnDisk, ASaveMakesTheSavedFileTheRunsAndAPartialLoadMakesItNoFiles) {
    const QString first = recordFile(QStringLiteral("first.dat"), QByteArray(100, 'x'));
    const QString second = recordFile(QStringLiteral("second.dat"), QByteArray(200, 'y'));
    {
        ArchiveKeeper killed(m_tft, path());
        killed.start();
        killed.keepLoaded(first, {{1, keptRecord(m_tft, 1, 1)}});
        killed.noteSaved(second);
        killed.keepFiled(6, keptRecord(m_tft, 7, 2), Source::Capture);
    }
    RestoreOffer offer = offerAtNextStart();
    ASSERT_TRUE(offer.file);
    EXPECT_EQ(offer.file->path, QFileInfo(second).absoluteFilePath());
    EXPECT_EQ(offer.file->size, 200);
    EXPECT_EQ(offer.file->unchangedSlots.size(), 199u);
    {
        ArchiveKeeper taken(m_tft, path());
        taken.start();
        taken.restoreTaken();
        taken.endRunCleanly();
    }
    {
        ArchiveKeeper killed(m_tft, path());
        killed.start();
        killed.keepLoaded(first, {{1, keptRecord(m_tft, 1, 1)}}, false);  // "the part read"
        killed.keepFiled(2, keptRecord(m_tft, 3, 3), Source::Capture);
    }
    offer = offerAtNextStart();
    EXPECT_EQ(offer.items.size(), 1u);
    EXPECT_FALSE(offer.file);
}

TEST_F(RestoreOnDisk, NewIsAFreshStartNothingDiscardedIsOfferedOrNotedAsSaved) {
    const auto discarded = keptRecord(m_tft, 1, 1, QStringLiteral("Discarded"));
    const auto kept = keptRecord(m_tft, 2, 2, QStringLiteral("Kept"));
    const QString file = recordFile(QStringLiteral("after-new.dat"), QByteArray(10, 'z'));
    {
        ArchiveKeeper killed(m_tft, path());
        killed.start();
        killed.keepLoaded(recordFile(QStringLiteral("old.dat"), QByteArray(10, 'o')),
                          {{5, keptRecord(m_tft, 5, 5)}});
        killed.keepFiled(0, discarded, Source::Capture);
        killed.keepCleared();
        killed.keepFiled(1, kept, Source::Capture);
        killed.noteSaved(file);
        killed.keepCleared();
        killed.keepFiled(7, keptRecord(m_tft, 8, 8), Source::Capture);
        EXPECT_FALSE(killed.failing()) << killed.statusText().toStdString();
    }
    // Saved in: only what the saved file held (slot 2), never the discarded slot 1 or the
    // file's slot 5 that New cleared.
    {
        ArchiveReader reader(path());
        SearchFilter all;
        all.allVersions = true;
        QString error;
        for (const KeptVersion& version : searchArchive(reader.db(), all, &error)) {
            EXPECT_EQ(version.savedIn.size(), version.slot == 2 ? 1 : 0) << version.slot;
        }
    }
    const RestoreOffer offer = offerAtNextStart();
    ASSERT_EQ(offer.items.size(), 1u);
    EXPECT_EQ(offer.items[0].slot, 8);
    EXPECT_FALSE(offer.file);  // New made the table no file's
}

// Versions a doctored archive holds, each one wrong in its own way.
class DoctoredArchive : public RestoreOnDisk {
protected:
    void SetUp() override {
        {
            ArchiveKeeper killed(m_tft, path());
            killed.start();
            for (int column = 0; column < 5; ++column) {
                killed.keepFiled(column, keptRecord(m_tft, column + 1, column), Source::Capture);
            }
        }
        ArchiveReader reader(path());
        QSqlQuery query(reader.db());
        query.exec(QStringLiteral("SELECT uuid, slot FROM record_versions ORDER BY slot"));
        while (query.next()) {
            m_uuids.append(query.value(0).toString());
        }
        ASSERT_EQ(m_uuids.size(), 5);
        const auto change = [&reader](const QString& sql, const QVariantList& values) {
            QSqlQuery update(reader.db());
            update.prepare(sql);
            for (const QVariant& value : values) {
                update.addBindValue(value);
            }
            ASSERT_TRUE(update.exec()) << sql.toStdString();
        };
        // Slot 0 and slot 201, everywhere the slot is kept.
        for (const auto& [uuid, slot] : {std::pair{m_uuids[0], 0}, std::pair{m_uuids[1], 201}}) {
            change(QStringLiteral("UPDATE record_versions SET slot = ? WHERE uuid = ?"),
                   {slot, uuid});
            change(QStringLiteral("UPDATE records SET slot = ? WHERE uuid = ?"), {slot, uuid});
            change(QStringLiteral("UPDATE run_slots SET slot = ? WHERE uuid = ?"), {slot, uuid});
        }
        // A record cut short (650 values, as the other model's), and one of the other model.
        change(QStringLiteral("UPDATE record_values SET codes = ?, packing = 0 WHERE uuid = ?"),
               {encodeRecord(std::vector<RecordValue>(650, 32)), m_uuids[2]});
        change(QStringLiteral("UPDATE record_versions SET model = 'dac' WHERE uuid = ?"),
               {m_uuids[3]});
    }

    QStringList m_uuids;
};

TEST_F(DoctoredArchive, TheRestoreOfferLeavesOutWhatCannotGoIntoATableAndNamesIt) {
    const RestoreOffer offer = offerAtNextStart();
    ASSERT_EQ(offer.items.size(), 1u);  // the one sound record
    EXPECT_EQ(offer.items[0].uuid, m_uuids[4]);
    ASSERT_EQ(offer.refused.size(), 4);
    const QString all = offer.refused.join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(
        QStringLiteral("%1 version 1 names slot 0, not one of 1 to 200").arg(m_uuids[0])))
        << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("%1 version 1 names slot 201").arg(m_uuids[1])));
    EXPECT_TRUE(
        all.contains(QStringLiteral("%1 version 1 holds 650 values where a tft record holds 701")
                         .arg(m_uuids[2])));
    EXPECT_TRUE(
        all.contains(QStringLiteral("%1 version 1 is of the dac model, not tft").arg(m_uuids[3])));
}

TEST_F(DoctoredArchive, ReadingBackForATableOrAnExportRefusesNamingTheRecord) {
    ArchiveReader reader(path());
    for (int i = 0; i < 4; ++i) {
        const KeptRead read = readKeptRecord(reader.db(), m_uuids[i], 0, m_tft);
        EXPECT_FALSE(read.ok()) << i;
        EXPECT_TRUE(read.refusal.contains(m_uuids[i] + QStringLiteral(" version 1")))
            << read.refusal.toStdString();
        RecordStore store(m_tft);
        const KeptTable table = tableFromKept(reader.db(), {m_uuids[4], m_uuids[i]}, store);
        EXPECT_EQ(table.error, read.refusal);
    }
    const KeptRead sound = readKeptRecord(reader.db(), m_uuids[4], 1, m_tft);
    ASSERT_TRUE(sound.ok()) << sound.refusal.toStdString();
    EXPECT_EQ(sound.record->values, keptRecord(m_tft, 5, 4));
    EXPECT_EQ(readKeptRecord(reader.db(), m_uuids[4], 2, m_tft).refusal,
              QStringLiteral("the archive holds no record %1 version 2").arg(m_uuids[4]));
    // The DAC program takes the record the doctor made a DAC one only if it has a DAC's
    // length: it has not.
    EXPECT_FALSE(readKeptRecord(reader.db(), m_uuids[3], 0, dac::kProfile).ok());
}

}  // namespace
}  // namespace trellicap::archive
