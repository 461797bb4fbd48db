// The sync of local archives to a real PostgreSQL server the test starts itself.
#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "archive/archive_schema.h"
#include "archive/archive_search.h"
#include "archive/archive_sync.h"
#include "archive/archive_writer.h"
#include "archive/server_connection.h"
#include "archive/sync_marks.h"
#include "archive/version_columns.h"
#include "archive_filler.h"
#include "profiles/tft.h"
#include "server_test_support.h"
#include "sqlite_file.h"
#include "test_records.h"

namespace trellicap::archive {
namespace {

using test::addressOf;
using test::ArchiveFiller;
using test::countRows;
using test::SqliteFile;
using trellicap::testing::PgCluster;

class ArchiveSync : public ::testing::Test {
protected:
    SyncResult sync(SqliteFile& file, const SyncProgress& progress = {},
                    SyncRoute route = SyncRoute::Fastest, const QString& database = {}) {
        ServerConnection server(addressOf(cluster, {}, database));
        if (!server.open()) {
            SyncResult failed;
            failed.error = server.error();
            return failed;
        }
        QSqlDatabase db = server.database();
        return syncArchive(file.db(), db, {file.folder(), cluster.url()}, progress, route);
    }

    long long onServer(const QString& sql) {
        ServerConnection server(addressOf(cluster));
        if (!server.open()) {
            return -1;
        }
        QSqlDatabase db = server.database();
        return countRows(db, sql);
    }

    PgCluster cluster;
};

TEST_F(ArchiveSync, AThousandRecordsGoOnceAndASecondSyncSendsNone) {
    TRELLICAP_START_PG_OR_SKIP(cluster);
    SqliteFile laptop;
    ASSERT_TRUE(migrateSchema(laptop.db()).ok);
    ArchiveFiller filler(laptop.db());
    const auto records = filler.addRecords(1000);
    ASSERT_EQ(records.size(), 1000u) << filler.error().toStdString();
    EXPECT_EQ(versionsWaiting(laptop.db(), QString()), 1000);

    int batches = 0;
    const SyncResult first = sync(laptop, [&](const SyncResult&) {
        ++batches;
        return true;
    });
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_EQ(first.sent, 1000);
    EXPECT_EQ(first.alreadyThere, 0);
    EXPECT_EQ(first.waiting, 0);
    // at most kSyncBatchSize records in each transaction
    EXPECT_EQ(batches, (1000 + kSyncBatchSize - 1) / kSyncBatchSize);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM record_versions")), 1000);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM record_values")), 1000);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM records")), 1000);
    // Each version knows the laptop (the archive's identity) and the working folder.
    const QString laptopUuid = archiveUuid(laptop.db());
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM sent_from WHERE laptop_uuid = '%1'"
                                      " AND working_folder = '%2' AND inspector = 'postgres'")
                           .arg(laptopUuid, laptop.folder())),
              1000);

    // Values identical byte for byte, header and searchable columns too.
    {
        ServerConnection server(addressOf(cluster));
        ASSERT_TRUE(server.open());
        QSqlQuery remote(server.database());
        remote.prepare(QStringLiteral(
            "SELECT c.codes, v.header_json, v.arrived, v.slot FROM record_values c JOIN"
            " record_versions v USING (uuid, version) WHERE uuid = ?"));
        remote.addBindValue(records[437].uuid);
        ASSERT_TRUE(remote.exec() && remote.next());
        QSqlQuery here(laptop.db());
        here.prepare(QStringLiteral(
            "SELECT c.codes, v.header_json, v.arrived, v.slot FROM record_values c JOIN"
            " record_versions v ON v.uuid = c.uuid AND v.version = c.version WHERE c.uuid = ?"));
        here.addBindValue(records[437].uuid);
        ASSERT_TRUE(here.exec() && here.next());
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(remote.value(column).toString(), here.value(column).toString()) << column;
        }
        EXPECT_EQ(remote.value(0).toByteArray(), here.value(0).toByteArray());
        EXPECT_EQ(remote.value(0).toByteArray().size(), 701 * 2);
    }

    const SyncResult second = sync(laptop);
    ASSERT_TRUE(second.ok) << second.error.toStdString();
    EXPECT_EQ(second.sent, 0);
    EXPECT_EQ(second.alreadyThere, 1000);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM record_versions")), 1000);

    // A new version of one record and a record file an old one was saved into, later on.
    ASSERT_TRUE(filler.addVersion(records[5].uuid, 2, QStringLiteral("tft"), 6, 99999,
                                  QStringLiteral("A")));
    ASSERT_TRUE(filler.addSavedIn(records[7].uuid, 1, QStringLiteral("/home/anna/shift.dat")));
    const SyncResult third = sync(laptop);
    ASSERT_TRUE(third.ok) << third.error.toStdString();
    EXPECT_EQ(third.sent, 1);
    EXPECT_EQ(onServer(QStringLiteral("SELECT latest_version FROM records WHERE uuid = '%1'")
                           .arg(records[5].uuid)),
              2);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM saved_in WHERE uuid = '%1'"
                                      " AND file_name = 'shift.dat'")
                           .arg(records[7].uuid)),
              1);
}

TEST_F(ArchiveSync, TwoLaptopsFillOneServerWithoutColliding) {
    TRELLICAP_START_PG_OR_SKIP(cluster);
    SqliteFile anna;
    SqliteFile bob;
    ASSERT_TRUE(migrateSchema(anna.db()).ok);
    ASSERT_TRUE(migrateSchema(bob.db()).ok);
    ArchiveFiller annaFiller(anna.db());
    ArchiveFiller bobFiller(bob.db());
    // Same slots, same models: only the UUIDs tell them apart.
    ASSERT_EQ(annaFiller.addRecords(250, QStringLiteral("tft"), QStringLiteral("North")).size(),
              250u);
    ASSERT_EQ(bobFiller.addRecords(150, QStringLiteral("dac"), QStringLiteral("South")).size(),
              150u);
    ASSERT_EQ(bobFiller.addRecords(100, QStringLiteral("tft"), QStringLiteral("South")).size(),
              100u);

    const SyncResult fromAnna = sync(anna);
    ASSERT_TRUE(fromAnna.ok) << fromAnna.error.toStdString();
    const SyncResult fromBob = sync(bob);
    ASSERT_TRUE(fromBob.ok) << fromBob.error.toStdString();
    EXPECT_EQ(fromAnna.sent, 250);
    EXPECT_EQ(fromBob.sent, 250);
    EXPECT_EQ(sync(anna).sent, 0);

    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM record_versions")), 500);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM record_versions WHERE model = 'dac'")),
              150);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(DISTINCT laptop_uuid) FROM sent_from")), 2);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM sent_from WHERE laptop_uuid = '%1'")
                           .arg(archiveUuid(bob.db()))),
              250);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM laptops")), 2);
}

TEST_F(ArchiveSync, AServerThatGoesAwayMidSyncLosesNothingAndGetsNothingTwice) {
    TRELLICAP_START_PG_OR_SKIP(cluster);
    SqliteFile laptop;
    ASSERT_TRUE(migrateSchema(laptop.db()).ok);
    ArchiveFiller filler(laptop.db());
    ASSERT_EQ(filler.addRecords(1000).size(), 1000u);

    // The server dies (no clean shutdown) after the first batch has been committed.
    int batches = 0;
    const SyncResult cut = sync(laptop, [&](const SyncResult&) {
        if (++batches == 1) {
            EXPECT_TRUE(cluster.stopServer(true)) << cluster.error().toStdString();
        }
        return true;
    });
    EXPECT_FALSE(cut.ok);
    EXPECT_TRUE(cut.copied);  // the versions went by COPY
    EXPECT_FALSE(cut.error.isEmpty());
    EXPECT_FALSE(cut.error.contains(QLatin1Char('\n')));
    EXPECT_EQ(cut.sent, kSyncBatchSize);
    EXPECT_EQ(cut.waiting, 1000 - kSyncBatchSize);

    // A sync while it is away says why and changes nothing.
    const SyncResult away = sync(laptop);
    EXPECT_FALSE(away.ok);
    EXPECT_TRUE(away.error.contains(QStringLiteral("refused"), Qt::CaseInsensitive))
        << away.error.toStdString();

    ASSERT_TRUE(cluster.startServer()) << cluster.error().toStdString();
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM record_versions")), kSyncBatchSize);

    // A batch the server committed but whose answer never came back: sent again, found there.
    QSqlQuery(laptop.db())
        .exec(QStringLiteral("DELETE FROM sync_sent WHERE rowid IN"
                             " (SELECT rowid FROM sync_sent ORDER BY rowid DESC LIMIT 100)"));

    const SyncResult resumed = sync(laptop);
    ASSERT_TRUE(resumed.ok) << resumed.error.toStdString();
    EXPECT_TRUE(resumed.copied);
    EXPECT_EQ(resumed.sent, 1000 - kSyncBatchSize);
    EXPECT_EQ(resumed.alreadyThere, kSyncBatchSize);
    EXPECT_EQ(resumed.waiting, 0);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM record_versions")), 1000);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM record_values")), 1000);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM sent_from")), 1000);
}

// A program that closes stops the sync after the batch it was told of: that batch is the
// last one committed and marked, whichever way the versions go (by COPY the next one is
// already on its way and is dropped), and the next sync sends the rest.
TEST_F(ArchiveSync, ASyncToldToStopKeepsWhatItCommittedAndTheNextSendsTheRest) {
    TRELLICAP_START_PG_OR_SKIP(cluster);
    for (const SyncRoute route : {SyncRoute::Fastest, SyncRoute::Inserts}) {
        ServerConnection admin(addressOf(cluster));
        ASSERT_TRUE(admin.open());
        const QString database = route == SyncRoute::Fastest ? QStringLiteral("stop_copy")
                                                             : QStringLiteral("stop_insert");
        ASSERT_TRUE(
            QSqlQuery(admin.database()).exec(QStringLiteral("CREATE DATABASE ") + database));
        SqliteFile laptop;
        ASSERT_TRUE(migrateSchema(laptop.db()).ok);
        ASSERT_EQ(ArchiveFiller(laptop.db()).addRecords(1200).size(), 1200u);
        int reports = 0;
        const SyncResult stopped = sync(
            laptop,
            [&](const SyncResult& soFar) {
                ++reports;
                EXPECT_EQ(soFar.sent, kSyncBatchSize);
                return false;
            },
            route, database);
        EXPECT_TRUE(stopped.ok) << stopped.error.toStdString();
        EXPECT_EQ(reports, 1);
        EXPECT_EQ(stopped.copied, route == SyncRoute::Fastest);
        EXPECT_EQ(stopped.sent, kSyncBatchSize);
        EXPECT_EQ(stopped.waiting, 1200 - kSyncBatchSize);
        const SyncResult rest = sync(laptop, {}, route, database);
        ASSERT_TRUE(rest.ok) << rest.error.toStdString();
        EXPECT_EQ(rest.sent, 1200 - kSyncBatchSize);
        EXPECT_EQ(rest.alreadyThere, kSyncBatchSize);
        ServerConnection check(addressOf(cluster, {}, database));
        ASSERT_TRUE(check.open());
        QSqlDatabase checkDb = check.database();
        for (const char* table : {"record_versions", "record_values", "records", "sent_from"}) {
            EXPECT_EQ(
                countRows(checkDb, QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table)),
                1200)
                << table;
        }
    }
}

// What a program without libpq's COPY functions does: the same batches by multi-row INSERT.
TEST_F(ArchiveSync, ByInsertAloneAServerThatGoesAwayLosesNothingAndGetsNothingTwice) {
    TRELLICAP_START_PG_OR_SKIP(cluster);
    SqliteFile laptop;
    ASSERT_TRUE(migrateSchema(laptop.db()).ok);
    ArchiveFiller filler(laptop.db());
    ASSERT_EQ(filler.addRecords(1300).size(), 1300u);

    int batches = 0;
    const SyncResult cut = sync(
        laptop,
        [&](const SyncResult&) {
            if (++batches == 2) {
                EXPECT_TRUE(cluster.stopServer(true)) << cluster.error().toStdString();
            }
            return true;
        },
        SyncRoute::Inserts);
    EXPECT_FALSE(cut.ok);
    EXPECT_FALSE(cut.copied);
    EXPECT_EQ(cut.sent, 2 * kSyncBatchSize);
    EXPECT_EQ(cut.waiting, 1300 - 2 * kSyncBatchSize);
    ASSERT_TRUE(cluster.startServer()) << cluster.error().toStdString();
    // The last batch's marks lost, as when the commit's answer never came back.
    QSqlQuery(laptop.db())
        .exec(QStringLiteral("DELETE FROM sync_sent WHERE rowid IN"
                             " (SELECT rowid FROM sync_sent ORDER BY rowid DESC LIMIT 120)"));
    const SyncResult resumed = sync(laptop, {}, SyncRoute::Inserts);
    ASSERT_TRUE(resumed.ok) << resumed.error.toStdString();
    EXPECT_FALSE(resumed.copied);
    EXPECT_EQ(resumed.sent, 1300 - 2 * kSyncBatchSize);
    EXPECT_EQ(resumed.alreadyThere, 2 * kSyncBatchSize);
    EXPECT_EQ(resumed.waiting, 0);
    for (const char* table : {"record_versions", "record_values", "records", "sent_from"}) {
        EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table)), 1300)
            << table;
    }
}

// COPY's text format escapes what INSERT's parameters carry as they are: both routes leave
// the same rows on the server, whatever the local texts and bytes hold.
TEST_F(ArchiveSync, CopyAndInsertLeaveTheSameRowsWhateverTheTextsAndBytesHold) {
    TRELLICAP_START_PG_OR_SKIP(cluster);
    SqliteFile laptop;
    ASSERT_TRUE(migrateSchema(laptop.db()).ok);
    const QStringList texts = {
        QStringLiteral("tab\there"),
        QStringLiteral("new\nline"),
        QStringLiteral("carriage\rreturn"),
        QStringLiteral("back\\slash"),
        QStringLiteral("\\N"),
        QStringLiteral("\\."),
        QStringLiteral("ends in \\"),
        QStringLiteral("quotes \"'"),
        QStringLiteral("Zoë 😀 Straße"),
        QStringLiteral("unit\x1fseparator"),
        QStringLiteral(""),
        QStringLiteral("NULL"),
        QStringLiteral("\\x00ff"),
        QStringLiteral("percent%under_"),
    };
    QSqlQuery insert(laptop.db());
    ASSERT_TRUE(insert.prepare(QStringLiteral(
        "INSERT INTO record_versions (uuid, version, model, slot, source, source_path, arrived,"
        " arrived_ms, time_date, content_hash, header_json, range_text, delay_text, gain_text,"
        " gate1_text, gate2_text, search_text) VALUES (?, 1, 'tft', ?, 'capture', ?, ?, ?, ?,"
        " ?, ?, ?, ?, ?, ?, ?, ?)")));
    QSqlQuery values(laptop.db());
    ASSERT_TRUE(values.prepare(QStringLiteral(
        "INSERT INTO record_values (uuid, version, codes, packing) VALUES (?, 1, ?, ?)")));
    QSqlQuery records(laptop.db());
    ASSERT_TRUE(records.prepare(QStringLiteral(
        "INSERT INTO records (uuid, model, slot, latest_version) VALUES (?, 'tft', ?, 1)")));
    for (int i = 0; i < texts.size(); ++i) {
        const QString uuid =
            QStringLiteral("00000000-0000-0000-0000-%1").arg(i, 12, 10, QLatin1Char('0'));
        const QString text = texts[i];
        insert.addBindValue(uuid);
        insert.addBindValue(i + 1);
        // A path NULL, empty, or the text.
        insert.addBindValue(i % 3 == 0   ? QVariant()
                            : i % 3 == 1 ? QVariant(QStringLiteral(""))
                                         : QVariant(text));
        insert.addBindValue(text);
        insert.addBindValue(1796720400000LL + i);
        for (int column = 0; column < 9; ++column) {
            insert.addBindValue(text + QString::number(column));
        }
        ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
        QByteArray codes;
        for (int b = 0; b < 300; ++b) {
            codes.append(static_cast<char>((b * 37 + i * 11) % 256));  // every byte, 0 and \ too
        }
        values.addBindValue(uuid);
        values.addBindValue(codes);
        values.addBindValue(i % 2);
        ASSERT_TRUE(values.exec()) << values.lastError().text().toStdString();
        records.addBindValue(uuid);
        records.addBindValue(i + 1);
        ASSERT_TRUE(records.exec()) << records.lastError().text().toStdString();
    }
    ServerConnection admin(addressOf(cluster));
    ASSERT_TRUE(admin.open());
    ASSERT_TRUE(QSqlQuery(admin.database()).exec(QStringLiteral("CREATE DATABASE by_insert")));

    const SyncResult copied = sync(laptop);
    ASSERT_TRUE(copied.ok) << copied.error.toStdString();
    EXPECT_TRUE(copied.copied);
    EXPECT_EQ(copied.sent, texts.size());
    const SyncResult inserted = sync(laptop, {}, SyncRoute::Inserts, QStringLiteral("by_insert"));
    ASSERT_TRUE(inserted.ok) << inserted.error.toStdString();
    EXPECT_FALSE(inserted.copied);
    EXPECT_EQ(inserted.sent, texts.size());

    ServerConnection byCopy(addressOf(cluster));
    ServerConnection byInsert(addressOf(cluster, {}, QStringLiteral("by_insert")));
    ASSERT_TRUE(byCopy.open() && byInsert.open());
    QStringList columns = storedColumnNames();
    for (const QString& select :
         {QStringLiteral("SELECT %1 FROM record_versions ORDER BY uuid").arg(columns.join(',')),
          QStringLiteral("SELECT uuid, version, codes, packing FROM record_values ORDER BY uuid"),
          QStringLiteral("SELECT uuid, model, slot, latest_version FROM records ORDER BY uuid"),
          QStringLiteral("SELECT uuid, version, working_folder, inspector FROM sent_from"
                         " ORDER BY uuid")}) {
        QSqlQuery a(byCopy.database());
        QSqlQuery b(byInsert.database());
        QSqlQuery here(laptop.db());
        ASSERT_TRUE(a.exec(select) && b.exec(select)) << select.toStdString();
        const bool local = !select.contains(QLatin1String("sent_from"));
        ASSERT_TRUE(!local || here.exec(select)) << select.toStdString();
        int rows = 0;
        while (a.next()) {
            ASSERT_TRUE(b.next());
            ASSERT_TRUE(!local || here.next());
            for (int column = 0; column < a.record().count(); ++column) {
                EXPECT_EQ(a.value(column), b.value(column)) << select.toStdString() << column;
                EXPECT_EQ(a.value(column).isNull(), b.value(column).isNull());
                if (local && a.value(column).typeId() == QMetaType::QByteArray) {
                    EXPECT_EQ(a.value(column).toByteArray(), here.value(column).toByteArray());
                } else if (local) {
                    EXPECT_EQ(a.value(column).toString(), here.value(column).toString())
                        << select.toStdString() << column;
                }
            }
            ++rows;
        }
        EXPECT_FALSE(b.next());
        EXPECT_EQ(rows, texts.size()) << select.toStdString();
    }
}

TEST_F(ArchiveSync, ADoctoredArchiveCannotPutSqlIntoTheServersStatements) {
    TRELLICAP_START_PG_OR_SKIP(cluster);
    SqliteFile honest;
    ASSERT_TRUE(migrateSchema(honest.db()).ok);
    ASSERT_EQ(ArchiveFiller(honest.db()).addRecords(3).size(), 3u);
    ASSERT_TRUE(sync(honest).ok);

    SqliteFile doctored;
    ASSERT_TRUE(migrateSchema(doctored.db()).ok);
    ASSERT_EQ(ArchiveFiller(doctored.db()).addRecords(3).size(), 3u);
    QSqlQuery alter(doctored.db());
    ASSERT_TRUE(alter.exec(QStringLiteral(
        "ALTER TABLE record_versions ADD COLUMN \"x) VALUES (1); DROP TABLE records; --\" TEXT")));
    // The statements name the columns of the program's own column table, never what the
    // file says it holds: the extra column is not sent and the server's tables stand.
    const SyncResult doctoredSync = sync(doctored);
    EXPECT_TRUE(doctoredSync.ok) << doctoredSync.error.toStdString();
    EXPECT_EQ(doctoredSync.sent, 3);
    EXPECT_EQ(onServer(QStringLiteral("SELECT COUNT(*) FROM records")), 6);
}

TEST_F(ArchiveSync, TheServerFindsWhatTheLocalSearchFinds) {
    TRELLICAP_START_PG_OR_SKIP(cluster);
    SqliteFile laptop;
    ASSERT_TRUE(migrateSchema(laptop.db()).ok);
    // Records as the window keeps them: captures, a "S  A  V  E", a save into a record file
    // after the first sync (its name becomes searchable), more captures.
    ArchiveWriter writer(tft::kProfile, QStringLiteral("run-1"));
    const auto event = [](ArchiveEvent::Kind kind, const QDateTime& when) {
        ArchiveEvent made;
        made.kind = kind;
        made.arrived = when;
        return made;
    };

    const QDateTime start(QDate(2026, 12, 8), QTime(9, 0));
    ASSERT_FALSE(writer.apply(laptop.db(), event(ArchiveEvent::Kind::StartRun, start)));
    const auto keep = [&](int slot, int seed, const QString& who, int minute) {
        ArchiveEvent kept = event(ArchiveEvent::Kind::Keep, start.addSecs(60 * minute));
        kept.record = {slot, test::keptRecord(tft::kProfile, slot, seed, who)};
        return !writer.apply(laptop.db(), kept).has_value();
    };
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(keep(1 + i, i, QStringLiteral("Anna Berg %1").arg(i % 3), i));
    }
    ArchiveEvent edit = event(ArchiveEvent::Kind::HeaderStore, start.addSecs(60 * 50));
    edit.record = {7, test::keptRecord(tft::kProfile, 7, 6, QStringLiteral("Anna Berg edited"))};
    ASSERT_FALSE(writer.apply(laptop.db(), edit));
    ASSERT_TRUE(sync(laptop).ok);

    ArchiveEvent saved = event(ArchiveEvent::Kind::Saved, start.addSecs(60 * 55));
    saved.path = QStringLiteral("/home/anna/Trellicap/tft/North-Pier.dat");
    ASSERT_FALSE(writer.apply(laptop.db(), saved));
    for (int i = 40; i < 60; ++i) {
        ASSERT_TRUE(keep(1 + i, i, QStringLiteral("Anna Berg %1").arg(i % 3), 60 + i));
    }
    const SyncResult second = sync(laptop);
    ASSERT_TRUE(second.ok) << second.error.toStdString();

    ServerConnection server(addressOf(cluster));
    ASSERT_TRUE(server.open());
    QSqlDatabase serverDb = server.database();
    std::vector<SearchFilter> filters(8);
    filters[1].text = QStringLiteral("north-pier");
    filters[2].text = QStringLiteral("berg 1");
    filters[3].slot = 7;
    filters[3].allVersions = true;
    filters[4].model = QStringLiteral("tft");
    filters[4].source = QStringLiteral("capture");
    filters[5].fromMs = start.addSecs(60 * 10).toMSecsSinceEpoch();
    filters[5].toMs = start.addSecs(60 * 30).toMSecsSinceEpoch();
    filters[6].text = QStringLiteral("EDITED");
    filters[7].text = QStringLiteral("berg 2");  // within dates: read over the range
    filters[7].fromMs = start.toMSecsSinceEpoch();
    for (std::size_t f = 0; f < filters.size(); ++f) {
        QString localError;
        QString serverError;
        const auto here = searchArchive(laptop.db(), filters[f], &localError);
        const auto there = searchArchive(serverDb, filters[f], &serverError);
        ASSERT_TRUE(localError.isEmpty() && serverError.isEmpty())
            << localError.toStdString() << serverError.toStdString();
        EXPECT_FALSE(here.empty()) << "filter " << f;
        ASSERT_EQ(here.size(), there.size()) << "filter " << f;
        for (std::size_t i = 0; i < here.size(); ++i) {
            EXPECT_EQ(here[i].uuid, there[i].uuid) << "filter " << f;
            EXPECT_EQ(here[i].version, there[i].version);
            EXPECT_EQ(here[i].arrived, there[i].arrived);
            EXPECT_EQ(here[i].header, there[i].header);
            EXPECT_EQ(here[i].savedIn, there[i].savedIn);
        }
    }
    // The record file's name found on the server too, though it came after the first sync.
    QString error;
    EXPECT_EQ(searchArchive(serverDb, filters[1], &error).size(), 40u);
}

}  // namespace
}  // namespace trellicap::archive
