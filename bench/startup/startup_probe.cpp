// One start-up, ended at its first paint: "hello" shows a Qt label (the floor any Qt window
// program stands on; startup_hello is the same without this tree's libraries), a model key
// ("tft", "dac") starts that model's window program as its main() does. startup_ratio.py runs
// them in turns and compares time and peak memory. With TRELLICAP_STARTUP_STEPS set, the
// milliseconds since the process began at each step go to standard error.
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#ifndef TRELLICAP_HELLO_ONLY
#include "app/run_program.h"
#include "profiles/model_registry.h"
#include "shell/main/frmmain.h"
#endif

namespace {

// The process's start in ms of CLOCK_MONOTONIC (/proc/self/stat field 22: ticks since boot).
double processStartMs() {
    FILE* stat = std::fopen("/proc/self/stat", "r");
    if (!stat) {
        return 0;
    }
    char buffer[1024] = {};
    const std::size_t got = std::fread(buffer, 1, sizeof buffer - 1, stat);
    std::fclose(stat);
    const char* field = std::strrchr(buffer, ')');
    for (int i = 0; field && i < 20 && static_cast<std::size_t>(field - buffer) < got; ++i) {
        field = std::strchr(field + 1, ' ');
    }
    const unsigned long long ticks = field ? std::strtoull(field + 1, nullptr, 10) : 0;
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void step(const char* name) {
    static const bool shown = qEnvironmentVariableIsSet("TRELLICAP_STARTUP_STEPS");
    if (!shown) {
        return;
    }
    static const double started = processStartMs();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(
        stderr, "%8.1f ms  %s\n",
        static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6 - started,
        name);
}

// Ends the event loop once the first widget has painted (after that paint has finished).
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            step("first paint");
            // The moment startup_ratio.py measures to.
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

}  // namespace

int main(int argc, char** argv) {
    step("main");
    const std::string_view what = argc > 1 ? argv[1] : "hello";
#ifndef TRELLICAP_HELLO_ONLY
    const trellicap::ModelProfile* profile =
        what == "hello" ? nullptr : trellicap::registeredProfile(what);
    if (what != "hello" && !profile) {
        std::fprintf(stderr, "usage: startup_probe hello|<model key>\n");
        return 2;
    }
#else
    if (what != "hello") {
        std::fprintf(stderr, "usage: startup_hello [hello]\n");
        return 2;
    }
#endif
    QApplication app(argc, argv);
    step("application");
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);
#ifndef TRELLICAP_HELLO_ONLY
    if (profile) {
        const auto window = trellicap::startProgram(*profile);
        step("window started");
        return QApplication::exec();
    }
#endif
    QLabel label(QStringLiteral("Hello"));
    label.show();
    return QApplication::exec();
}
