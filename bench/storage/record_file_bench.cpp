// Save and load of a full TFT table against plain buffered I/O of the same 560,000 bytes,
// and the load and the parse against a naive read-and-parse of the same file, side by side
// in one run so the ratios (printed at the end) compare like with like on this machine.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "naive_load.h"
#include "profiles/tft.h"
#include "ratio_reporter.h"
#include "storage/record_file_io.h"
#include "storage/record_file_reader.h"
#include "storage/record_file_writer.h"

namespace {

using trellicap::RecordStore;

constexpr std::size_t kFileBytes = 560000;

// One folder for the whole run, on the same medium as the record files.
const QTemporaryDir& folder() {
    static const QTemporaryDir dir;
    return dir;
}

RecordStore& fullTable() {
    static RecordStore store = [] {
        RecordStore s(trellicap::tft::kProfile);
        for (int col = 0; col < trellicap::kSlotCount; ++col) {
            for (int row = 0; row < 700; ++row) {
                s.column(col)[static_cast<std::size_t>(row)] =
                    static_cast<trellicap::RecordValue>((col * 31 + row * 7) % 256);
            }
        }
        return s;
    }();
    return store;
}

void BM_SaveRecordFile(benchmark::State& state) {
    const QString path = folder().filePath(QStringLiteral("save.dat"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(trellicap::saveRecordFile(path, fullTable()));
    }
}

void BM_LoadRecordFile(benchmark::State& state) {
    const QString path = folder().filePath(QStringLiteral("load.dat"));
    (void)trellicap::saveRecordFile(path, fullTable());
    RecordStore loaded(trellicap::tft::kProfile);
    for (auto _ : state) {
        benchmark::DoNotOptimize(trellicap::loadRecordFile(path, loaded));
    }
}

void BM_NaiveLoad(benchmark::State& state) {
    const QString path = folder().filePath(QStringLiteral("naive.dat"));
    (void)trellicap::saveRecordFile(path, fullTable());
    RecordStore loaded(trellicap::tft::kProfile);
    std::vector<char> bytes;
    for (auto _ : state) {
        trellicap::bench::naiveLoad(path, bytes, loaded);
        benchmark::DoNotOptimize(loaded.column(199).data());
    }
}

void BM_PlainWrite(benchmark::State& state) {
    const QByteArray path = folder().filePath(QStringLiteral("plain.dat")).toLocal8Bit();
    const std::vector<char> bytes(kFileBytes, '7');
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.constData(), "wb");
        benchmark::DoNotOptimize(std::fwrite(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
    }
}

// A save must reach the medium before it replaces the old file, so it syncs; this is the
// plain write that does the same.
void BM_PlainWriteSynced(benchmark::State& state) {
    const QByteArray path = folder().filePath(QStringLiteral("plain-synced.dat")).toLocal8Bit();
    const std::vector<char> bytes(kFileBytes, '7');
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.constData(), "wb");
        benchmark::DoNotOptimize(std::fwrite(bytes.data(), 1, bytes.size(), file));
        std::fflush(file);
        fsync(fileno(file));
        std::fclose(file);
    }
}

void BM_PlainRead(benchmark::State& state) {
    const QByteArray path = folder().filePath(QStringLiteral("plain-read.dat")).toLocal8Bit();
    std::vector<char> bytes(kFileBytes, '7');
    std::FILE* out = std::fopen(path.constData(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.constData(), "rb");
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
    }
}

// The format alone, without the disk, to see where the time of a save or load goes.
void BM_FormatTable(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(trellicap::writeRecordFile(fullTable()));
    }
}

void BM_ParseTable(benchmark::State& state) {
    const QByteArray bytes = trellicap::writeRecordFile(fullTable());
    RecordStore loaded(trellicap::tft::kProfile);
    for (auto _ : state) {
        benchmark::DoNotOptimize(trellicap::readRecordFile(bytes, loaded));
    }
}

void BM_NaiveParse(benchmark::State& state) {
    const QByteArray bytes = trellicap::writeRecordFile(fullTable());
    RecordStore loaded(trellicap::tft::kProfile);
    for (auto _ : state) {
        trellicap::bench::naiveParse(bytes, loaded);
        benchmark::DoNotOptimize(loaded.column(199).data());
    }
}

constexpr int kRepetitions = 15;

// The fastest repetition is printed beside the median: on a machine shared with builds it is
// the one least disturbed by them.
void repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions);
    b->ComputeStatistics("min", [](const std::vector<double>& times) {
        return *std::min_element(times.begin(), times.end());
    });
}

}  // namespace

BENCHMARK(BM_PlainWrite)->Apply(repeated);
BENCHMARK(BM_PlainWriteSynced)->Apply(repeated);
BENCHMARK(BM_SaveRecordFile)->Apply(repeated);
BENCHMARK(BM_PlainRead)->Apply(repeated);
BENCHMARK(BM_NaiveLoad)->Apply(repeated);
BENCHMARK(BM_LoadRecordFile)->Apply(repeated);
BENCHMARK(BM_FormatTable)->Apply(repeated);
BENCHMARK(BM_NaiveParse)->Apply(repeated);
BENCHMARK(BM_ParseTable)->Apply(repeated);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    trellicap::bench::RatioReporter reporter({{"BM_LoadRecordFile", "BM_NaiveLoad"},
                                              {"BM_ParseTable", "BM_NaiveParse"},
                                              {"BM_SaveRecordFile", "BM_PlainWriteSynced"}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
