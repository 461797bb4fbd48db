// The equipment register's warnings: what a job uses that is not registered, past its
// calibration date on a day of use, or without a passed daily check of the instrument with
// the probe that day; and the days a job's dates cover.
#include <gtest/gtest.h>

#include "inspection/equipment.h"
#include "inspection/job.h"
#include "job_fixtures.h"

namespace trellicap::inspection {
namespace {

const std::vector<QDate> kJobDays = {QDate(2026, 12, 8), QDate(2026, 12, 9)};

TEST(EquipmentWarnings, NothingToSayWhenEverythingIsInDateAndChecked) {
    const Job job = testing::completeJob();
    EXPECT_EQ(equipmentWarnings(testing::completeRegister(), equipmentUse(job), kJobDays),
              QStringList());
}

TEST(EquipmentWarnings, ADueDateBeforeADayOfUseIsNamedTheDueDayItselfIsNot) {
    std::vector<EquipmentItem> items = testing::completeRegister().items();
    std::get<Instrument>(items[0].data).calibrationDue = QDate(2026, 12, 9);
    std::get<Probe>(items[1].data).calibrationDue = QDate(2026, 12, 8);
    const QStringList warnings =
        equipmentWarnings(EquipmentRegister(items), equipmentUse(testing::completeJob()), kJobDays);
    EXPECT_EQ(warnings, QStringList{"Probe MWB45-4 SN P-77: calibration was due 2026-12-08, "
                                    "before its use on 2026-12-09"});
    std::get<Probe>(items[1].data).calibrationDue.reset();
    EXPECT_EQ(
        equipmentWarnings(EquipmentRegister(items), equipmentUse(testing::completeJob()), kJobDays),
        QStringList{"Probe MWB45-4 SN P-77: no calibration due date in the register"});
}

TEST(EquipmentWarnings, ADayWithoutAPassedCheckOfThatInstrumentWithThatProbeIsNamed) {
    std::vector<EquipmentItem> items = testing::completeRegister().items();
    // The check of the 9th failed; a passed check of the 8th was made with another probe.
    std::get<DailyCheck>(items[5].data).passed = false;
    std::get<DailyCheck>(items[4].data).probe = "P-78";
    const QStringList warnings =
        equipmentWarnings(EquipmentRegister(items), equipmentUse(testing::completeJob()), kJobDays);
    EXPECT_EQ(warnings,
              QStringList({"No passed daily check of instrument SN I-100 with probe SN P-77 on "
                           "2026-12-08",
                           "No passed daily check of instrument SN I-100 with probe SN P-77 on "
                           "2026-12-09"}));
}

TEST(EquipmentWarnings, EquipmentMissingFromTheRegisterIsNamed) {
    Job job = testing::completeJob();
    job.probe.serial = "P-99";
    job.block.id = "K2-01";
    const QStringList warnings =
        equipmentWarnings(testing::completeRegister(), equipmentUse(job), {QDate(2026, 12, 8)});
    EXPECT_EQ(warnings, QStringList({"Probe SN P-99 is not in the equipment register",
                                     "Block K2-01 is not in the equipment register",
                                     "No passed daily check of instrument SN I-100 with probe "
                                     "SN P-99 on 2026-12-08"}));
    // A job that names no equipment has nothing to warn about.
    EXPECT_TRUE(equipmentWarnings(testing::completeRegister(), {}, kJobDays).isEmpty());
}

TEST(EquipmentWarnings, TheDaysOfUseAreTheJobsDatesOrToday) {
    const QDate today(2026, 12, 20);
    EXPECT_EQ(daysOfUse(QDate(2026, 12, 8), QDate(2026, 12, 10), today),
              (std::vector<QDate>{QDate(2026, 12, 8), QDate(2026, 12, 9), QDate(2026, 12, 10)}));
    EXPECT_EQ(daysOfUse(QDate(2026, 12, 8), std::nullopt, today),
              std::vector<QDate>{QDate(2026, 12, 8)});
    EXPECT_EQ(daysOfUse(std::nullopt, std::nullopt, today), std::vector<QDate>{today});
    // A long campaign is checked on its first and last day, not day by day.
    EXPECT_EQ(daysOfUse(QDate(2026, 1, 1), QDate(2026, 12, 31), today),
              (std::vector<QDate>{QDate(2026, 1, 1), QDate(2026, 12, 31)}));
}

TEST(EquipmentRegister, EntriesAreFoundByTheirKeysAndNamedForMessages) {
    const EquipmentRegister reg = testing::completeRegister();
    ASSERT_NE(reg.probe("P-77"), nullptr);
    EXPECT_EQ(reg.probe("P-77")->makerType, "MWB45-4");
    EXPECT_EQ(reg.probe("I-100"), nullptr) << "an instrument's serial names no probe";
    EXPECT_EQ(reg.instrument(""), nullptr);
    EXPECT_EQ(reg.checks().size(), 2u);
    EXPECT_EQ(itemTitle(reg.items()[2].data), "Block ISO 2400 K1-07");
    EXPECT_EQ(itemTitle(reg.items()[3].data), "Couplant cellulose paste, batch B-9");
    EXPECT_EQ(itemKey(reg.items()[4].data), "check-8");
}

TEST(JobEquipment, TheRegisterFillsWhatTheJobLeavesBlankAndNothingElse) {
    Job job;
    job.probe.serial = "P-77";
    job.probe.angleDeg = 60;  // the job's own word stands
    job.instrument.serial = "I-100";
    job.block.id = "unknown";
    const Job filled = withRegisterDetails(job, testing::completeRegister());
    EXPECT_EQ(filled.probe.makerType, "MWB45-4");
    EXPECT_EQ(filled.probe.frequencyMhz, 4.0);
    EXPECT_EQ(filled.probe.angleDeg, 60.0);
    EXPECT_EQ(filled.probe.measuredAngleDeg, 45.5);
    EXPECT_EQ(filled.probe.type, ProbeType::Angle);
    EXPECT_EQ(filled.instrument.calibrationDue, QDate(2027, 3, 31));
    EXPECT_TRUE(filled.block.designation.isEmpty());
}

}  // namespace
}  // namespace trellicap::inspection
