// 100,000 records kept in an archive file evaluated against a job: each newest version read,
// its gate 1 echo placed along the probe angle and measured against its DAC curve, and its
// result under the rule. Goal: at most 2 s. Counters: records, rejected.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include "archive/archive_schema.h"
#include "archive/record_codes.h"
#include "archive_filler.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "report/kept_evaluation.h"
#include "support/inspection_records.h"

namespace trellicap {
namespace {

constexpr int kRecords = 100000;

// An archive of 100,000 TFT records whose echoes move along the trace and grow and shrink.
class KeptArchive {
public:
    KeptArchive() {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        m_db.setDatabaseName(m_dir.filePath(QStringLiteral("archive.sqlite")));
        m_db.open();
        (void)archive::migrateSchema(m_db);
        archive::test::ArchiveFiller filler(m_db);
        m_db.transaction();
        for (int i = 0; i < kRecords; ++i) {
            testing::EchoRecord r;
            r.samples = {{50 + i % 150, 10 + (i * 13) % 90}};
            const auto values = testing::echoRecord(tft::kProfile, r);
            filler.addValues(QUuid::createUuid().toString(QUuid::WithoutBraces), 1,
                             QStringLiteral("tft"), 1 + i % 200, i, QStringLiteral("A"), values);
        }
        m_db.commit();
    }
    ~KeptArchive() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    }
    QSqlDatabase& db() { return m_db; }

private:
    QTemporaryDir m_dir;
    QSqlDatabase m_db;
};

void BM_Evaluate100000KeptRecords(benchmark::State& state) {
    KeptArchive kept;
    inspection::EvaluationSettings settings;
    settings.rule = {-6.0, 0.0, 10.0, {}};
    settings.measuredAngleDeg = 60;
    int records = 0;
    int rejected = 0;
    for (auto _ : state) {
        records = 0;
        rejected = 0;
        const auto error =
            evaluateKept(kept.db(), tft::kProfile, settings, [&](const KeptEvaluation& e) {
                ++records;
                rejected += e.evaluation.result == inspection::Result::Reject;
                return true;
            });
        if (error) {
            state.SkipWithError(error->toStdString().c_str());
        }
    }
    state.counters["records"] = records;
    state.counters["rejected"] = rejected;
}
BENCHMARK(BM_Evaluate100000KeptRecords)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

// The same pass reading and decoding the values alone: what the archive itself costs, the
// baseline the evaluation stands on.
void BM_Read100000KeptRecords(benchmark::State& state) {
    KeptArchive kept;
    for (auto _ : state) {
        QSqlQuery query(kept.db());
        query.setForwardOnly(true);
        query.exec(QStringLiteral(
            "SELECT c.uuid, c.version, r.slot, c.codes FROM records r"
            " JOIN record_values c ON c.uuid = r.uuid AND c.version = r.latest_version"
            " WHERE r.model = 'tft'"));
        int records = 0;
        while (query.next()) {
            const auto values =
                archive::decodeRecord(query.value(3).toByteArray(), tft::kProfile.recordSize());
            records += values ? 1 : 0;
        }
        state.counters["records"] = records;
    }
}
BENCHMARK(BM_Read100000KeptRecords)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
}  // namespace trellicap

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QGuiApplication>(argc, argv);
}
