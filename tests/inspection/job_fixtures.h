// A job with every item filled in, and the register it names, for the inspection tests.
#pragma once

#include "inspection/equipment.h"
#include "inspection/job.h"

namespace trellicap::inspection::testing {

inline Job completeJob() {
    Job job;
    job.model = "tft";
    job.client = "ACME Steel";
    job.order = "4711";
    job.object = "Weld W-12";
    job.material = "S355J2";
    job.thicknessMm = 20;
    job.surface = "as welded, ground flush";
    job.temperatureC = 18;
    job.procedure = "UT-P-07";
    job.procedureRevision = "C";
    job.standard = "ISO 17640";
    job.testingLevel = "B";
    job.place = "Shop 2, Hamburg";
    job.organisation = "Nord NDT GmbH";
    job.dateFrom = QDate(2026, 12, 8);
    job.dateTo = QDate(2026, 12, 9);
    job.inspector = {"A. Inspector", "ISO 9712 UT 2 no. 1234"};
    job.reviewer = {"R. Reviewer", "ISO 9712 UT 3 no. 88"};
    job.instrument = {"KVR TFT", "I-100", "2.1", "C-2026-17", QDate(2027, 3, 31)};
    job.probe.type = ProbeType::Angle;
    job.probe.makerType = "MWB45-4";
    job.probe.serial = "P-77";
    job.probe.frequencyMhz = 4;
    job.probe.elementSize = "8 x 9 mm";
    job.probe.angleDeg = 45;
    job.probe.measuredAngleDeg = 45.5;
    job.probe.delayUs = 1.2;
    job.probe.calibrationDue = QDate(2027, 1, 31);
    job.block = {"ISO 2400", "K1-07", 3255};
    job.couplant = "cellulose paste";
    job.reference.method = ReferenceMethod::Dac;
    job.reference.reflector = "3 mm side-drilled hole";
    job.reference.gainDb = 42;
    job.reference.transferDb = 4;
    job.evaluation = {-6.0, 0.0, 10.0, "ISO 11666 level 2"};
    JobItem item;
    item.item = 1;
    item.slot = 12;
    item.origin = {OriginKind::File, "/data/shift-12.dat", {}, 0};
    item.values = {0, 10, 80, 32, -1, 255};
    item.lengthMm = 8.5;
    item.position = "x 120 mm from datum A";
    job.items.push_back(item);
    return job;
}

// The register the complete job names: everything in date, a passed check each day.
inline EquipmentRegister completeRegister() {
    const Job job = completeJob();
    std::vector<EquipmentItem> items = {
        {job.instrument, 1, "office", "2026-01-02T09:00:00+01:00"},
        {job.probe, 2, "office", "2026-01-02T09:00:00+01:00"},
        {job.block, 1, "office", "2026-01-02T09:00:00+01:00"},
        {Couplant{"cellulose paste", "B-9"}, 1, "office", "2026-01-02T09:00:00+01:00"},
    };
    for (int day : {8, 9}) {
        DailyCheck check{QStringLiteral("check-%1").arg(day),
                         QDate(2026, 12, day),
                         "I-100",
                         "P-77",
                         "K1-07",
                         45.5,
                         12.0,
                         true,
                         "A. Inspector"};
        items.push_back({check, 1, "A. Inspector", "2026-12-08T07:30:00+01:00"});
    }
    return EquipmentRegister(items);
}

}  // namespace trellicap::inspection::testing
