#include "shell/port/main_port.h"

#include <QWidget>

#include "session/session.h"
#include "shell/common/window_host.h"
#include "shell/common/window_placement.h"
#include "shell/main/status_fields.h"
#include "shell/port/frmoption.h"
#include "shell/port/port_selection_wiring.h"

namespace trellicap {

MainPort::MainPort(Session& session, WindowHost& host, StatusFields& status, QString configPath,
                   std::function<void()> quit)
    : m_session(session),
      m_host(host),
      m_status(status),
      m_quit(std::move(quit)),
      m_configPath(std::move(configPath)) {}

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
        m_selection = new frmoption(&m_host.window());
        connectPortSelection(*m_selection, *this);
    }
    if (!m_selection->isVisible()) {
        m_selection->startFrom(m_target, portOpenFailure());
    }
    showSecondaryWindow(*m_selection, &m_host.window());
}

std::optional<PortOpenFailure> MainPort::reopenPort() {
    const QString device = deviceFor(m_target);
    if (!m_session.openDevice(device)) {
        m_status.setPort(device, PortState::NotConnected);
        return PortOpenFailure{m_session.portFailure(), m_session.portDeniedPermission()};
    }
    m_status.setPort(device, PortState::Open);
    m_host.showStatus(QObject::tr("Connected to %1").arg(device), 5000);
    return std::nullopt;
}

QString MainPort::portOpenFailure() const {
    return m_session.portFailure();
}

void MainPort::message(const UserMessage& message) {
    m_host.message(message);
}

void MainPort::portSelectionDone() {
    m_host.window().show();
    m_host.window().raise();
}

bool MainPort::mainWindowVisible() const {
    return m_host.window().isVisible();
}

void MainPort::quitProgram() {
    m_quit();
}

}  // namespace trellicap
