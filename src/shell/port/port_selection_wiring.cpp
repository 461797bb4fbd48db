#include "shell/port/port_selection_wiring.h"

#include <QCoreApplication>

#include "shell/port/frmoption.h"
#include "shell/port/port_selection_host.h"

namespace trellicap {

namespace {

QString trPortSelection(const char* text) {
    return QCoreApplication::translate("frmoption", text);
}

// Ok's try: "udc.cfg" first, so a port that opens is also the one the next start-up opens.
bool keepAndOpen(PortSelectionHost& host, const PortTarget& target) {
    host.setPortTarget(target);
    const QString path = host.portConfigPath();
    if (const auto error = writePortConfig(path, target)) {
        host.message({QStringLiteral("Port Selection Error"),
                      trPortSelection("The port settings file %1 cannot be written.").arg(path),
                      *error});
        return false;
    }
    if (const auto failure = host.reopenPort()) {
        QString informative = failure->reason;
        if (failure->permissionDenied) {
            informative += trPortSelection(
                "\nYou may not use this device: add your user to the group "
                "that owns it (dialout on Debian) and log in again.");
        }
        host.message({QStringLiteral("Port Selection Error"),
                      QStringLiteral("Selected Port is used by another device or it might "
                                     "be not available "),
                      informative});
        return false;
    }
    return true;
}

}  // namespace

void connectPortSelection(frmoption& window, PortSelectionHost& host) {
    QObject::connect(&window, &frmoption::targetSelected, &window,
                     [&host](const PortTarget& target) { host.setPortTarget(target); });
    window.setChosenPortTry(
        [&host](const PortTarget& target) { return keepAndOpen(host, target); });
    window.setRestoreTry([&host](const PortTarget& target) {
        host.setPortTarget(target);
        return !host.reopenPort().has_value();
    });
    QObject::connect(&window, &frmoption::portSelected, &window,
                     [&host] { host.portSelectionDone(); });
    // Closed while the main window is hidden (no port could be opened at start-up): nothing
    // else is visible, so the program ends instead of lingering.
    QObject::connect(&window, &QDialog::rejected, &window, [&host] {
        if (!host.mainWindowVisible()) {
            host.quitProgram();
        }
    });
}

}  // namespace trellicap
