#include "shell/port/main_port.h"

#include <QStatusBar>

#include "session/session.h"
#include "shell/common/window_placement.h"
#include "shell/main/frmmain.h"
#include "shell/main/status_fields.h"
#include "shell/port/frmoption.h"
#include "shell/port/port_selection_wiring.h"

namespace trellicap {

MainPort::MainPort(frmmain& window, StatusFields& status, QString configPath)
    : m_window(window), m_status(status), m_configPath(std::move(configPath)) {}

MainPort::~MainPort() {
    delete m_selection.data();  // its choices come here
}

bool MainPort::openConfigured() {
    const auto target = readPortConfig(m_configPath);
    if (target) {
        m_target = *target;
        if (!reopenPort()) {
            return true;
        }
    }
    m_target = PortTarget{1, target ? target->devicePath : QString()};
    return false;
}

void MainPort::openSelection() {
    if (!m_selection) {
        m_selection = new frmoption(&m_window);
        connectPortSelection(*m_selection, *this);
    }
    if (!m_selection->isVisible()) {
        m_selection->startFrom(m_target, portOpenFailure());
    }
    showSecondaryWindow(*m_selection, &m_window);
}

std::optional<PortOpenFailure> MainPort::reopenPort() {
    Session& session = m_window.session();
    const QString device = deviceFor(m_target);
    if (!session.openDevice(device)) {
        m_status.setPort(device, PortState::NotConnected);
        return PortOpenFailure{session.portFailure(), session.portDeniedPermission()};
    }
    m_status.setPort(device, PortState::Open);
    m_window.statusBar()->showMessage(QObject::tr("Connected to %1").arg(device), 5000);
    return std::nullopt;
}

QString MainPort::portOpenFailure() const {
    return m_window.session().portFailure();
}

void MainPort::message(const UserMessage& message) {
    m_window.message(message);
}

void MainPort::portSelectionDone() {
    m_window.show();
    m_window.raise();
}

bool MainPort::mainWindowVisible() const {
    return m_window.isVisible();
}

void MainPort::quitProgram() {
    m_window.quitProgram();
}

}  // namespace trellicap
