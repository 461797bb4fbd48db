// The free-text search through the trigram index finds exactly what the scan over the
// search texts found, in the same order, whatever the text holds and however much of the
// archive the index holds yet (versions are indexed after their commit); a run killed before
// its idle time leaves an archive that is searchable at once and catches up; and archives of
// schema versions 3 and 5 come to the current one with everything they held, indexed.
#include <gtest/gtest.h>

#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "archive/archive_checks.h"
#include "archive/archive_file.h"
#include "archive/archive_keeper.h"
#include "archive/archive_schema.h"
#include "archive/archive_search.h"
#include "archive/search_index.h"
#include "archive_filler.h"
#include "profiles/tft.h"
#include "test_records.h"
#include "tricky_texts.h"

namespace trellicap::archive {
namespace {

using test::ArchiveFiller;
using test::ArchiveReader;
using test::keptRecord;

using Found = std::vector<std::pair<QString, int>>;

// The search as the scan does it (LIKE over the search text), whatever the database offers.
Found byScan(QSqlDatabase& db, const SearchFilter& filter) {
    const SearchQuery search = searchQuery(filter);
    QSqlQuery query(db);
    query.prepare(search.sql);
    for (const QVariant& value : search.values) {
        query.addBindValue(value);
    }
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    Found found;
    while (query.next()) {
        found.emplace_back(query.value(kColUuid).toString(), query.value(kColVersion).toInt());
    }
    return found;
}

Found byIndex(QSqlDatabase& db, const SearchFilter& filter) {
    QString error;
    Found found;
    for (const KeptVersion& kept : searchArchive(db, filter, &error)) {
        found.emplace_back(kept.uuid, kept.version);
    }
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return found;
}

// Every search of `texts` (newest versions and all, within a slot, within dates) finds what
// the scan finds, in its order.
void expectSearchesAsTheScan(QSqlDatabase& db, const QStringList& texts, const char* when) {
    for (const QString& text : texts) {
        for (const bool allVersions : {false, true}) {
            SearchFilter filter;
            filter.text = text;
            filter.allVersions = allVersions;
            EXPECT_EQ(byIndex(db, filter), byScan(db, filter)) << text.toStdString() << " " << when;
            filter.slot = 6;
            EXPECT_EQ(byIndex(db, filter), byScan(db, filter))
                << text.toStdString() << " in slot 6 " << when;
            filter.slot.reset();
            filter.fromMs = 0;
            EXPECT_EQ(byIndex(db, filter), byScan(db, filter))
                << text.toStdString() << " dated " << when;
        }
    }
}

qint64 indexMark(QSqlDatabase& db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT up_to FROM search_indexed")) && query.next()
               ? query.value(0).toLongLong()
               : -1;
}

// The index asked directly, every rowid as often as it names it, against the versions up to
// its mark whose text holds the phrase: a version indexed twice, one missing, or one that an
// unguarded 'delete' damaged shows here.
void expectIndexHoldsTheTextsUpToItsMark(QSqlDatabase& db, const QStringList& texts) {
    const qint64 mark = indexMark(db);
    for (const QString& text : texts) {
        const QString lower = text.toLower();
        if (lower.toUcs4().size() < 3) {
            continue;  // the trigram index holds runs of three and more
        }
        QString phrase = lower;
        phrase.replace(QLatin1Char('"'), QLatin1String("\"\""));
        QString like = lower;
        like.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
            .replace(QLatin1Char('%'), QLatin1String("\\%"))
            .replace(QLatin1Char('_'), QLatin1String("\\_"));
        QSqlQuery match(db);
        match.prepare(QStringLiteral(
            "SELECT rowid FROM version_search WHERE version_search MATCH ? ORDER BY rowid"));
        match.addBindValue(QLatin1Char('"') + phrase + QLatin1Char('"'));
        QSqlQuery scan(db);
        scan.prepare(
            QStringLiteral("SELECT rowid FROM record_versions WHERE rowid <= ? AND search_text"
                           " LIKE ? ESCAPE '\\' ORDER BY rowid"));
        scan.addBindValue(mark);
        scan.addBindValue(QLatin1Char('%') + like + QLatin1Char('%'));
        ASSERT_TRUE(match.exec()) << match.lastError().text().toStdString();
        ASSERT_TRUE(scan.exec()) << scan.lastError().text().toStdString();
        std::vector<qint64> indexed;
        std::vector<qint64> scanned;
        while (match.next()) {
            indexed.push_back(match.value(0).toLongLong());
        }
        while (scan.next()) {
            scanned.push_back(scan.value(0).toLongLong());
        }
        EXPECT_EQ(indexed, scanned) << text.toStdString() << " up to " << mark;
    }
}

TEST(TextIndex, FindsWhatTheScanFoundForEveryKindOfText) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    const ModelProfile& tft = tft::kProfile;
    const QStringList names = test::trickyNames();
    {
        ArchiveKeeper keeper(tft, path);
        keeper.start();
        for (int i = 0; i < names.size(); ++i) {
            keeper.keepFiled(i, keptRecord(tft, i + 1, i, names[i]), Source::Capture);
        }
        keeper.noteSaved(dir.filePath(test::trickyFileNames()[0]));
        // Second versions by "S  A  V  E", for the newest-only and all-versions searches.
        keeper.keepHeaderStore(0, keptRecord(tft, 1, 0, QStringLiteral("Zoë Schmidt")));
        keeper.keepHeaderStore(5, keptRecord(tft, 6, 5, QStringLiteral("O'Neil")));
        keeper.noteSaved(dir.filePath(test::trickyFileNames()[1]));
        keeper.endRunCleanly();
        ASSERT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
    }
    ArchiveReader reader(path);
    ASSERT_TRUE(searchPlaceOf(reader.db()).textIndex);
    // Every version in the index, as the keeper's idle time leaves it.
    ASSERT_TRUE(indexAllNewVersions(reader.db()));
    ASSERT_EQ(versionsAwaitingIndex(reader.db()), 0);
    const QStringList texts = test::trickySearches();
    int found = 0;
    for (const QString& text : texts) {
        for (const bool allVersions : {false, true}) {
            SearchFilter filter;
            filter.text = text;
            filter.allVersions = allVersions;
            const Found scanned = byScan(reader.db(), filter);
            EXPECT_EQ(byIndex(reader.db(), filter), scanned)
                << text.toStdString() << (allVersions ? " (all versions)" : "");
            found += static_cast<int>(scanned.size());
            filter.slot = 6;
            EXPECT_EQ(byIndex(reader.db(), filter), byScan(reader.db(), filter))
                << text.toStdString() << " in slot 6";
            // Within dates: looked for in the range's versions, no text index.
            filter.slot.reset();
            filter.fromMs = 0;
            EXPECT_EQ(byIndex(reader.db(), filter), scanned) << text.toStdString() << " dated";
        }
    }
    EXPECT_GT(found, 60);  // the texts do find records: the comparison is not of nothing
    SearchFilter accent;
    accent.text = QStringLiteral("zoë");
    EXPECT_EQ(byIndex(reader.db(), accent).size(), 2u);  // "Zoë Schmidt", "ZOË MÜLLER"
    // The first file's name: every record saved there, but the two edited since.
    accent.text = QStringLiteral("north_50%");
    EXPECT_EQ(byIndex(reader.db(), accent).size(), static_cast<std::size_t>(names.size() - 2));
}

TEST(TextIndex, FindsWhatTheScanFindsWithTheIndexMarkAnywhere) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    const ModelProfile& tft = tft::kProfile;
    const QStringList names = test::trickyNames();
    const QStringList texts = test::trickySearches();
    ArchiveKeeper keeper(tft, path);  // its idle time never comes: no event loop runs here
    keeper.start();
    for (int i = 0; i < names.size(); ++i) {
        keeper.keepFiled(i, keptRecord(tft, i + 1, i, names[i]), Source::Capture);
    }
    ASSERT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
    ArchiveReader reader(path);
    ASSERT_TRUE(searchPlaceOf(reader.db()).indexMark);
    // A capture's commit leaves its version out of the index.
    EXPECT_EQ(versionsAwaitingIndex(reader.db()), names.size());
    expectSearchesAsTheScan(reader.db(), texts, "with nothing indexed");

    // The mark in the middle, then a save: the file's name joins the texts of versions on
    // both sides of the mark (the index follows those at or below it), and edits add
    // versions after it.
    IndexStep step = indexNewVersions(reader.db(), 6);
    ASSERT_TRUE(step.ok) << step.error.toStdString();
    EXPECT_EQ(step.indexed, 6);
    EXPECT_TRUE(step.more);
    EXPECT_EQ(versionsAwaitingIndex(reader.db()), names.size() - 6);
    expectSearchesAsTheScan(reader.db(), texts, "with six indexed");
    keeper.noteSaved(dir.filePath(test::trickyFileNames()[0]));
    keeper.keepHeaderStore(0, keptRecord(tft, 1, 0, QStringLiteral("Zoë Schmidt")));
    keeper.keepHeaderStore(8, keptRecord(tft, 9, 8, QStringLiteral("O'Neil")));
    ASSERT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
    expectSearchesAsTheScan(reader.db(), texts, "saved, six indexed");
    expectIndexHoldsTheTextsUpToItsMark(reader.db(), texts);

    step = indexNewVersions(reader.db(), 5);
    ASSERT_TRUE(step.ok) << step.error.toStdString();
    keeper.noteSaved(dir.filePath(test::trickyFileNames()[1]));
    ASSERT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
    expectSearchesAsTheScan(reader.db(), texts, "saved twice, eleven indexed");
    expectIndexHoldsTheTextsUpToItsMark(reader.db(), texts);

    ASSERT_TRUE(indexAllNewVersions(reader.db()));
    EXPECT_EQ(versionsAwaitingIndex(reader.db()), 0);
    EXPECT_EQ(indexMark(reader.db()),
              reader.count(QStringLiteral("SELECT MAX(rowid) FROM record_versions")));
    expectSearchesAsTheScan(reader.db(), texts, "all indexed");
    expectIndexHoldsTheTextsUpToItsMark(reader.db(), texts);
    const IntegrityCheck check = checkIntegrity(reader.db());
    EXPECT_TRUE(check.error.isEmpty() && check.problems.isEmpty())
        << check.error.toStdString() << check.problems.join(QLatin1Char('\n')).toStdString();
    // Nothing waits: a second pass writes nothing.
    step = indexNewVersions(reader.db());
    EXPECT_TRUE(step.ok && step.indexed == 0 && !step.more);
}

TEST(TextIndex, ARunThatEndsLeavesWhatItKeptIndexed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    {
        ArchiveKeeper keeper(tft::kProfile, path);  // no idle time: it ends right away
        keeper.start();
        for (int i = 0; i < 30; ++i) {
            keeper.keepFiled(i, keptRecord(tft::kProfile, i + 1, i, QStringLiteral("Ann")),
                             Source::Capture);
        }
        keeper.endRunCleanly();
        ArchiveReader during(path);
        EXPECT_EQ(versionsAwaitingIndex(during.db()), 30);
    }
    ArchiveReader after(path);
    EXPECT_EQ(versionsAwaitingIndex(after.db()), 0);
    EXPECT_EQ(after.count(QStringLiteral("SELECT COUNT(*) FROM version_search")), 30);
}

// While captures follow each other, the idle time between two leaves a few versions waiting
// (indexing after every capture cost more than the capture), catches up once some dozens
// wait, and indexes the rest when the inspector pauses.
TEST(TextIndex, TheIdleTimeIndexesOnceEnoughWaitsOrTheInspectorPauses) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    ArchiveKeeper keeper(tft::kProfile, path);
    keeper.setCheckpointDelay(5);
    keeper.setQuietTime(60000);
    keeper.start();
    int kept = 0;
    const auto keep = [&](int count) {
        for (int i = 0; i < count; ++i, ++kept) {
            keeper.keepFiled(kept % kSlotCount,
                             keptRecord(tft::kProfile, kept % kSlotCount + 1, kept,
                                        QStringLiteral("Ann %1").arg(kept)),
                             Source::Capture);
        }
    };
    ArchiveReader reader(path);
    keep(3);
    QTest::qWait(200);
    EXPECT_EQ(versionsAwaitingIndex(reader.db()), 3);

    keeper.setQuietTime(50);  // the pause after the next capture
    keep(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return versionsAwaitingIndex(reader.db()) == 0; }, 20000));

    keeper.setQuietTime(60000);
    keep(40);
    EXPECT_TRUE(QTest::qWaitFor([&] { return versionsAwaitingIndex(reader.db()) == 0; }, 20000))
        << versionsAwaitingIndex(reader.db()) << " still wait";
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM version_search")), 44);
    EXPECT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
}

#ifdef Q_OS_UNIX
TEST(TextIndex, ARunKilledBeforeItsIdleTimeLeavesASearchableArchiveThatCatchesUp) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    constexpr int kKept = 1100;  // more than two of the keeper's slices of the index
    QProcess run;
    run.start(QStringLiteral(ARCHIVE_KEEPING_CHILD), {path, QString::number(kKept)});
    ASSERT_TRUE(run.waitForReadyRead(120000)) << run.readAllStandardError().toStdString();
    ASSERT_EQ(run.readLine().trimmed(), QByteArray("kept ") + QByteArray::number(kKept));
    run.kill();
    ASSERT_TRUE(run.waitForFinished(20000));

    QStringList texts = test::trickySearches();
    texts << QStringLiteral("zoë müller 7") << QStringLiteral("o'brien 1")
          << QStringLiteral("shift-north");
    ArchiveReader reader(path);
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM record_versions")), kKept);
    EXPECT_EQ(versionsAwaitingIndex(reader.db()), kKept);
    expectSearchesAsTheScan(reader.db(), texts, "after the kill");
    SearchFilter saved;
    saved.text = QStringLiteral("north_50%");
    QString error;
    EXPECT_EQ(searchArchive(reader.db(), saved, &error).size(), 200u) << error.toStdString();

    // The next run's keeper brings the index up to date in its idle time, a slice at a time.
    ArchiveKeeper next(tft::kProfile, path);
    next.setCheckpointDelay(10);
    next.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return versionsAwaitingIndex(reader.db()) == 0; }, 60000))
        << versionsAwaitingIndex(reader.db()) << " still wait";
    EXPECT_FALSE(next.failing());
    expectSearchesAsTheScan(reader.db(), texts, "caught up");
    expectIndexHoldsTheTextsUpToItsMark(reader.db(), texts);
    EXPECT_EQ(searchArchive(reader.db(), saved, &error).size(), 200u) << error.toStdString();
}
#endif

TEST(TextIndex, AVersionFiveArchiveKeepsItsIndexAndIndexesLaterVersionsAfterTheirCommit) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    std::vector<test::FilledVersion> filled;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v5"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(migrateSchema(db, 5).ok);
        ArchiveFiller filler(db);
        filled = filler.addRecords(300);  // indexed by version 5's triggers as they arrive
        ASSERT_EQ(filled.size(), 300u) << filler.error().toStdString();
        ASSERT_TRUE(filler.addSavedIn(filled[3].uuid, 1, QStringLiteral("/jobs/Bridge-7.dat")));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("v5"));
    }
    ArchiveFile file(path);
    ASSERT_FALSE(file.open());
    EXPECT_EQ(schemaVersion(file.db()), kSchemaVersion);
    ArchiveReader reader(path);
    EXPECT_EQ(versionsAwaitingIndex(reader.db()), 0);
    EXPECT_EQ(indexMark(reader.db()), 300);
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM version_search")), 300);
    EXPECT_EQ(reader.count(QStringLiteral(
                  "SELECT COUNT(*) FROM sqlite_master WHERE name = 'saved_in_version'")),
              0);
    // A version kept now waits for the index; an older one whose text changes (its record
    // saved into a file) is found by its new text at once, through the index.
    ArchiveFiller later(file.db());
    ASSERT_EQ(later.addRecords(20, QStringLiteral("tft"), QStringLiteral("Later")).size(), 20u);
    QSqlQuery rename(file.db());
    ASSERT_TRUE(rename.exec(
        QStringLiteral("UPDATE record_versions SET search_text = search_text || ' north-pier.dat'"
                       " WHERE rowid IN (5, 310)")));
    EXPECT_EQ(versionsAwaitingIndex(reader.db()), 20);
    const QStringList texts = {QStringLiteral("north-pier"), QStringLiteral("site later"),
                               QStringLiteral("operator 12"), QStringLiteral("site a")};
    expectSearchesAsTheScan(reader.db(), texts, "migrated, twenty unindexed");
    expectIndexHoldsTheTextsUpToItsMark(reader.db(), texts);
    ASSERT_TRUE(indexAllNewVersions(reader.db()));
    expectSearchesAsTheScan(reader.db(), texts, "migrated, all indexed");
    expectIndexHoldsTheTextsUpToItsMark(reader.db(), texts);
    SearchFilter renamed;
    renamed.text = QStringLiteral("north-pier");
    renamed.allVersions = true;
    EXPECT_EQ(byIndex(reader.db(), renamed).size(), 2u);
}

TEST(TextIndex, AVersionThreeArchiveOfTenThousandRecordsKeepsEverythingAndIsIndexed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    std::vector<test::FilledVersion> filled;
    std::vector<QByteArray> blobs;
    const QStringList tables = {
        QStringLiteral("records"),       QStringLiteral("record_versions"),
        QStringLiteral("record_values"), QStringLiteral("saved_in"),
        QStringLiteral("runs"),          QStringLiteral("run_slots"),
        QStringLiteral("arrivals"),      QStringLiteral("sync_sent"),
        QStringLiteral("archive_info"),
    };
    std::map<QString, int> before;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v3"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(migrateSchema(db, 3).ok);
        ArchiveFiller filler(db);
        filled = filler.addRecords(10000);
        ASSERT_EQ(filled.size(), 10000u) << filler.error().toStdString();
        // A second version (a header store of that time, labelled as its record's source),
        // a save, a run with its slot and a sync mark.
        ASSERT_TRUE(filler.addVersion(filled[7].uuid, 2, QStringLiteral("tft"), 8, 77,
                                      QStringLiteral("Edited")));
        ASSERT_TRUE(filler.addSavedIn(filled[3].uuid, 1, QStringLiteral("/jobs/Bridge-7.dat")));
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral(
            "INSERT INTO runs VALUES ('r1', 'tft', '2026-12-08T14:00:00+01:00', 0, 0, 0)")));
        ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO run_slots VALUES ('r1', 4, '%1', 1, 1)")
                                   .arg(filled[3].uuid)));
        ASSERT_TRUE(query.exec(
            QStringLiteral("INSERT INTO sync_sent VALUES ('s1', '%1', 1)").arg(filled[0].uuid)));
        for (const QString& table : tables) {
            query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table);
            before[table] = query.next() ? query.value(0).toInt() : -1;
        }
        query.exec(QStringLiteral("SELECT codes FROM record_values ORDER BY uuid, version"));
        while (query.next()) {
            blobs.push_back(query.value(0).toByteArray());
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("v3"));
    }

    {
        ArchiveFile file(path);  // what every program does on opening: migrate
        ASSERT_FALSE(file.open());
        EXPECT_EQ(schemaVersion(file.db()), kSchemaVersion);
    }
    ArchiveReader reader(path);
    for (const QString& table : tables) {
        EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM ") + table), before[table])
            << table.toStdString();
    }
    // Every blob as it was, read back as it was; the old ones stay as they are.
    QSqlQuery values(reader.db());
    values.exec(
        QStringLiteral("SELECT uuid, version, codes, packing FROM record_values"
                       " ORDER BY uuid, version"));
    std::size_t at = 0;
    while (values.next()) {
        ASSERT_LT(at, blobs.size());
        EXPECT_EQ(values.value(2).toByteArray(), blobs[at]);
        EXPECT_EQ(values.value(3).toInt(), 0);
        EXPECT_EQ(keptValues(reader.db(), values.value(0).toString(), values.value(1).toInt(), 701),
                  decodeRecord(blobs[at], 701));
        ++at;
    }
    EXPECT_EQ(at, blobs.size());
    // The index holds every version and finds what the scan finds.
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM version_search")), 10001);
    for (const QString& text : {QStringLiteral("operator 1234"), QStringLiteral("site a"),
                                QStringLiteral("ite"), QStringLiteral("bridge-7")}) {
        SearchFilter filter;
        filter.text = text;
        filter.allVersions = true;
        EXPECT_EQ(byIndex(reader.db(), filter), byScan(reader.db(), filter)) << text.toStdString();
    }
    // The header store of that time is labelled as one now.
    EXPECT_EQ(reader.count(QStringLiteral(
                  "SELECT COUNT(*) FROM record_versions WHERE source = 'edit' AND version = 2")),
              1);
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM record_versions WHERE source = "
                                          "'capture'")),
              10000);
}

}  // namespace
}  // namespace trellicap::archive
