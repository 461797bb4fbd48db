// One start-up, ended at its first paint: "hello" shows a Qt label (the floor any Qt window
// program stands on), a model key ("tft", "dac") starts that model's window program as its
// main() does. startup_ratio.sh runs both many times and compares time and peak memory.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "app/run_program.h"
#include "profiles/model_registry.h"
#include "shell/main/frmmain.h"

namespace {

// Ends the event loop once the first widget has painted (after that paint has finished).
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

const trellicap::ModelProfile* profileNamed(std::string_view key) {
    const auto models = trellicap::registeredModels();
    const auto profiles = trellicap::registeredProfiles();
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (models[i].key == key) {
            return profiles[i];
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view what = argc > 1 ? argv[1] : "hello";
    const trellicap::ModelProfile* profile = what == "hello" ? nullptr : profileNamed(what);
    if (what != "hello" && !profile) {
        std::fprintf(stderr, "usage: startup_probe hello|<model key>\n");
        return 2;
    }
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);
    if (!profile) {
        QLabel label(QStringLiteral("Hello"));
        label.show();
        return QApplication::exec();
    }
    const auto window = trellicap::startProgram(*profile);
    return QApplication::exec();
}
