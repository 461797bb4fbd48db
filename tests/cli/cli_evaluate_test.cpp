// trellicap-cli evaluate and csv --job on files the writer produced: every number worked by
// hand from the records' texts and the job, both models, the JSON's keys and nulls, a
// reference record named relative to JOB.json, and the mistakes in a job refused with the
// key named.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <map>

#include "cli_fixture.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "support/inspection_records.h"

namespace trellicap {
namespace {

using testing::EchoRecord;
using testing::runCli;
using testing::writeText;

// Slot 1: 30 % at sample 99 (x = 100, on the curve's 60 %). Slot 2: gate 1 off. Slot 3: 50 %
// at sample 220 (x = 221, in a wider gate, beyond the curve's last point at 200). Slot 4, the
// reference record: 60 % at sample 120 at 40 dB. Slot 5: 30 % at sample 99 at 46 dB.
QString writeEchoFile(const ModelProfile& profile, const QString& path) {
    RecordStore store(profile);
    store.initMemoryTable();
    std::vector<EchoRecord> records(5);
    records[1].gate = QStringLiteral("OFF");
    records[2].samples = {{220, 50}};
    records[2].end = QStringLiteral("70%");  // gate 1 to x = 225
    records[3].samples = {{120, 60}};
    records[4].gain = QStringLiteral("46.0");
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].slot = QStringLiteral("00%1").arg(i + 1);
        const auto values = testing::echoRecord(profile, records[i]);
        std::copy(values.begin(), values.end(), store.column(static_cast<int>(i)).begin());
    }
    testing::writeFile(store, path);
    return path;
}

// A 45 degree probe (measured), the rule -6 dB / 0 dB.
const QByteArray kDacJob = R"({"client": "ACME", "order": "4711", "object": "W-12",
    "probe": {"serial": "P-77", "angle_deg": 45, "measured_angle_deg": 45},
    "reference": {"method": "dac"},
    "evaluation": {"recording_level_db": -6, "acceptance_level_db": 0}})";

class Evaluate : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString tft = writeEchoFile(tft::kProfile, dir.filePath("tft.dat"));
    QString dac = writeEchoFile(dac::kProfile, dir.filePath("dac.dat"));
    QString job = writeText(dir.filePath("job.json"), kDacJob);
};

TEST_F(Evaluate, JsonGivesEachSlotsNumbersAndResultWithNullsWhereThereAreNone) {
    for (const QString& file : {tft, dac}) {
        const auto run = runCli({"evaluate", file, "--job", job, "--slots", "1-3", "--json"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QJsonObject top = QJsonDocument::fromJson(run.out).object();
        EXPECT_EQ(top["method"].toString(), "dac");
        EXPECT_EQ(top["job"].toString(), "Order 4711, W-12 (ACME)");
        const QJsonArray entries = top["slots"].toArray();
        ASSERT_EQ(entries.size(), 3);
        // 39.6 mm at 45 degrees: 28.0 and 28.0; 20 log10(30/60) = -6.02 -> -6.0: recorded.
        const QJsonObject one = entries[0].toObject();
        EXPECT_EQ(one["slot"], QJsonValue(1));
        EXPECT_EQ(one["peak_pct"], QJsonValue(30));
        EXPECT_EQ(one["path_mm"], QJsonValue(39.6));
        EXPECT_EQ(one["depth_mm"], QJsonValue(28.0));
        EXPECT_EQ(one["surface_mm"], QJsonValue(28.0));
        EXPECT_EQ(one["level_db"], QJsonValue(-6.0));
        EXPECT_EQ(one["dac_pct"], QJsonValue(50.0));
        EXPECT_EQ(one["result"], QJsonValue("acceptable"));
        EXPECT_EQ(one["angle_deg"], QJsonValue(45));
        const QJsonObject two = entries[1].toObject();
        EXPECT_EQ(two["result"], QJsonValue("no indication"));
        for (const char* key : {"peak_pct", "path_mm", "depth_mm", "level_db", "dac_pct"}) {
            EXPECT_TRUE(two[key].isNull()) << key;
        }
        // 88 mm: placed, but beyond the curve.
        const QJsonObject three = entries[2].toObject();
        EXPECT_EQ(three["path_mm"], QJsonValue(88));
        EXPECT_EQ(three["depth_mm"], QJsonValue(62.2));
        EXPECT_TRUE(three["level_db"].isNull());
        EXPECT_TRUE(three.contains("level_db"));
        EXPECT_EQ(three["result"], QJsonValue("outside DAC"));
        EXPECT_EQ(three["notes"].toArray().size(), 1);
    }
}

TEST_F(Evaluate, TheTableAndTheCsvColumnsSayTheSame) {
    const auto table = runCli({"evaluate", tft, "--job", job, "--slots", "1,2"});
    ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(table.out),
              "slot  peak %  path mm  depth mm  surface mm  level dB  % DAC  result\n"
              "   1      30     39.6      28.0        28.0      -6.0   50.0  acceptable\n"
              "   2       -        -         -           -         -      -  no indication\n");
    const QString csv = dir.filePath("out.csv");
    ASSERT_EQ(runCli({"csv", tft, "--job", job, "--slots", "1,2", "-o", csv}).exitCode, 0);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    EXPECT_TRUE(rows[1].endsWith(",45,28.0,28.0,-6.0,50.0,acceptable\r")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].endsWith(",45,,,,,no indication\r")) << rows[2].toStdString();
}

TEST_F(Evaluate, AReferenceRecordNamedBesideTheJobCorrectsForGainAndTransfer) {
    QDir(dir.path()).mkdir("jobs");
    QFile::copy(dac, dir.filePath("jobs/ref.dat"));
    const QString refJob = writeText(dir.filePath("jobs/ref.json"), R"({
        "reference": {"method": "record", "file": "ref.dat", "slot": 4, "transfer_db": 3},
        "evaluation": {"recording_level_db": -10, "acceptance_level_db": -4}})");
    // Slot 5: 30 % at 46 dB against 60 % at 40 dB with 3 dB transfer correction:
    // 20 log10(30/60) - (46 - 40 - 3) = -9.0; at the record's own 60 degrees.
    const auto run = runCli({"evaluate", dac, "--job", refJob, "--slots", "5", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject five =
        QJsonDocument::fromJson(run.out).object()["slots"].toArray()[0].toObject();
    EXPECT_EQ(five["level_db"], QJsonValue(-9.0));
    EXPECT_TRUE(five["dac_pct"].isNull());
    EXPECT_EQ(five["depth_mm"], QJsonValue(19.8));
    EXPECT_EQ(five["result"], QJsonValue("acceptable"));
}

TEST_F(Evaluate, TheArchivesRecordsAreEvaluatedByTheirUuids) {
    const QString archive = dir.filePath("archive.sqlite");
    ASSERT_EQ(runCli({"archive", "import", tft, "--archive", archive}).exitCode, 0);
    const auto run = runCli({"evaluate", "--archive", archive, "--job", job, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray records = QJsonDocument::fromJson(run.out).object()["records"].toArray();
    ASSERT_EQ(records.size(), 5);
    // Slot 4's 60 % at x = 121 against the curve's 55.8 %: +0.6 dB, a reject; slot 5 is
    // slot 1 at another gain, which the DAC curve's level does not see.
    std::map<int, QString> results;
    for (const QJsonValue& record : records) {
        EXPECT_EQ(record.toObject()["uuid"].toString().size(), 36);
        results[record.toObject()["slot"].toInt()] = record.toObject()["result"].toString();
    }
    EXPECT_EQ(results, (std::map<int, QString>{{1, "acceptable"},
                                               {2, "no indication"},
                                               {3, "outside DAC"},
                                               {4, "reject"},
                                               {5, "acceptable"}}));
    EXPECT_EQ(runCli({"evaluate", "--job", job}).exitCode, 2);
    EXPECT_EQ(runCli({"evaluate", "--archive", archive, "--job", job, "--slots", "1"}).exitCode, 2);
}

TEST_F(Evaluate, MistakesInTheJobAreRefusedNamingThem) {
    const QString typo =
        writeText(dir.filePath("typo.json"), R"({"thickness": 20, "probe": {"angle_deg": "45"}})");
    auto run = runCli({"evaluate", tft, "--job", typo});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(run.err).trimmed(),
              QStringLiteral("trellicap-cli evaluate: \"%1\" is not a job: probe.angle_deg: a "
                             "number is expected; thickness: not a key of this file.")
                  .arg(typo));
    const QString noEcho = writeText(dir.filePath("noecho.json"),
                                     R"({"reference": {"method": "record", "file": "tft.dat",
                                         "slot": 2}})");
    run = runCli({"evaluate", tft, "--job", noEcho});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("the reference record (tft.dat, Mem 2) shows no echo in gate 1"))
        << run.err.toStdString();
    const QString otherModel = writeText(dir.filePath("dacjob.json"), R"({"model": "dac"})");
    run = runCli({"evaluate", tft, "--job", otherModel});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("the job is of the DAC model, the record file of the TFT model"));
    EXPECT_EQ(runCli({"evaluate", tft}).exitCode, 2);  // --job is needed
}

}  // namespace
}  // namespace trellicap
