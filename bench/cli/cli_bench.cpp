// trellicap-cli on a full record file, every one of its 200 slots marked: the pdf of all
// 200 report pages at 300 dpi (pages per second), and csv --samples of all 200 slots, in
// the process and as the built executable started from scratch (the goal: under 100 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "cli/run_cli.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "record/record_store.h"
#include "record/text_codes.h"
#include "storage/record_file_io.h"

namespace trellicap {
namespace {

const ModelProfile& profileOf(const benchmark::State& state) {
    return state.range(0) == 0 ? tft::kProfile : dac::kProfile;
}

void put(std::span<RecordValue> column, int index, const char* text) {
    for (const RecordValue code : textToCodes(QString::fromLatin1(text))) {
        column[static_cast<std::size_t>(index++)] = code;
    }
}

// Every slot holds the start-up trace and settings that draw gates and labels, and names
// its own slot, so that the load marks all 200.
QString writeFullFile(const ModelProfile& profile, const QTemporaryDir& dir) {
    RecordStore store(profile);
    store.initMemoryTable();
    store.loadStartupTrace();
    for (int col = 0; col < kSlotCount; ++col) {
        store.fileRequestedFrame(col);
        const auto column = store.column(col);
        put(column, 267, "100    ");
        put(column, 281, "0.0    ");
        put(column, 295, "ON     30%    40%    50%    ");
        const QByteArray number = QByteArray::number(col + 1).rightJustified(3, '0');
        put(column, kMemoryNumberFirst, number.constData());
    }
    const QString path = dir.filePath(QStringLiteral("full.dat"));
    if (const auto error = saveRecordFile(path, store)) {
        std::fprintf(stderr, "%s\n", qPrintable(*error));
    }
    return path;
}

// Arguments: model (0 TFT, 1 DAC).
void BM_Pdf200SlotsAt300Dpi(benchmark::State& state) {
    QTemporaryDir dir;
    const QString file = writeFullFile(profileOf(state), dir);
    for (auto _ : state) {
        if (cli::runCli({"pdf", file, "-o", dir.filePath("all.pdf")}) != 0) {
            state.SkipWithError("pdf failed");
        }
    }
    state.counters["pages_per_s"] = benchmark::Counter(
        static_cast<double>(kSlotCount * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Pdf200SlotsAt300Dpi)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()  // pages per second by the clock on the wall
    ->Iterations(1);

void BM_CsvSamples200Slots(benchmark::State& state) {
    QTemporaryDir dir;
    const QString file = writeFullFile(profileOf(state), dir);
    for (auto _ : state) {
        if (cli::runCli({"csv", file, "--samples", "-o", dir.filePath("all.csv")}) != 0) {
            state.SkipWithError("csv failed");
        }
    }
}
BENCHMARK(BM_CsvSamples200Slots)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The whole command as an office script runs it: process start, Qt, load, 200 rows.
void BM_CsvSamples200SlotsExecutable(benchmark::State& state) {
    QTemporaryDir dir;
    const QString file = writeFullFile(profileOf(state), dir);
    const QStringList arguments{"csv", file, "--samples", "-o", dir.filePath("all.csv")};
    for (auto _ : state) {
        if (QProcess::execute(QStringLiteral(TRELLICAP_CLI_PATH), arguments) != 0) {
            state.SkipWithError("trellicap-cli failed");
        }
    }
}
BENCHMARK(BM_CsvSamples200SlotsExecutable)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace trellicap

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QGuiApplication>(argc, argv);
}
