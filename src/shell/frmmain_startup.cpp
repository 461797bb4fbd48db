// The main window's start-up and its serial port: "udc.cfg", opening the port, and the
// failure path that hands over to the port-selection window.
#include <QDir>
#include <QStatusBar>

#include "link/instrument_link.h"
#include "shell/archive_hooks.h"
#include "shell/frmmain.h"
#include "shell/frmoption.h"
#include "shell/slot_list_panel.h"
#include "shell/status_fields.h"

namespace trellicap {

void frmmain::startUp() {
    m_slots->fill();
    m_store.initMemoryTable();
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
    m_store.loadStartupTrace();
    display_pattern();
    show();
}

std::optional<PortOpenFailure> frmmain::reopenPort() {
    m_port->close();
    const QString device = deviceFor(m_target);
    if (!m_port->open(device)) {
        PortOpenFailure failure{m_port->errorString(), m_port->lastOpenDeniedPermission()};
        if (failure.reason.isEmpty()) {
            failure.reason = tr("The device %1 cannot be opened.").arg(device);
        }
        m_link->portReopened();
        m_status->setPort(device, PortState::NotConnected);
        m_portFailure = failure.reason;
        return failure;
    }
    m_portFailure.clear();
    m_link->portReopened();
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
