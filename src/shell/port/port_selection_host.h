// What the port-selection window needs from the window that owns the port: the port target,
// reopening the port on it, "udc.cfg"'s place, messages, and showing the main window again.
// The window is handed this, not the main window, so it cannot reach into anything else.
#pragma once

#include <QString>
#include <optional>

#include "record/user_message.h"
#include "shell/port/port_config.h"

namespace trellicap {

// Why a port could not be opened.
struct PortOpenFailure {
    QString reason;
    bool permissionDenied = false;
};

class PortSelectionHost {
public:
    virtual ~PortSelectionHost() = default;
    [[nodiscard]] virtual PortTarget portTarget() const = 0;
    virtual void setPortTarget(const PortTarget& target) = 0;
    // The file the window writes on Ok.
    [[nodiscard]] virtual QString portConfigPath() const = 0;
    // Closes the port and opens the device of the current target; the reason on failure.
    virtual std::optional<PortOpenFailure> reopenPort() = 0;
    // Why the last opening of the port failed ("No such file or directory"); empty while
    // the port is open.
    [[nodiscard]] virtual QString portOpenFailure() const = 0;
    virtual void message(const UserMessage& message) = 0;
    // The selection is done (a port is open): the main window shows and comes forward.
    virtual void portSelectionDone() = 0;
    [[nodiscard]] virtual bool mainWindowVisible() const = 0;
    // The window was closed while nothing else is visible: the program ends normally.
    virtual void quitProgram() = 0;
};

}  // namespace trellicap
