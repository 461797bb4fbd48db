// The main window's serial port: the port target "udc.cfg" names, opening it through the
// session (the status field says how it went), and the port-selection window that chooses
// another. The window hands this, not itself, to the selection window.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>

#include "shell/port/port_config.h"
#include "shell/port/port_selection_host.h"

namespace trellicap {

class Session;
class StatusFields;
class WindowHost;
class frmoption;

class MainPort final : public PortSelectionHost {
public:
    // `quit` ends the program (the port selection of a failed start-up closed).
    MainPort(Session& session, WindowHost& host, StatusFields& status, QString configPath,
             std::function<void()> quit);
    ~MainPort() override;
    MainPort(const MainPort&) = delete;
    MainPort& operator=(const MainPort&) = delete;

    // The start-up: the target "udc.cfg" names, opened. False when the file is missing or
    // its port cannot be opened: a device path that is missing now (an adapter plugged in
    // later) stays the target, so Ok retries it and "udc.cfg" keeps it; a port number falls
    // back to Comport 1.
    bool openConfigured();
    // The port-selection window (at most one), starting from the target and its failure.
    void openSelection();

    [[nodiscard]] PortTarget portTarget() const override { return m_target; }
    void setPortTarget(const PortTarget& target) override { m_target = target; }
    [[nodiscard]] QString portConfigPath() const override { return m_configPath; }
    std::optional<PortOpenFailure> reopenPort() override;
    [[nodiscard]] QString portOpenFailure() const override;
    void message(const UserMessage& message) override;
    void portSelectionDone() override;
    [[nodiscard]] bool mainWindowVisible() const override;
    void quitProgram() override;

private:
    Session& m_session;
    WindowHost& m_host;
    StatusFields& m_status;
    std::function<void()> m_quit;
    QString m_configPath;
    PortTarget m_target;
    QPointer<frmoption> m_selection;
};

}  // namespace trellicap
