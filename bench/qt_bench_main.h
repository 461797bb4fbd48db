// The main() of a benchmark that needs a Qt application (QCoreApplication for timers and
// sockets, QGuiApplication for fonts, QApplication for widgets): offscreen unless a platform
// is chosen, and an unknown argument refused rather than ignored.
#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

namespace trellicap::bench {

template <class Application>
int runQtBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace trellicap::bench
