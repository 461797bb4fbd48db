// Jobs and equipment kept in a real archive file (schema version 4) and worked on through the
// JobDesk: versions that follow each other, a stale change refused rather than lost, a job
// found by the first characters of its id, a record's values kept once however many versions
// name them, every change noted with who and what; and both sent to a team server from two
// laptops (PostgreSQL started by the test).
#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>

#include "archive/archive_sync.h"
#include "archive/server_connection.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "server_test_support.h"
#include "session/archive_inspection_store.h"
#include "session/job_desk.h"
#include "session/job_records.h"
#include "support/inspection_records.h"

namespace trellicap {
namespace {

using inspection::Job;
using inspection::Result;

long long count(QSqlDatabase& db, const QString& sql) {
    return archive::test::countRows(db, sql);
}

Job details() {
    Job job;
    job.client = "ACME Steel";
    job.order = "4711";
    job.object = "Weld W-12";
    job.inspector = {"Anna Inspector", "UT 2"};
    job.probe.serial = "P-77";
    job.probe.measuredAngleDeg = 60;
    job.evaluation = {-6.0, 0.0, 10.0, {}};
    return job;
}

// A table whose slots 3 and 4 hold echoes of 30 % and 80 % (-6.0 dB and +2.5 dB to the curve).
RecordStore tableOf(const ModelProfile& profile) {
    RecordStore store(profile);
    store.initMemoryTable();
    testing::EchoRecord low;
    low.slot = "003";
    testing::EchoRecord high;
    high.slot = "004";
    high.samples = {{99, 80}};
    for (const auto& [column, record] : {std::pair{2, low}, std::pair{3, high}}) {
        const auto values = testing::echoRecord(profile, record);
        std::copy(values.begin(), values.end(), store.column(column).begin());
    }
    return store;
}

class JobStore : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("archive.sqlite");
};

TEST_F(JobStore, EveryChangeIsAVersionWithWhoAndWhatAndTheRecordsAreEvaluated) {
    for (const ModelProfile* profile : {&tft::kProfile, &dac::kProfile}) {
        QTemporaryDir folder;
        ArchiveInspectionStore store(folder.filePath("archive.sqlite"));
        ASSERT_TRUE(store.isOpen()) << store.error().toStdString();
        JobDesk desk(store, *profile);
        int changes = 0;
        QObject::connect(&desk, &JobDesk::jobChanged, [&changes] { ++changes; });
        ASSERT_FALSE(desk.create(details(), "anna"));
        EXPECT_EQ(desk.job().version, 1);
        EXPECT_EQ(desk.job().id.size(), 36);
        EXPECT_EQ(desk.job().model, QString::fromLatin1(profile->modelKey.data()));

        const RecordStore table = tableOf(*profile);
        ASSERT_FALSE(desk.addRecords(itemsFromTable(table, {2, 3}, "/data/shift.dat"), "anna"));
        ASSERT_EQ(desk.job().items.size(), 2u);
        EXPECT_EQ(desk.job().items[1].item, 2);
        EXPECT_EQ(desk.evaluation().records[0].result, Result::Acceptable);
        EXPECT_EQ(desk.evaluation().records[1].result, Result::Reject);

        ASSERT_FALSE(desk.setNotes(2, 8.0, "x 120 mm", "anna"));
        // An override needs its reason; with it, it is kept with who and when.
        EXPECT_EQ(desk.overrideResult(2, Result::Acceptable, "  ", "anna"),
                  QStringLiteral("a result is set by hand only with its reason"));
        ASSERT_FALSE(desk.overrideResult(2, Result::Acceptable, "root geometry", "Rolf"));
        EXPECT_EQ(desk.evaluation().records[1].computed, Result::Reject);
        EXPECT_EQ(desk.evaluation().records[1].result, Result::Acceptable);
        EXPECT_EQ(desk.job().items[1].resultOverride->by, "Rolf");
        Job edited = desk.job();
        edited.client = "ACME Steel AG";
        edited.thicknessMm = 20;
        ASSERT_FALSE(desk.editDetails(edited, "anna"));
        ASSERT_FALSE(desk.removeRecord(1, "anna"));

        // Read back from the file, as another program would.
        ArchiveInspectionStore again(folder.filePath("archive.sqlite"));
        QString error;
        const auto kept = again.job(desk.job().id.left(8), &error);
        ASSERT_TRUE(kept) << error.toStdString();
        EXPECT_EQ(*kept, desk.job());
        EXPECT_EQ(kept->version, 6);
        QStringList what;
        for (const inspection::JobChange& change : kept->history) {
            what << QStringLiteral("%1 %2: %3").arg(change.version).arg(change.by, change.what);
        }
        EXPECT_EQ(what, QStringList({"1 anna: created", "2 anna: 2 records added (Mem 3, 4)",
                                     "3 anna: notes of record 2 set",
                                     "4 Rolf: result of record 2 set to acceptable: root geometry",
                                     "5 anna: details changed: client, thickness",
                                     "6 anna: record 1 (Mem 3 (shift.dat)) taken out"}));
        EXPECT_EQ(changes, 6);
        // Every earlier version stays as it was.
        const auto second = again.jobVersion(kept->id, 2, &error);
        ASSERT_TRUE(second);
        EXPECT_EQ(second->items.size(), 2u);
        EXPECT_EQ(second->client, "ACME Steel");
        const auto listed = again.jobs(&error);
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_EQ(listed[0].records, 1);
        EXPECT_EQ(listed[0].result, "acceptable");
        EXPECT_EQ(listed[0].client, "ACME Steel AG");
    }
}

TEST_F(JobStore, AChangeMadeFromAStaleVersionIsRefusedAndNothingIsLost) {
    ArchiveInspectionStore store(path);
    JobDesk first(store, tft::kProfile);
    ASSERT_FALSE(first.create(details(), "anna"));
    JobDesk second(store, tft::kProfile);
    ASSERT_FALSE(second.open(first.job().id));
    EXPECT_EQ(first.setNotes(1, std::nullopt, {}, "anna"),
              QStringLiteral("the job has no record 1"));
    const RecordStore table = tableOf(tft::kProfile);
    ASSERT_FALSE(first.addRecords(itemsFromTable(table, {2}, {}), "anna"));
    const auto refused = second.addRecords(itemsFromTable(table, {3}, {}), "bob");
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->contains("was changed meanwhile")) << refused->toStdString();
    EXPECT_EQ(second.job().version, 1) << "the desk keeps what it had";
    ASSERT_FALSE(second.open(first.job().id));
    EXPECT_EQ(second.job().items.size(), 1u);
    // A job of the other model does not open in a program of this one.
    JobDesk dac(store, dac::kProfile);
    EXPECT_TRUE(dac.open(first.job().id));
    // Records of another size are not taken.
    std::vector<inspection::JobItem> odd(1);
    odd[0].slot = 5;
    odd[0].values.resize(10);
    EXPECT_EQ(first.addRecords(odd, "anna"), QStringLiteral("Mem 5 is not a TFT record"));
}

TEST_F(JobStore, AJobIsFoundByTheFirstCharactersOfItsIdAndValuesAreKeptOnce) {
    ArchiveInspectionStore store(path);
    JobDesk desk(store, tft::kProfile);
    ASSERT_FALSE(desk.create(details(), "anna"));
    const RecordStore table = tableOf(tft::kProfile);
    ASSERT_FALSE(desk.addRecords(itemsFromTable(table, {2, 3}, {}), "anna"));
    for (int i = 0; i < 5; ++i) {
        ASSERT_FALSE(desk.setNotes(1, i, {}, "anna"));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "peek");
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    EXPECT_EQ(count(db, "SELECT COUNT(*) FROM job_versions"), 7);
    EXPECT_EQ(count(db, "SELECT COUNT(*) FROM job_records"), 12);
    EXPECT_EQ(count(db, "SELECT COUNT(*) FROM job_record_values"), 2);
    // The body keeps no values, only their hash.
    EXPECT_EQ(count(db, "SELECT COUNT(*) FROM job_versions WHERE body LIKE '%\"values\"%'"), 0);
    QString error;
    EXPECT_TRUE(store.job(desk.job().id, &error));
    // Values damaged on the disk (an odd count of bytes) are refused with their hash.
    QSqlQuery damage(db);
    ASSERT_TRUE(damage.exec("UPDATE job_record_values SET codes = x'010203'"));
    EXPECT_FALSE(store.job(desk.job().id, &error));
    EXPECT_TRUE(error.startsWith("the archive holds damaged values")) << error.toStdString();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("peek");

    EXPECT_FALSE(store.job(desk.job().id.left(4), &error));  // the damaged values, found by id
    EXPECT_FALSE(store.job("nothing", &error));
    EXPECT_EQ(error, "there is no job nothing in the archive");
    EXPECT_FALSE(store.job("%", &error));
    JobDesk other(store, tft::kProfile);
    ASSERT_FALSE(other.create(details(), "anna"));
    EXPECT_FALSE(store.job(QString(), &error));
}

TEST_F(JobStore, EquipmentEntriesAreVersionedByTheirKeys) {
    ArchiveInspectionStore store(path);
    inspection::Probe probe;
    probe.type = inspection::ProbeType::Angle;
    probe.serial = "P-77";
    probe.frequencyMhz = 4;
    probe.calibrationDue = QDate(2026, 6, 30);
    inspection::EquipmentItem item{probe, 0, "office", "2026-01-02T09:00:00+01:00"};
    ASSERT_FALSE(store.keepItem(item));
    EXPECT_EQ(item.version, 1);
    probe.calibrationDue = QDate(2027, 6, 30);
    inspection::EquipmentItem renewed{probe, 0, "office", "2026-07-01T09:00:00+02:00"};
    ASSERT_FALSE(store.keepItem(renewed));
    EXPECT_EQ(renewed.version, 2);
    inspection::DailyCheck check{
        {}, QDate(2026, 12, 8), "I-100", "P-77", "K1-07", 60.5, 12, true, "anna"};
    inspection::EquipmentItem checked{check, 0, {}, {}};
    ASSERT_FALSE(store.keepItem(checked));
    EXPECT_EQ(std::get<inspection::DailyCheck>(checked.data).id.size(), 36);
    EXPECT_EQ(checked.by, inspection::loginName());

    QString error;
    const auto reg = store.equipment(&error);
    ASSERT_TRUE(reg) << error.toStdString();
    ASSERT_EQ(reg->items().size(), 2u);
    EXPECT_EQ(reg->probe("P-77")->calibrationDue, QDate(2027, 6, 30));
    EXPECT_EQ(reg->items()[0].version, 2);
    EXPECT_EQ(reg->checks().size(), 1u);
    const auto versions = store.itemVersions(inspection::ItemKind::Probe, "P-77", &error);
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(std::get<inspection::Probe>(versions[0].data).calibrationDue, QDate(2026, 6, 30));
    inspection::EquipmentItem nameless{inspection::Probe{}, 0, {}, {}};
    EXPECT_EQ(store.keepItem(nameless), QStringLiteral("the entry has no serial number"));
}

TEST_F(JobStore, JobsAndEquipmentOfTwoLaptopsReachTheServerOnceAndReadBackThere) {
    trellicap::testing::PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    QTemporaryDir a;
    QTemporaryDir b;
    const RecordStore table = tableOf(tft::kProfile);
    QStringList ids;
    for (const QTemporaryDir* laptop : {&a, &b}) {
        ArchiveInspectionStore store(laptop->filePath("archive.sqlite"));
        JobDesk desk(store, tft::kProfile);
        ASSERT_FALSE(desk.create(details(), "anna"));
        ASSERT_FALSE(desk.addRecords(itemsFromTable(table, {2, 3}, {}), "anna"));
        ids << desk.job().id;
        inspection::Probe probe;
        probe.type = inspection::ProbeType::Angle;
        probe.serial = laptop == &a ? "P-77" : "P-78";
        inspection::EquipmentItem item{probe, 0, "office", "2026-01-02T09:00:00+01:00"};
        ASSERT_FALSE(store.keepItem(item));
    }
    archive::ServerConnection server(archive::test::addressOf(cluster));
    ASSERT_TRUE(server.open()) << server.error().toStdString();
    QSqlDatabase serverDb = server.database();
    for (const QTemporaryDir* laptop : {&a, &b}) {
        QSqlDatabase local = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "laptop");
        local.setDatabaseName(laptop->filePath("archive.sqlite"));
        ASSERT_TRUE(local.open());
        archive::SyncResult result =
            archive::syncArchive(local, serverDb, {laptop->path(), cluster.url()});
        ASSERT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.inspectionSent, 3);  // two job versions and a probe
        result = archive::syncArchive(local, serverDb, {laptop->path(), cluster.url()});
        EXPECT_EQ(result.inspectionSent, 0) << "a second sync sends nothing";
        EXPECT_EQ(result.inspectionAlreadyThere, 0);
        EXPECT_TRUE(result.inspectionConflicts.isEmpty());
        local.close();
        local = QSqlDatabase();
        QSqlDatabase::removeDatabase("laptop");
    }
    EXPECT_EQ(count(serverDb, "SELECT COUNT(*) FROM job_versions"), 4);
    EXPECT_EQ(count(serverDb, "SELECT COUNT(*) FROM job_record_values"), 2)
        << "the same records on both laptops are one content on the server";
    // The office reads both jobs and the whole register from the server.
    ArchiveInspectionStore office(serverDb);
    QString error;
    EXPECT_EQ(office.jobs(&error).size(), 2u);
    for (const QString& id : ids) {
        const auto job = office.job(id, &error);
        ASSERT_TRUE(job) << error.toStdString();
        EXPECT_EQ(job->items.size(), 2u);
        EXPECT_EQ(job->items[0].values.size(), 701u);
    }
    const auto reg = office.equipment(&error);
    ASSERT_TRUE(reg) << error.toStdString();
    EXPECT_NE(reg->probe("P-77"), nullptr);
    EXPECT_NE(reg->probe("P-78"), nullptr);
}

}  // namespace
}  // namespace trellicap
