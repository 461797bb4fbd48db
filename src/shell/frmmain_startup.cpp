// The main window's start-up and its serial port: "udc.cfg", opening the port, and the
// failure path that hands over to the port-selection window.
#include <QDir>
#include <QStatusBar>

#include "display/ui/plot_widget.h"
#include "shell/archive_hooks.h"
#include "shell/frmmain.h"
#include "shell/frmoption.h"
#include "shell/plot_panel.h"
#include "shell/slot_list_panel.h"
#include "shell/status_fields.h"

namespace trellicap {

void frmmain::startUp() {
    m_slots->fill();
    m_session->begin();
    showNotesTarget();
    m_archive->start();

    bool opened = false;
    const auto target = readPortConfig(portConfigPath());
    if (target) {
        m_target = *target;
        opened = !reopenPort().has_value();
    }
    if (!opened) {
        message({tr("File Error"),
                 QStringLiteral("Port configuratin file is lost so select apropriate serial "
                                "port which is necessary "),
                 {}});
        // A device path that is missing now (an adapter plugged in later) stays the choice,
        // so Ok retries it and "udc.cfg" keeps it; a port number falls back to Comport 1.
        m_target = PortTarget{1, target ? target->devicePath : QString()};
        hide();
        openPortSelection();
        return;
    }
    m_session->showStartupTrace();
    m_plotPanel->plotWidget()->update();
    show();
}

std::optional<PortOpenFailure> frmmain::reopenPort() {
    const QString device = deviceFor(m_target);
    if (!m_session->openDevice(device)) {
        m_status->setPort(device, PortState::NotConnected);
        return PortOpenFailure{m_session->portFailure(), m_session->portDeniedPermission()};
    }
    m_status->setPort(device, PortState::Open);
    statusBar()->showMessage(tr("Connected to %1").arg(device), 5000);
    return std::nullopt;
}

QString frmmain::portConfigPath() const {
    return QDir(m_options.workingDir).filePath(kPortConfigName);
}

void frmmain::portSelectionDone() {
    show();
    raise();
}

}  // namespace trellicap
