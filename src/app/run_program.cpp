#include "app/run_program.h"

#include <QApplication>

#include "link/qt_serial_port.h"
#include "record/profile_text.h"
#include "shell/frmmain.h"
#include "shell/window_placement.h"
#include "trellicap_version.h"

namespace trellicap {

int runProgram(int argc, char** argv, const ModelProfile& profile) {
    QApplication app(argc, argv);
    const QString name = qs(profile.programName);
    // No display name: Qt would append it to every window caption.
    QApplication::setApplicationName(name);
    QApplication::setApplicationVersion(QString::fromLatin1(kVersionText));

    frmmain window(profile, std::make_unique<QtSerialPort>(), frmmain::Options{});
    window.resize(firstWindowSize(window));
    window.startUp();
    return QApplication::exec();
}

}  // namespace trellicap
