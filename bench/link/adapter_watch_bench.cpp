// What waiting for an unplugged adapter costs. One look of the watch (a stat() of the
// configured path for a pty or a port without USB identity; a listing of the system's serial
// devices for a USB adapter), and the CPU this process uses while it waits, as CPU time / wall
// time over 10 s:
//   - an instrument simulator on a pty behind a link, unplugged under an open QtSerialPort and
//     the link: the port must be closed (a live read notifier after a hang-up spins a core)
//     and the watch looks once a second;
//   - the watch alone for a USB adapter known by its serial number: with its by-id link noted
//     (/1: a look follows the link) and without (/0: a look lists the system's devices, and
//     slow listings space the looks out).
// The goal is at most 1 % of a core while waiting.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <ctime>

#include "link/adapter_watch.h"
#include "link/instrument_link.h"
#include "link/qt_link_clock.h"
#include "link/qt_serial_port.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "record/record_store.h"
#include "support/sim_process.h"

namespace {

using namespace trellicap;

constexpr int kWaitMs = 10'000;

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// A USB adapter that is not plugged in, as noted on a system with udev's by-id links (a look
// follows the link and finds nothing), or without them (every look lists the devices).
AdapterIdentity absentUsbAdapter(bool byIdLink) {
    AdapterIdentity identity;
    identity.configuredPath =
        QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_NONE0000-if00-port0");
    identity.serialNumber = QStringLiteral("NONE0000");
    identity.vendorId = 0x0403;
    identity.productId = 0x6001;
    if (byIdLink) {
        identity.byIdPath = identity.configuredPath;
    }
    return identity;
}

void BM_OneLookForAPty(benchmark::State& state) {
    const QTemporaryDir dir;
    const SystemSerialDevices devices;
    const AdapterIdentity identity = pathIdentity(dir.filePath(QStringLiteral("ttyGONE")));
    for (auto _ : state) {
        benchmark::DoNotOptimize(locateAdapter(identity, devices));
    }
}
BENCHMARK(BM_OneLookForAPty);

void BM_OneLookForAUsbAdapter(benchmark::State& state) {
    const SystemSerialDevices devices;
    const AdapterIdentity identity = absentUsbAdapter(state.range(0) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(locateAdapter(identity, devices));
    }
    state.counters["devices_listed"] = static_cast<double>(devices.presentDevices().size());
}
// 1: with its by-id link noted; 0: without (every look lists the devices).
BENCHMARK(BM_OneLookForAUsbAdapter)->Arg(1)->Arg(0);

// Runs the event loop for kWaitMs; reports CPU / wall in per cent.
void measureWaiting(benchmark::State& state, const AdapterWatch& watch) {
    QElapsedTimer wall;
    const double cpuStart = processCpuSeconds();
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
    const double wallSeconds = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
    const double cpuSeconds = processCpuSeconds() - cpuStart;
    state.SetIterationTime(wallSeconds);
    state.counters["cpu_percent"] = 100.0 * cpuSeconds / wallSeconds;
    state.counters["looks"] = watch.looks();
}

void BM_WaitingForAnUnpluggedPty(benchmark::State& state) {
    const QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyCORVANE"));
    testing::SimProcess sim;
    if (testing::SimProcess::executable().isEmpty() || !sim.start({"--link", link})) {
        state.SkipWithError("instrument-sim did not start");
        return;
    }
    RecordStore store(tft::kProfile);
    QtSerialPort port;
    if (!port.open(link)) {
        state.SkipWithError("cannot open the simulator's pty");
        return;
    }
    InstrumentLink instrumentLink(tft::kProfile, store, port);
    QtLinkClock clock;
    const SystemSerialDevices devices;
    AdapterWatch watch(clock, [&devices](const AdapterIdentity& identity) {
        return locateAdapter(identity, devices);
    });
    QObject::connect(&instrumentLink, &InstrumentLink::linkLost, &watch,
                     [&] { watch.start(identifyAdapter(link, devices)); });
    for (auto _ : state) {
        QEventLoop lost;
        QObject::connect(&instrumentLink, &InstrumentLink::linkLost, &lost, &QEventLoop::quit);
        sim.command("unplug");
        QTimer::singleShot(5000, &lost, &QEventLoop::quit);
        lost.exec();
        if (port.isOpen() || !watch.watching()) {
            state.SkipWithError("the unplug did not reach the port");
            return;
        }
        measureWaiting(state, watch);
    }
}
BENCHMARK(BM_WaitingForAnUnpluggedPty)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_WaitingForAUsbAdapter(benchmark::State& state) {
    QtLinkClock clock;
    const SystemSerialDevices devices;
    AdapterWatch watch(clock, [&devices](const AdapterIdentity& identity) {
        return locateAdapter(identity, devices);
    });
    for (auto _ : state) {
        watch.start(absentUsbAdapter(state.range(0) != 0));
        measureWaiting(state, watch);
        watch.stop();
    }
}
BENCHMARK(BM_WaitingForAUsbAdapter)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QCoreApplication>(argc, argv);
}
