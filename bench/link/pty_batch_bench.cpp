// A batch of 10 slots against the instrument simulator paced at 9600 baud over a pty, the bytes
// handed over one at a time (a built-in port) or eight at a time (a USB adapter's packets).
// Reports wall time / line-time bound and the CPU time this process used / wall time: a
// polling wait would keep a whole core busy, a wake-up per byte costs a few per cent of one.
// Beside the link, in the same run, the bare reader: a QSerialPort that requests the same
// slots and reads with readyRead -> readAll until each frame's bytes are in, the least any
// Qt program can spend on the same bytes (BM_BareReader*).
// The bound is the frames' own line time, 10 bit times per byte the simulator sends: the
// requests cross the pty at once (the simulator paces only what it sends), so counting their
// bytes would put the ideal at about 0.9 instead of 1.0.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>
#include <ctime>

#include "link/command_blocks.h"
#include "link/instrument_link.h"
#include "link/qt_serial_port.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "record/record_store.h"
#include "support/sim_process.h"

namespace {

using trellicap::ModelProfile;

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void batchOverPty(benchmark::State& state, const ModelProfile& profile, const char* model) {
    const QString burst = QString::number(state.range(0));
    constexpr int kSlots = 10;
    // Sync, block A, separator, second sync, block B.
    const int frameBytes = 1 + trellicap::kBlockALength + 1 + 1 + profile.blockBLength;
    const double lineBoundSeconds = kSlots * frameBytes * 10.0 / 9600.0;

    trellicap::testing::SimProcess sim;
    if (trellicap::testing::SimProcess::executable().isEmpty() ||
        !sim.start({"--model", model, "--burst", burst})) {
        state.SkipWithError("instrument-sim did not start");
        return;
    }
    trellicap::RecordStore store(profile);
    trellicap::QtSerialPort port;
    if (!port.open(sim.pty())) {
        state.SkipWithError("cannot open the simulator's pty");
        return;
    }
    trellicap::InstrumentLink link(profile, store, port);
    QList<int> columns;
    for (int c = 0; c < kSlots; ++c) {
        columns.append(c * 17);
    }

    double wallRatio = 0;
    double cpuRatio = 0;
    int filed = 0;
    int readyReads = 0;  // each one an event-loop wake-up for the port
    QObject::connect(&port, &trellicap::SerialPort::readyRead, [&] { ++readyReads; });
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&link, &trellicap::InstrumentLink::batchFinished, &loop,
                         &QEventLoop::quit);
        QObject::connect(&link, &trellicap::InstrumentLink::slotFiled, &loop, [&] { ++filed; });
        QTimer::singleShot(0, &link, [&] { link.startBatch(columns); });
        QElapsedTimer wall;
        const double cpuStart = processCpuSeconds();
        wall.start();
        loop.exec();
        const double wallSeconds = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
        const double cpuSeconds = processCpuSeconds() - cpuStart;
        state.SetIterationTime(wallSeconds);
        wallRatio = wallSeconds / lineBoundSeconds;
        cpuRatio = cpuSeconds / wallSeconds;
    }
    state.counters["slots_filed"] = filed;
    state.counters["ready_reads"] = readyReads;
    state.counters["wall_over_line_bound"] = wallRatio;
    state.counters["cpu_over_wall"] = cpuRatio;
}

// The same slots, the same simulator, read by the plainest Qt reader there is.
void bareReader(benchmark::State& state, const ModelProfile& profile, const char* model) {
    const QString burst = QString::number(state.range(0));
    constexpr int kSlots = 10;
    const int frameBytes = 1 + trellicap::kBlockALength + 1 + 1 + profile.blockBLength;
    const double lineBoundSeconds = kSlots * frameBytes * 10.0 / 9600.0;
    trellicap::testing::SimProcess sim;
    if (trellicap::testing::SimProcess::executable().isEmpty() ||
        !sim.start({"--model", model, "--burst", burst})) {
        state.SkipWithError("instrument-sim did not start");
        return;
    }
    QSerialPort port;
    port.setPortName(sim.pty());
    port.setBaudRate(QSerialPort::Baud9600);
    if (!port.open(QIODevice::ReadWrite)) {
        state.SkipWithError("cannot open the simulator's pty");
        return;
    }
    port.clear();
    double wallRatio = 0;
    double cpuRatio = 0;
    int readyReads = 0;
    for (auto _ : state) {
        QEventLoop loop;
        int slot = 0;
        qint64 received = 0;
        const auto request = [&] {
            received = 0;
            port.write(trellicap::slotRequest(slot * 17 + 1));
        };
        QObject::connect(&port, &QSerialPort::readyRead, &loop, [&] {
            ++readyReads;
            received += port.readAll().size();
            if (received >= frameBytes) {
                if (++slot == kSlots) {
                    port.write(trellicap::releaseCommand());
                    loop.quit();
                } else {
                    request();
                }
            }
        });
        QTimer::singleShot(0, &loop, request);
        QElapsedTimer wall;
        const double cpuStart = processCpuSeconds();
        wall.start();
        loop.exec();
        const double wallSeconds = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(wallSeconds);
        wallRatio = wallSeconds / lineBoundSeconds;
        cpuRatio = (processCpuSeconds() - cpuStart) / wallSeconds;
    }
    state.counters["ready_reads"] = readyReads;
    state.counters["wall_over_line_bound"] = wallRatio;
    state.counters["cpu_over_wall"] = cpuRatio;
}

void BM_BareReaderTft(benchmark::State& state) {
    bareReader(state, trellicap::tft::kProfile, "tft");
}
void BM_BareReaderDac(benchmark::State& state) {
    bareReader(state, trellicap::dac::kProfile, "dac");
}

void BM_PtyBatchTft(benchmark::State& state) {
    batchOverPty(state, trellicap::tft::kProfile, "tft");
}
void BM_PtyBatchDac(benchmark::State& state) {
    batchOverPty(state, trellicap::dac::kProfile, "dac");
}

// The argument: bytes per delivery.
BENCHMARK(BM_PtyBatchTft)->Arg(1)->Arg(8)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_PtyBatchDac)->Arg(1)->Arg(8)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_BareReaderTft)->Arg(1)->Arg(8)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_BareReaderDac)->Arg(1)->Arg(8)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QCoreApplication>(argc, argv);
}
