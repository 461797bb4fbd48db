// The job report of a 200-record job: the job's own pages (cover, indications, summary,
// signatures) and the 200 record pages, as lines and real text in one PDF/A document, through
// the export job the window and trellicap-cli drive. Goals: at most 3 s, at most 20 KB a
// page. Counters: pages, KB_per_page.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>

#include "inspection/job.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "report/export_job.h"
#include "report/job_report_content.h"
#include "report/job_report_layout.h"
#include "support/inspection_records.h"

namespace trellicap {
namespace {

// Every item filled in; 200 records whose echoes move along the trace and grow and shrink,
// so that the table holds every kind of result.
inspection::Job jobOf200(const ModelProfile& profile) {
    inspection::Job job;
    job.id = QStringLiteral("6f1c2d3e-0000-4000-8000-000000000001");
    job.version = 1;
    job.model = QString::fromLatin1(profile.modelKey.data(),
                                    static_cast<qsizetype>(profile.modelKey.size()));
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
    job.inspector = {"Anna Inspector", "ISO 9712 UT 2"};
    job.instrument = {"KVR", "I-100", "2.1", "C-17", QDate(2027, 3, 31)};
    job.probe.type = inspection::ProbeType::Angle;
    job.probe.serial = "P-77";
    job.probe.frequencyMhz = 4;
    job.probe.angleDeg = 60;
    job.probe.measuredAngleDeg = 60.5;
    job.block = {"ISO 2400", "K1-07", 3255};
    job.couplant = "paste";
    job.reference.gainDb = 40;
    job.evaluation = {-6.0, 0.0, 10.0, "ISO 11666 level 2"};
    for (int i = 0; i < 200; ++i) {
        testing::EchoRecord r;
        r.slot = QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0'));
        r.samples.clear();
        for (int s = 1; s < 251; ++s) {
            r.samples.emplace_back(s, (s * 7 + i) % 11);
        }
        r.samples.emplace_back(60 + i % 120, 20 + (i * 13) % 75);
        inspection::JobItem item;
        item.item = i + 1;
        item.slot = i + 1;
        item.origin.kind = inspection::OriginKind::File;
        item.origin.file = "/data/shift-12.dat";
        item.values = testing::echoRecord(profile, r);
        item.lengthMm = (i % 15) * 1.0;
        item.position = QStringLiteral("x %1 mm from datum A").arg(i * 25);
        job.items.push_back(item);
    }
    return job;
}

// Argument: model (0 TFT, 1 DAC).
void BM_JobReportOf200Records(benchmark::State& state) {
    const ModelProfile& profile = state.range(0) == 0 ? tft::kProfile : dac::kProfile;
    const inspection::Job job = jobOf200(profile);
    qint64 bytes = 0;
    int pages = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        RecordStore store(profile);
        store.initMemoryTable();
        auto content = std::make_shared<JobReportContent>(
            jobReportContent(profile, job, {}, QDate(2026, 12, 10)));
        ExportRequest request = jobReportRequest(job, content);
        pages = static_cast<int>(layoutJobReport(*content).size()) + content->records;
        ExportJob run(store, std::move(request), buffer);
        if (!run.run()) {
            state.SkipWithError(run.error().toStdString().c_str());
        }
        bytes = buffer.size();
    }
    state.counters["pages"] = pages;
    state.counters["KB_per_page"] = static_cast<double>(bytes) / pages / 1024.0;
}
BENCHMARK(BM_JobReportOf200Records)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

}  // namespace
}  // namespace trellicap

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QGuiApplication>(argc, argv);
}
