// A job's records read and evaluated as the tables read them, the CSV's numbers beside its
// texts, and the job report: its texts at their places (pdftotext), the job's own pages
// numbered "Page n of N", then each record's report page, DRAFT on every page of a job that
// lacks mandatory items. Both models.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>
#include <ostream>

#include "inspection/job_json.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "report/csv_format.h"
#include "report/export_job.h"
#include "report/job_evaluation.h"
#include "report/job_report_content.h"
#include "report/job_report_layout.h"
#include "report/report_composer.h"
#include "report/slot_record.h"
#include "report/slot_view.h"
#include "support/inspection_records.h"
#include "support/report_fixture.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace trellicap {
namespace {

using inspection::Job;
using inspection::JobItem;
using inspection::Result;
using testing::EchoRecord;
using testing::echoRecord;

const ModelProfile* const kProfiles[] = {&tft::kProfile, &dac::kProfile};

// A job with every mandatory item, DAC method, recording level -6 dB, acceptance 0 dB, a
// 60 degree probe, and `records` records: the first an echo of 30 % at sample 99 (x = 100,
// on the curve's 60 % point), the second with gate 1 off (no indication), then echoes of 80 %
// (reject) in turn.
Job jobOf(const ModelProfile& profile, int records) {
    Job job;
    job.id = QStringLiteral("6f1c2d3e-0000-4000-8000-000000000001");
    job.model = modelName(profile);
    job.client = "ACME Steel";
    job.order = "4711";
    job.object = "Weld W-12";
    job.material = "S355J2";
    job.thicknessMm = 20;
    job.surface = "as welded";
    job.temperatureC = 18;
    job.procedure = "UT-P-07";
    job.procedureRevision = "C";
    job.standard = "ISO 17640";
    job.testingLevel = "B";
    job.place = "Shop 2";
    job.organisation = "Nord NDT";
    job.dateFrom = QDate(2026, 12, 8);
    job.inspector = {"Anna Inspector", "ISO 9712 UT 2 no. 1234"};
    job.reviewer = {"Rolf Reviewer", "ISO 9712 UT 3"};
    job.instrument = {"KVR", "I-100", "2.1", "C-17", QDate(2027, 3, 31)};
    job.probe.type = inspection::ProbeType::Angle;
    job.probe.serial = "P-77";
    job.probe.frequencyMhz = 4;
    job.probe.angleDeg = 60;
    job.probe.measuredAngleDeg = 60;
    job.probe.calibrationDue = QDate(2027, 1, 31);
    job.block = {"ISO 2400", "K1-07", 3255};
    job.couplant = "paste";
    job.reference.gainDb = 40;
    job.evaluation = {-6.0, 0.0, std::nullopt, "ISO 11666 level 2"};
    for (int i = 0; i < records; ++i) {
        EchoRecord r;
        r.slot = QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0'));
        if (i == 1) {
            r.gate = QStringLiteral("OFF");
        } else if (i > 1) {
            r.samples = {{99, 80}};
        }
        JobItem item;
        item.item = i + 1;
        item.slot = i + 1;
        item.origin.kind = inspection::OriginKind::File;
        item.origin.file = "/data/shift-12.dat";
        item.values = echoRecord(profile, r);
        job.items.push_back(item);
    }
    job = inspection::nextVersion(job, "anna", "2026-12-08T14:02:11+01:00", "created");
    return job;
}

inspection::EquipmentRegister registerFor(const Job& job) {
    inspection::DailyCheck check{"c1",  QDate(2026, 12, 8), "I-100", "P-77", "K1-07", 60, 12, true,
                                 "anna"};
    return inspection::EquipmentRegister({{job.instrument, 1, {}, {}},
                                          {job.probe, 1, {}, {}},
                                          {job.block, 1, {}, {}},
                                          {check, 1, {}, {}}});
}

TEST(JobEvaluation, EachModelsRecordIsReadAsTheTablesReadIt) {
    for (const ModelProfile* profile : kProfiles) {
        const auto values = echoRecord(*profile, EchoRecord{});
        RecordStore store(*profile);
        store.initMemoryTable();
        std::copy(values.begin(), values.end(), store.column(11).begin());
        SlotView view(store);
        view.recall(11);
        const SlotRecord row = slotRecord(fieldLabels(*profile), view, 12, true);
        const inspection::RecordReading fromTable = recordReading(row);
        const inspection::RecordReading fromValues = readingOfValues(*profile, values);
        // Sample 99 of a 100 mm RANGE from 0: 100 * 99 / 250 = 39.6 mm.
        ASSERT_TRUE(fromValues.peak) << profile->modelKey;
        EXPECT_EQ(fromValues.peak->sample, 99);
        EXPECT_EQ(fromValues.peak->amplitude, 30);
        EXPECT_DOUBLE_EQ(fromValues.peak->pathMm, 39.6);
        EXPECT_EQ(fromValues.peak->sample, fromTable.peak->sample);
        EXPECT_DOUBLE_EQ(fromValues.peak->pathMm, fromTable.peak->pathMm);
        EXPECT_EQ(fromValues.dacPoints, (inspection::DacPoints{{20, 80}, {100, 60}, {200, 40}}));
        EXPECT_EQ(fromValues.dacPoints, fromTable.dacPoints);
        EXPECT_EQ(fromValues.gainDb, 40.0);
        EXPECT_EQ(fromValues.angleDeg, 60.0);
        EXPECT_EQ(fromTable.gainDb, 40.0);
        // Without a job: along the record's 60 degrees, to its own curve, no result.
        EXPECT_DOUBLE_EQ(*row.evaluation.depthMm, 19.8);
        EXPECT_DOUBLE_EQ(*row.evaluation.surfaceMm, 34.3);
        EXPECT_DOUBLE_EQ(*row.evaluation.levelDb, -6.0);
        EXPECT_FALSE(row.evaluation.result);
    }
}

TEST(JobEvaluation, EveryRecordIsEvaluatedAgainstTheJobByEitherMethod) {
    for (const ModelProfile* profile : kProfiles) {
        Job job = jobOf(*profile, 3);
        JobEvaluation e = evaluateJob(*profile, job);
        ASSERT_EQ(e.records.size(), 3u);
        EXPECT_EQ(e.records[0].result, Result::Acceptable);  // -6.0 dB
        EXPECT_EQ(e.records[1].result, Result::NoIndication);
        EXPECT_EQ(e.records[2].result, Result::Reject);  // 20 log10(80/60) = 2.5 dB
        EXPECT_EQ(e.summary.overall, "reject");

        // A reference echo of 60 % at 40 dB; the record at 46 dB with a 3 dB transfer
        // correction: 20 log10(30/60) - (46 - 40 - 3) = -6.02 - 3 = -9.0: below -6 dB.
        EchoRecord reference;
        reference.samples = {{120, 60}};
        job.reference.method = inspection::ReferenceMethod::Record;
        job.reference.values = echoRecord(*profile, reference);
        job.reference.transferDb = 3;
        EchoRecord record;
        record.gain = QStringLiteral("46.0");
        job.items[0].values = echoRecord(*profile, record);
        e = evaluateJob(*profile, job);
        ASSERT_TRUE(e.reference);
        EXPECT_EQ(e.reference->amplitude, 60);
        EXPECT_EQ(e.reference->gainDb, 40.0);
        EXPECT_DOUBLE_EQ(*e.records[0].levelDb, -9.0);
        EXPECT_EQ(e.records[0].result, Result::BelowRecordingLevel);
        // A reference record of the other model is no reference here.
        job.reference.model = profile == &tft::kProfile ? "dac" : "tft";
        EXPECT_FALSE(evaluateJob(*profile, job).reference);
        // A record of the other model's size is named, and leaves the job not evaluated.
        job.items[1].values.resize(10);
        e = evaluateJob(*profile, job);
        EXPECT_FALSE(e.records[1].result);
        EXPECT_EQ(e.summary.overall, "not evaluated");
    }
}

// The CSV of slots 12 and 13 (a record with its echo, one with gate 1 off).
QList<QByteArray> csvRows(const ModelProfile& profile,
                          std::optional<inspection::EvaluationSettings> evaluation) {
    RecordStore store(profile);
    store.initMemoryTable();
    const auto echo = echoRecord(profile, EchoRecord{});
    std::copy(echo.begin(), echo.end(), store.column(11).begin());
    EchoRecord off;
    off.gate = QStringLiteral("OFF");
    off.gain = QStringLiteral("     ");
    const auto quiet = echoRecord(profile, off);
    std::copy(quiet.begin(), quiet.end(), store.column(12).begin());
    ExportRequest request;
    request.format = ExportFormat::Csv;
    request.slotNumbers = {12, 13};
    request.evaluation = std::move(evaluation);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ExportJob job(store, request, buffer);
    EXPECT_TRUE(job.run()) << job.error().toStdString();
    return buffer.data().split('\n');
}

TEST(CsvNumbers, TheNumbersStandAfterEveryOtherColumnWithAResultOnlyForAJob) {
    for (const ModelProfile* profile : kProfiles) {
        QList<QByteArray> rows = csvRows(*profile, std::nullopt);
        EXPECT_TRUE(rows[0].endsWith(
            "gate1_peak_pct,gate1_peak_path,gate2_peak_pct,gate2_peak_path,gain_db,range_mm,"
            "delay_mm,gate1_start_pct,gate1_width_pct,gate1_level_pct,gate2_start_pct,"
            "gate2_width_pct,gate2_level_pct,angle_deg,depth_mm,surface_mm,level_db,dac_pct,"
            "result\r"))
            << rows[0].toStdString();
        // The peak (30 % at 39.6 mm), then gain 40, RANGE 100, DELAY 0, gate 1 20/60/20 %,
        // gate 2's blank texts, 60 degrees, depth 39.6 cos 60, surface 39.6 sin 60, -6.0 dB
        // and 50 % of the curve's 60 %; no result without a job.
        EXPECT_TRUE(rows[1].endsWith("30,39.6,,,40,100,0,20,60,20,,,,60,19.8,34.3,-6.0,50.0,\r"))
            << rows[1].toStdString() << profile->modelKey;
        // No gate, no echo: the place and level stay empty, and so does a blank gain.
        EXPECT_TRUE(rows[2].endsWith(",,,,,100,0,20,60,20,,,,60,,,,,\r")) << rows[2].toStdString();

        inspection::EvaluationSettings settings;
        settings.rule = {-6.0, 0.0, std::nullopt, {}};
        settings.measuredAngleDeg = 45;
        rows = csvRows(*profile, settings);
        EXPECT_TRUE(rows[1].endsWith(",45,28.0,28.0,-6.0,50.0,acceptable\r"))
            << rows[1].toStdString();
        EXPECT_TRUE(rows[2].endsWith(",45,,,,,no indication\r")) << rows[2].toStdString();
    }
}

TEST(JobReportContent, TheCoverTheIndicationsAndTheSummaryHoldTheJob) {
    const Job job = jobOf(tft::kProfile, 3);
    const JobReportContent c =
        jobReportContent(tft::kProfile, job, registerFor(job), QDate(2026, 12, 10));
    EXPECT_FALSE(c.draft()) << c.missing.join(", ").toStdString();
    EXPECT_EQ(c.jobLine, "Order 4711, Weld W-12 (ACME Steel) - job 6f1c2d3e, version 1");
    ASSERT_EQ(c.cover.size(), 6u);
    EXPECT_EQ(c.cover[0].fields[4], (ReportField{"Thickness", "20 mm"}));
    EXPECT_EQ(c.cover[3].fields[0], (ReportField{"Instrument", "KVR, SN I-100, firmware 2.1"}));
    EXPECT_EQ(c.cover[3].fields[1],
              (ReportField{"Instrument calibration", "certificate C-17, due 2027-03-31"}));
    EXPECT_EQ(c.cover[3].fields[5],
              (ReportField{"Probe angle", QString::fromUtf8("nominal 60°, measured 60°")}));
    EXPECT_EQ(c.cover[3].lines, QStringList()) << "in date and checked: no warning";
    EXPECT_EQ(c.cover[4].fields.back(), (ReportField{"Time-base range", "0 to 100 mm"}));
    ASSERT_EQ(c.indications.size(), 3u);
    EXPECT_EQ(c.indications[0],
              QStringList({"1", "Mem 1 (shift-12.dat)", "1", "39.6", "19.8", "34.3", "30",
                           "-6.0 dB / 50.0 % DAC", QString::fromUtf8("—"), QString::fromUtf8("—"),
                           "acceptable"}));
    EXPECT_EQ(c.indications[1][10], "no indication");
    EXPECT_EQ(c.indications[2][7], "2.5 dB / 133.3 % DAC");
    EXPECT_EQ(
        c.closing[0].fields,
        (std::vector<ReportField>{
            {"Records", "3"}, {"Recorded", "2"}, {"Rejected", "1"}, {"Overall result", "reject"}}));
    EXPECT_EQ(c.closing[2].lines,
              QStringList{"Version 1, 2026-12-08T14:02:11+01:00, anna: created"});

    // An override is marked in the table and explained with its reason.
    Job overridden = job;
    overridden.items[2].resultOverride = inspection::ResultOverride{
        Result::Acceptable, "geometry of the root", "anna", "2026-12-09T10:00:00+01:00"};
    const JobReportContent o =
        jobReportContent(tft::kProfile, overridden, registerFor(job), QDate(2026, 12, 10));
    EXPECT_EQ(o.indications[2][10], "acceptable*");
    EXPECT_EQ(o.closing[0].fields[3].value, "acceptable");
    EXPECT_TRUE(o.closing[1].lines.contains(
        "* Record 3: computed reject, set to acceptable by anna on 2026-12-09: geometry of the "
        "root"));
}

QString writeJobReport(const ModelProfile& profile, const Job& job, const QTemporaryDir& dir,
                       const JobReportContent& content) {
    RecordStore store(profile);
    store.initMemoryTable();
    ExportRequest request;
    request.format = ExportFormat::JobReport;
    request.title = inspection::jobTitle(job);
    for (const JobItem& item : job.items) {
        request.records.push_back(item.values);
    }
    request.jobReport = std::make_shared<JobReportContent>(content);
    const QString path = dir.filePath(QStringLiteral("job.pdf"));
    ExportJob run(store, request, path);
    EXPECT_TRUE(run.run()) << run.error().toStdString();
    return path;
}

TEST(JobReport, TheJobsNumberedPagesComeFirstThenEachRecordsPage) {
    for (const ModelProfile* profile : kProfiles) {
        QTemporaryDir dir;
        const Job job = jobOf(*profile, 40);  // the table runs onto a second page
        const JobReportContent content =
            jobReportContent(*profile, job, registerFor(job), QDate(2026, 12, 10));
        const int jobPages = static_cast<int>(layoutJobReport(content).size());
        ASSERT_GE(jobPages, 2);
        const QString pdf = writeJobReport(*profile, job, dir, content);
        ASSERT_EQ(test::pdfPageCount(pdf), jobPages + 40) << "pdfinfo (poppler-utils) is needed";
        EXPECT_TRUE(test::listPdfImages(pdf).empty()) << "lines and text only";
        const QString bbox = testing::runTool(QStringLiteral("pdftotext"),
                                              {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        ASSERT_FALSE(bbox.isEmpty()) << "pdftotext (poppler-utils) is needed";

        // "Page n of N" at the foot of the job's own pages, right-aligned; the job above them.
        for (int page = 1; page <= jobPages; ++page) {
            const testing::PdfWord number = testing::pdfWord(bbox, page, QStringLiteral("Page"));
            EXPECT_GT(number.yMin, 790) << page;
            EXPECT_GT(number.xMin, 450) << page;
            EXPECT_EQ(testing::pdfLineAt(bbox, page, number.yMin).section(QLatin1Char(' '), -4),
                      QStringLiteral("Page %1 of %2").arg(page).arg(jobPages));
            EXPECT_LT(testing::pdfWord(bbox, page, QStringLiteral("4711,")).yMin, 40) << page;
            EXPECT_EQ(testing::pdfWord(bbox, page, QStringLiteral("DRAFT")).xMin, -1);
        }
        // The cover: the title on top, each item's value on its label's line.
        EXPECT_LT(testing::pdfWord(bbox, 1, QStringLiteral("Ultrasonic")).yMin, 80);
        const testing::PdfWord thickness = testing::pdfWord(bbox, 1, QStringLiteral("Thickness"));
        EXPECT_EQ(testing::pdfLineAt(bbox, 1, thickness.yMin), "Thickness 20 mm");
        const testing::PdfWord revision = testing::pdfWord(bbox, 1, QStringLiteral("revision"));
        EXPECT_EQ(testing::pdfLineAt(bbox, 1, revision.yMin), "Procedure revision C");
        // The indications: a row's cells on one line, in the columns' order.
        bool rowFound = false;
        for (int page = 1; page <= jobPages && !rowFound; ++page) {
            for (const testing::PdfWord& word : testing::pdfWords(bbox, page)) {
                if (word.text == QLatin1String("39.6")) {
                    EXPECT_EQ(testing::pdfLineAt(bbox, page, word.yMin),
                              QString::fromUtf8("1 Mem 1 (shift-12.dat) 1 39.6 19.8 34.3 30 -6.0 "
                                                "dB / 50.0 % DAC — — acceptable"));
                    rowFound = true;
                    break;
                }
            }
        }
        EXPECT_TRUE(rowFound);
        // The signature boxes side by side on the last of the job's pages: the inspector's
        // dated the day the report is made, the reviewer's left for the reviewer's hand.
        const testing::PdfWord inspector =
            testing::pdfWord(bbox, jobPages, QStringLiteral("Inspector"));
        const testing::PdfWord reviewer =
            testing::pdfWord(bbox, jobPages, QStringLiteral("Reviewer"));
        ASSERT_GT(inspector.yMin, 0);
        EXPECT_NEAR(reviewer.yMin, inspector.yMin, 1);
        EXPECT_GT(reviewer.xMin, 290);
        const testing::PdfWord date =
            testing::pdfWord(bbox, jobPages, QStringLiteral("2026-12-10"));
        EXPECT_LT(date.xMin, 290);
        EXPECT_GT(date.yMin, inspector.yMin);
        // Then the record pages as the report page prints them, with no page number.
        for (const int page : {jobPages + 1, jobPages + 40}) {
            EXPECT_NEAR(testing::pdfWord(bbox, page, QStringLiteral("Ultrasonic")).yMin,
                        kPageBaseY / 20.0, 3)
                << page;
            EXPECT_EQ(testing::pdfWord(bbox, page, QStringLiteral("Page")).xMin, -1);
        }
        // PDF/A-1b.
        const QString xmp =
            testing::runTool(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf});
        EXPECT_TRUE(xmp.contains(QStringLiteral("pdfaid:part=\"1\"")));
    }
}

TEST(JobReport, AJobLackingMandatoryItemsListsThemAndSaysDraftOnEveryPage) {
    QTemporaryDir dir;
    Job job = jobOf(dac::kProfile, 2);
    job.client.clear();
    job.probe.measuredAngleDeg.reset();
    job.evaluation.acceptanceLevelDb.reset();
    const JobReportContent content =
        jobReportContent(dac::kProfile, job, registerFor(job), QDate(2026, 12, 10));
    EXPECT_EQ(content.missing, QStringList({"Client", "Probe measured angle", "Acceptance level"}));
    EXPECT_EQ(content.cover[0].lines,
              QStringList{"This report is a draft: mandatory items are missing: Client, Probe "
                          "measured angle, Acceptance level."});
    const QString pdf = writeJobReport(dac::kProfile, job, dir, content);
    const int pages = test::pdfPageCount(pdf);
    ASSERT_GT(pages, 2);
    const QString bbox = testing::runTool(QStringLiteral("pdftotext"),
                                          {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    for (int page = 1; page <= pages; ++page) {
        const testing::PdfWord draft = testing::pdfWord(bbox, page, QStringLiteral("DRAFT"));
        EXPECT_GT(draft.xMin, 0) << page;
        EXPECT_LT(draft.yMin, 60) << page;
    }
    // Without an acceptance level no record has a result.
    EXPECT_EQ(content.closing[0].fields[3].value, "not evaluated");
}

}  // namespace
}  // namespace trellicap
