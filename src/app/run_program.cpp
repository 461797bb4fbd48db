#include "app/run_program.h"

#include <QApplication>

#include "link/qt_serial_port.h"
#include "shell/frmmain.h"

namespace trellicap {

int runProgram(int argc, char** argv, const ModelProfile& profile) {
    QApplication app(argc, argv);
    const QString name = QString::fromUtf8(profile.programName.data(),
                                           static_cast<qsizetype>(profile.programName.size()));
    // No display name: Qt would append it to every window caption.
    QApplication::setApplicationName(name);
    QApplication::setApplicationVersion(QStringLiteral("1.0.1"));

    frmmain window(profile, std::make_unique<QtSerialPort>(), frmmain::Options{});
    window.resize(1180, 640);
    window.startUp();
    return QApplication::exec();
}

}  // namespace trellicap
