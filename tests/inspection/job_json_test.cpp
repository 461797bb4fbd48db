// JOB.json and ITEM.json both ways: what `job show --json` and `equipment list --json` write
// reads back as the same job and entries; a wrong type, an unknown key, a bad date or an
// override without its reason is refused with the key named.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "inspection/equipment_json.h"
#include "inspection/job_completeness.h"
#include "inspection/job_json.h"
#include "inspection/record_values_text.h"
#include "job_fixtures.h"

namespace trellicap::inspection {
namespace {

Job keptJob() {
    Job job = testing::completeJob();
    job.id = "6f1c2d3e-0000-4000-8000-000000000001";
    job = nextVersion(job, "A. Inspector", "2026-12-08T14:02:11+01:00", "created");
    job.items[0].resultOverride =
        ResultOverride{Result::Acceptable, "root geometry, confirmed from the other side",
                       "A. Inspector", "2026-12-08T15:00:00+01:00"};
    JobItem archived;
    archived.item = 2;
    archived.slot = 7;
    archived.origin = {OriginKind::Archive, {}, "1a2b3c4d-aaaa-4bbb-8ccc-000000000002", 3};
    archived.values = std::vector<RecordValue>(701, 32);
    job.items.push_back(archived);
    job.reference.method = ReferenceMethod::Record;
    job.reference.file = "ref.dat";
    job.reference.slot = 1;
    job.reference.model = "tft";
    job.reference.values = {1, 2, 3};
    return nextVersion(job, "A. Inspector", "2026-12-08T15:00:00+01:00",
                       "result of record 1 set to acceptable");
}

TEST(JobJson, AJobReadsBackExactlyAsItWasWritten) {
    const Job job = keptJob();
    const JobRead read = readJob(jobDocument(job));
    ASSERT_TRUE(read.errors.isEmpty()) << read.errors.join('\n').toStdString();
    EXPECT_EQ(read.job, job);
    EXPECT_EQ(read.job.version, 2);
    EXPECT_EQ(read.job.history.size(), 2u);
    EXPECT_EQ(read.job.items[1].values.size(), 701u);
}

TEST(JobJson, TheIssuesKeysAreTheFilesKeys) {
    const QByteArray text = R"({
        "client": "ACME", "order": "4711", "object": "W-12", "material": "S355",
        "thickness_mm": 20, "procedure": "UT-P-07", "procedure_revision": "C",
        "inspector": {"name": "A. Inspector", "certification": "UT 2"},
        "probe": {"serial": "P-77", "frequency_mhz": 4, "angle_deg": 45,
                  "measured_angle_deg": 45.5},
        "block": {"designation": "ISO 2400", "id": "K1-07"},
        "reference": {"method": "record", "file": "ref.dat", "slot": 3, "transfer_db": 4},
        "evaluation": {"recording_level_db": -6, "acceptance_level_db": 0,
                       "length_limit_mm": null}
    })";
    const JobRead read = readJob(text);
    ASSERT_TRUE(read.errors.isEmpty()) << read.errors.join('\n').toStdString();
    EXPECT_EQ(read.job.thicknessMm, 20.0);
    EXPECT_EQ(read.job.inspector.certification, "UT 2");
    EXPECT_EQ(read.job.probe.measuredAngleDeg, 45.5);
    EXPECT_EQ(read.job.block.id, "K1-07");
    EXPECT_EQ(read.job.reference.method, ReferenceMethod::Record);
    EXPECT_EQ(read.job.reference.slot, 3);
    EXPECT_EQ(read.job.reference.transferDb, 4.0);
    EXPECT_EQ(read.job.evaluation.recordingLevelDb, -6.0);
    EXPECT_FALSE(read.job.evaluation.lengthLimitMm);
}

TEST(JobJson, MistakesAreRefusedWithTheirKeysNamed) {
    const JobRead read = readJob(R"({
        "client": 12, "thickness": 20, "date_from": "8.12.2026",
        "probe": {"angle_deg": "45"},
        "reference": {"method": "curve"},
        "records": [{"slot": 3, "values": "AQA=",
                     "override": {"result": "acceptable", "reason": " "}},
                    {"slot": 4}]
    })");
    EXPECT_EQ(read.errors, QStringList({"client: a text in quotes is expected",
                                        "date_from: a date such as \"2026-12-08\" is expected",
                                        "probe.angle_deg: a number is expected",
                                        "reference.method: \"dac\" or \"record\" is expected",
                                        "records[0].override.reason: an override needs its reason",
                                        "records[1].values: is needed: the record itself",
                                        "thickness: not a key of this file"}));
    EXPECT_EQ(readJob("{\"client\": ").errors.size(), 1);
    EXPECT_EQ(readJob("[1, 2]").errors, QStringList{"the JSON holds no object in braces"});
}

TEST(ItemJson, EntriesReadBackFromOneObjectOrFromTheList) {
    const Job job = testing::completeJob();
    const EquipmentRegister reg = testing::completeRegister();
    const ItemsRead all = readItems(itemsDocument(reg.items()));
    ASSERT_TRUE(all.errors.isEmpty()) << all.errors.join('\n').toStdString();
    ASSERT_EQ(all.items.size(), reg.items().size());
    for (std::size_t i = 0; i < all.items.size(); ++i) {
        EXPECT_EQ(all.items[i], reg.items()[i].data) << i;
    }
    const ItemsRead one = readItems(R"({"kind": "probe", "type": "angle", "serial": "P-1",
        "frequency_mhz": 2, "angle_deg": 70, "calibration_due": "2027-05-01"})");
    ASSERT_TRUE(one.errors.isEmpty());
    const auto& probe = std::get<Probe>(one.items.at(0));
    EXPECT_EQ(probe.angleDeg, 70.0);
    EXPECT_EQ(probe.calibrationDue, QDate(2027, 5, 1));
}

TEST(ItemJson, AnEntryWithoutItsKeyOrKindIsRefusedWhole) {
    EXPECT_EQ(readItems(R"({"kind": "probe", "frequency_mhz": 2})").errors,
              QStringList({"serial: is needed", "type: is needed (straight, angle or dual)"}));
    EXPECT_EQ(readItems(R"({"kind": "scanner"})").errors,
              QStringList{"kind: one of instrument, probe, block, couplant, daily_check is "
                          "expected"});
    const ItemsRead checks = readItems(R"({"items": [
        {"kind": "daily_check", "date": "2026-12-08", "instrument": "I-100", "result": "pass"},
        {"kind": "daily_check", "date": "2026-12-08", "instrument": "I-100", "result": "ok"}]})");
    EXPECT_EQ(checks.errors, QStringList{"items[1].result: \"pass\" or \"fail\" is expected"});
    EXPECT_TRUE(checks.items.empty()) << "nothing of a file with a mistake is taken";
}

TEST(RecordValuesText, ValuesTravelAsLittleEndianBase64) {
    const std::vector<RecordValue> values = {0, 1, 255, -1, 32767, -32768};
    EXPECT_EQ(valuesText(values), QStringLiteral("AAABAP8A////fwCA"));
    EXPECT_EQ(valuesFromText(valuesText(values)), values);
    EXPECT_FALSE(valuesFromText("AAAA"));  // three bytes: no whole value
    EXPECT_FALSE(valuesFromText("not base64!"));
}

TEST(JobCompleteness, ACompleteJobLacksNothingAnEmptyOneLacksEveryItem) {
    EXPECT_EQ(missingItems(testing::completeJob(), std::nullopt), QStringList());
    const QStringList all = missingItems(Job{}, std::nullopt);
    EXPECT_EQ(all.size(), 29);
    EXPECT_EQ(all.first(), "Client");
    EXPECT_TRUE(all.contains("Procedure revision"));
    EXPECT_TRUE(all.contains("Probe measured angle"));
    EXPECT_EQ(all.last(), "Records");
}

TEST(JobCompleteness, AStraightProbeNeedsNoMeasuredAngleAReferenceRecordNeedsItsEcho) {
    Job job = testing::completeJob();
    job.probe.type = ProbeType::Straight;
    job.probe.measuredAngleDeg.reset();
    EXPECT_TRUE(missingItems(job, std::nullopt).isEmpty());
    job.reference.method = ReferenceMethod::Record;
    EXPECT_EQ(missingItems(job, std::nullopt), QStringList{"Reference record"});
    job.reference.values = {0, 1, 2};
    EXPECT_EQ(missingItems(job, std::nullopt),
              QStringList{"Reference echo (gate 1 of the reference record)"});
    EXPECT_TRUE(missingItems(job, ReferenceEcho{80, 42}).isEmpty());
}

}  // namespace
}  // namespace trellicap::inspection
