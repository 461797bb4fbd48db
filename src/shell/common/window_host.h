// What the commands beside the main window need of it, and no more: a parent for their
// dialogs, its messages and questions, its status line and its working folder. The commands
// work on the session; the main window is only where they speak.
#pragma once

#include <QString>

#include "record/user_message.h"
#include "shell/common/question_box.h"

class QWidget;

namespace trellicap {

class WindowHost {
public:
    virtual ~WindowHost() = default;
    // The window that owns their dialogs.
    [[nodiscard]] virtual QWidget& window() = 0;
    virtual void message(const UserMessage& message) = 0;
    virtual Answer ask(const UserQuestion& question) = 0;
    // A passing line in the status bar.
    virtual void showStatus(const QString& text, int timeoutMs) = 0;
    // Where "udc.cfg", the archive and the report's scratch files live.
    [[nodiscard]] virtual QString workingDir() const = 0;
    // Raised and active again: a secondary window's work is done.
    virtual void bringToFront() = 0;
};

}  // namespace trellicap
