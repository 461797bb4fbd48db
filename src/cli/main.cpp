// trellicap-cli: what an inspection office does with record files after the capture.
#include <QGuiApplication>
#include <cstdio>

#include "cli/run_cli.h"

namespace {

// Qt's notes about the platform ("XDG_RUNTIME_DIR not set" on a server) would break the
// promise of one line on standard error per failure; TRELLICAP_CLI_QT_MESSAGES brings them
// back for whoever looks into a problem.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("TRELLICAP_CLI_QT_MESSAGES")) {
        qInstallMessageHandler(quietQtMessages);
    }
    // An office server or a build machine has no display: draw offscreen there, unless the
    // caller chose a platform.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    return trellicap::cli::runCli(QCoreApplication::arguments().mid(1));
}
