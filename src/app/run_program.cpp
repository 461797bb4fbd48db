#include "app/run_program.h"

#include <QApplication>
#include <QStandardPaths>

#include "link/qt_serial_port.h"
#include "record/profile_text.h"
#include "shell/common/window_placement.h"
#include "shell/main/frmmain.h"
#include "trellicap_version.h"

namespace trellicap {

std::unique_ptr<frmmain> startProgram(const ModelProfile& profile) {
    const QString name = qs(profile.programName);
    // No display name: Qt would append it to every window caption.
    QApplication::setApplicationName(name);
    QApplication::setApplicationVersion(QString::fromLatin1(kVersionText));

    frmmain::Options options;
    // Per program (~/.config/TrellicapTFT/ on Linux): each keeps its own printer.
    options.settingsFile = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                           QStringLiteral("/settings.ini");
    auto window = std::make_unique<frmmain>(profile, std::make_unique<QtSerialPort>(), options);
    window->resize(firstWindowSize(*window));
    window->startUp();
    return window;
}

int runProgram(int argc, char** argv, const ModelProfile& profile) {
    QApplication app(argc, argv);
    const auto window = startProgram(profile);
    return QApplication::exec();
}

}  // namespace trellicap
