// trellicap-cli's job and equipment commands, run as the built tool on one archive: an
// inspector registers equipment, opens a job from JOB.json, adds captured slots, notes an
// indication, sets a result with its reason and makes the report; JOB.json and ITEM.json go
// out and come back; an incomplete job makes a report only as a draft.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli_fixture.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "support/inspection_records.h"
#include "support/report_fixture.h"

namespace trellicap {
namespace {

using testing::runCli;
using testing::writeText;

// Slots 1 and 2 with echoes of 30 % and 80 % at sample 99 (-6.0 and +2.5 dB to the curve).
QString writeShift(const ModelProfile& profile, const QString& path) {
    RecordStore store(profile);
    store.initMemoryTable();
    for (int i = 0; i < 2; ++i) {
        testing::EchoRecord r;
        r.slot = QStringLiteral("00%1").arg(i + 1);
        r.samples = {{99, i == 0 ? 30 : 80}};
        const auto values = testing::echoRecord(profile, r);
        std::copy(values.begin(), values.end(), store.column(i).begin());
    }
    testing::writeFile(store, path);
    return path;
}

const QByteArray kEquipment = R"({"items": [
    {"kind": "instrument", "model": "KVR", "serial": "I-100", "firmware": "2.1",
     "certificate": "C-17", "calibration_due": "2027-03-31"},
    {"kind": "probe", "type": "angle", "maker_type": "MWB60-4", "serial": "P-77",
     "frequency_mhz": 4, "angle_deg": 60, "measured_angle_deg": 60,
     "calibration_due": "2027-01-31"},
    {"kind": "block", "designation": "ISO 2400", "id": "K1-07", "velocity_m_s": 3255},
    {"kind": "couplant", "name": "paste"},
    {"kind": "daily_check", "date": "2026-12-08", "instrument": "I-100", "probe": "P-77",
     "block": "K1-07", "measured_angle_deg": 60, "index_point_mm": 12, "result": "pass",
     "by": "Anna"}]})";

// Every mandatory item; the equipment named by serial and ID, the rest from the register.
const QByteArray kJob = R"({"client": "ACME Steel", "order": "4711", "object": "Weld W-12",
    "material": "S355J2", "thickness_mm": 20, "surface": "as welded", "temperature_c": 18,
    "procedure": "UT-P-07", "procedure_revision": "C", "standard": "ISO 17640",
    "testing_level": "B", "place": "Shop 2", "organisation": "Nord NDT",
    "date_from": "2026-12-08",
    "inspector": {"name": "Anna Inspector", "certification": "ISO 9712 UT 2"},
    "instrument": {"serial": "I-100"}, "probe": {"serial": "P-77"},
    "block": {"id": "K1-07"}, "couplant": "paste",
    "reference": {"method": "dac", "gain_db": 40, "transfer_db": 4},
    "evaluation": {"recording_level_db": -6, "acceptance_level_db": 0}})";

class JobCommands : public ::testing::Test {
protected:
    testing::CliRun cli(QStringList arguments) {
        arguments << "--archive" << archive;
        return runCli(arguments);
    }
    QString out(const testing::CliRun& run) { return QString::fromUtf8(run.out); }

    QTemporaryDir dir;
    QString archive = dir.filePath("archive.sqlite");
    QString shift = writeShift(tft::kProfile, dir.filePath("shift.dat"));
};

TEST_F(JobCommands, AnInspectorRegistersOpensAddsNotesDecidesAndReports) {
    auto run = cli({"equipment", "add", "--from", writeText(dir.filePath("items.json"), kEquipment),
                    "--by", "office"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(out(run).startsWith("kept Instrument KVR SN I-100, version 1\n"));
    EXPECT_EQ(cli({"equipment", "check", "--date", "2026-12-08"}).out,
              "Nothing is due and every check passed.\n");

    run = cli({"job", "new", "--from", writeText(dir.filePath("job.json"), kJob)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString id = out(run).trimmed();
    ASSERT_EQ(id.size(), 36);
    run = cli({"job", "add", id.left(8), shift});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(out(run),
              QStringLiteral("added 2 record(s) to job %1, now version 2\n").arg(id.left(8)));

    // 39.6 mm along the register's measured 60 degrees: depth 19.8, surface 34.3.
    run = cli({"job", "show", id});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(out(run).contains("Mandatory items: complete")) << run.out.toStdString();
    EXPECT_TRUE(out(run).contains("  Probe: angle MWB60-4, SN P-77\n")) << run.out.toStdString();
    EXPECT_TRUE(out(run).contains(QRegularExpression(
        "1 +Mem 1 \\(shift.dat\\) +1 +39.6 +19.8 +34.3 +30 +-6.0 dB / 50.0 % DAC .* acceptable\n")))
        << run.out.toStdString();
    EXPECT_TRUE(out(run).contains("Overall result: reject"));

    ASSERT_EQ(cli({"job", "note", id, "--record", "2", "--length", "6.5", "--position", "x 120 mm"})
                  .exitCode,
              0);
    EXPECT_EQ(cli({"job", "result", id, "--record", "2", "--set", "acceptable"}).exitCode, 2)
        << "a result is set only with its reason";
    run = cli({"job", "result", id, "--record", "2", "--set", "acceptable", "--reason",
               "root geometry", "--by", "Rolf Reviewer"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(out(run), QStringLiteral("job %1 is now version 4\n").arg(id.left(8)));
    run = cli({"job", "show", id});
    EXPECT_TRUE(out(run).contains("acceptable*")) << run.out.toStdString();
    EXPECT_TRUE(out(run).contains("Overall result: acceptable"));
    EXPECT_TRUE(
        out(run).contains("* Record 2: computed reject, set to acceptable by Rolf Reviewer on "))
        << run.out.toStdString();
    EXPECT_TRUE(out(run).contains("Version 4, ")) << "every change is in the amendments";

    const QString pdf = dir.filePath("job.pdf");
    run = cli({"job", "report", id, "-o", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const int pages = test::pdfPageCount(pdf);
    ASSERT_GE(pages, 3) << "pdfinfo (poppler-utils) is needed";
    const QString text = testing::runTool("pdftotext", {"-layout", "-f", "1", "-l", "1", pdf, "-"});
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of %1").arg(pages - 2))) << text.toStdString();
    EXPECT_TRUE(text.contains("ACME Steel"));
    EXPECT_FALSE(text.contains("DRAFT"));

    // The archive's records found by their job and the result there (once kept).
    ASSERT_EQ(cli({"archive", "import", shift}).exitCode, 0);
    run = cli({"archive", "search", "--job", "weld w-12", "--result", "acceptable", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(run.out).object()["records"].toArray().size(), 2)
        << "record 2 is acceptable by the inspector's word";
    run = cli({"archive", "search", "--job", "other client", "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(run.out).object()["records"].toArray().size(), 0);

    run = cli({"job", "list"});
    EXPECT_TRUE(out(run).contains(QRegularExpression(
        QStringLiteral("%1 +4 +tft +ACME Steel +4711 +Weld W-12 +2 +acceptable").arg(id.left(8)))))
        << run.out.toStdString();
}

TEST_F(JobCommands, JobJsonAndItemJsonGoOutAndComeBack) {
    ASSERT_EQ(cli({"equipment", "add", "--from", writeText(dir.filePath("items.json"), kEquipment)})
                  .exitCode,
              0);
    const QString id =
        out(cli({"job", "new", "--from", writeText(dir.filePath("job.json"), kJob)})).trimmed();
    ASSERT_EQ(cli({"job", "add", id, shift, "--slots", "2"}).exitCode, 0);
    const auto shown = cli({"job", "show", id, "--json"});
    ASSERT_EQ(shown.exitCode, 0);
    const QJsonObject job = QJsonDocument::fromJson(shown.out).object();
    EXPECT_EQ(job["probe"].toObject()["maker_type"].toString(), "MWB60-4");
    EXPECT_EQ(job["records"].toArray().size(), 1);
    EXPECT_EQ(job["history"].toArray().size(), 2);

    // The file makes a new job with the same details and records.
    const auto copy =
        cli({"job", "new", "--from", writeText(dir.filePath("copy.json"), shown.out)});
    ASSERT_EQ(copy.exitCode, 0) << copy.err.toStdString();
    const QString copyId = out(copy).trimmed();
    EXPECT_NE(copyId, id);
    const QJsonObject again =
        QJsonDocument::fromJson(cli({"job", "show", copyId, "--json"}).out).object();
    for (const char* key : {"client", "probe", "block", "reference", "evaluation", "records"}) {
        EXPECT_EQ(again[key], job[key]) << key;
    }
    EXPECT_EQ(again["version"].toInt(), 1);

    // The register as JSON, kept again: every entry a version further.
    const auto listed = cli({"equipment", "list", "--json"});
    ASSERT_EQ(QJsonDocument::fromJson(listed.out).object()["items"].toArray().size(), 5);
    ASSERT_EQ(cli({"equipment", "add", "--from", writeText(dir.filePath("all.json"), listed.out)})
                  .exitCode,
              0);
    const QJsonArray items = QJsonDocument::fromJson(cli({"equipment", "list", "--json"}).out)
                                 .object()["items"]
                                 .toArray();
    EXPECT_EQ(items.size(), 5) << "a daily check keeps its id, so it is the same entry";
    EXPECT_EQ(items[1].toObject()["version"].toInt(), 2);
}

TEST_F(JobCommands, AnIncompleteJobReportsOnlyAsADraftAndMistakesAreNamed) {
    const QString id = out(cli({"job", "new", "--from",
                                writeText(dir.filePath("job.json"),
                                          R"({"client": "ACME", "probe": {"serial": "P-9"}})")}))
                           .trimmed();
    ASSERT_EQ(id.size(), 36);
    ASSERT_EQ(cli({"job", "add", id, shift}).exitCode, 0);
    const QString pdf = dir.filePath("draft.pdf");
    auto run = cli({"job", "report", id, "-o", pdf});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(
        QStringLiteral("trellicap-cli job report: job %1 lacks mandatory items: Order number, "
                       "Object or weld ID,")
            .arg(id.left(8))
            .toUtf8()))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    run = cli({"job", "report", id, "-o", pdf, "--draft"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("trellicap-cli: warning: the report is a draft; missing: Order"));
    EXPECT_TRUE(run.err.contains("Probe SN P-9 is not in the equipment register"));
    const int pages = test::pdfPageCount(pdf);
    for (int page = 1; page <= pages; ++page) {
        EXPECT_TRUE(testing::runTool("pdftotext", {"-f", QString::number(page), "-l",
                                                   QString::number(page), pdf, "-"})
                        .contains("DRAFT"))
            << page;
    }

    // Records of the other model, an unknown job, a bad entry.
    const QString dacFile = writeShift(dac::kProfile, dir.filePath("dac.dat"));
    run = cli({"job", "add", id, dacFile});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(run.err).trimmed(),
              QStringLiteral("trellicap-cli job add: \"%1\" is a DAC record file; job %2 holds "
                             "TFT records.")
                  .arg(dacFile, id.left(8)));
    run = cli({"job", "show", "ffffffff"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(run.err).trimmed(),
              "trellicap-cli job show: there is no job ffffffff in the archive.");
    run = cli({"equipment", "add", "--from",
               writeText(dir.filePath("bad.json"), R"({"kind": "probe", "serial": "P-1",
                                                      "frequency": 4})")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        run.err.contains("type: is needed (straight, angle or dual); frequency: not a key "
                         "of this file."))
        << run.err.toStdString();
    EXPECT_EQ(cli({"job", "show"}).exitCode, 2);
    EXPECT_TRUE(cli({"job", "show"}).err.contains("job show needs a job's id."));
}

}  // namespace
}  // namespace trellicap
