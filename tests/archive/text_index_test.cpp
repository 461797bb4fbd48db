// The free-text search through the trigram index finds exactly what the scan over the
// search texts found, in the same order, whatever the text holds; and an archive of schema
// version 3 comes to version 5 with everything it held and its index built.
#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "archive/archive_file.h"
#include "archive/archive_keeper.h"
#include "archive/archive_schema.h"
#include "archive/archive_search.h"
#include "archive_filler.h"
#include "profiles/tft.h"
#include "test_records.h"

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

TEST(TextIndex, FindsWhatTheScanFoundForEveryKindOfText) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    const ModelProfile& tft = tft::kProfile;
    // Operators' names as inspectors type them: case, accents, LIKE's own characters,
    // quotes, a backslash, letters outside the first plane; then record files' names.
    const QStringList names = {
        QStringLiteral("Zoë Müller"),     QStringLiteral("ZOË MÜLLER"),
        QStringLiteral("Zoe Muller"),     QStringLiteral("50% Rabatt"),
        QStringLiteral("under_score"),    QStringLiteral("O'Brien"),
        QStringLiteral("Quill, \"Zed\""), QStringLiteral("Ångström Straße"),
        QStringLiteral("İstanbul Şube"),  QStringLiteral("a%b_c\\d"),
        QStringLiteral("😀 smile"),        QStringLiteral("Axle 1-12"),
        QStringLiteral("axle 112"),       QStringLiteral("ab"),
    };
    {
        ArchiveKeeper keeper(tft, path);
        keeper.start();
        for (int i = 0; i < names.size(); ++i) {
            keeper.keepFiled(i, keptRecord(tft, i + 1, i, names[i]), Source::Capture);
        }
        keeper.noteSaved(dir.filePath(QStringLiteral("Shift-North_50%.dat")));
        // Second versions by "S  A  V  E", for the newest-only and all-versions searches.
        keeper.keepHeaderStore(0, keptRecord(tft, 1, 0, QStringLiteral("Zoë Schmidt")));
        keeper.keepHeaderStore(5, keptRecord(tft, 6, 5, QStringLiteral("O'Neil")));
        keeper.noteSaved(dir.filePath(QStringLiteral("ÉTÉ \"2026\".dat")));
        keeper.endRunCleanly();
        ASSERT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
    }
    ArchiveReader reader(path);
    ASSERT_TRUE(searchPlaceOf(reader.db()).textIndex);
    const QStringList texts = {
        QStringLiteral("zoë"),     QStringLiteral("ZOË"),      QStringLiteral("zoe"),
        QStringLiteral("MÜLLER"),  QStringLiteral("%"),        QStringLiteral("50%"),
        QStringLiteral("0% r"),    QStringLiteral("_"),        QStringLiteral("r_s"),
        QStringLiteral("er_sc"),   QStringLiteral("'"),        QStringLiteral("o'b"),
        QStringLiteral("\"zed\""), QStringLiteral("\""),       QStringLiteral("ill, \""),
        QStringLiteral("ström"),   QStringLiteral("STRASSE"),  QStringLiteral("straße"),
        QStringLiteral("İst"),     QStringLiteral("ist"),      QStringLiteral("a%b"),
        QStringLiteral("%b_c\\"),  QStringLiteral("\\"),       QStringLiteral("😀"),
        QStringLiteral("😀 s"),     QStringLiteral("axle 1"),   QStringLiteral("1-1"),
        QStringLiteral("hift-n"),  QStringLiteral(".dat"),     QStringLiteral("north_50%"),
        QStringLiteral("été"),     QStringLiteral("\"2026\""), QStringLiteral("ab"),
        QStringLiteral("b"),       QStringLiteral("  "),       QStringLiteral("nobody"),
        QStringLiteral("schmidt"), QStringLiteral("o'n"),      QStringLiteral("operator"),
    };
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
