// Before a command that would drop records nobody saved (opening another file, ending the
// program): while there are unsaved changes, ask Save / Discard / Cancel. Save goes through
// the save window, and the command goes on only once the file was written; a failed save,
// or a save window closed without saving, leaves everything as it was.
#pragma once

#include <QString>
#include <functional>

#include "shell/common/question_box.h"

namespace trellicap {

class UnsavedGuard {
public:
    struct Host {
        std::function<bool()> hasUnsavedChanges;
        std::function<Answer(const UserQuestion&)> ask;
        std::function<void()> openSaveWindow;
    };

    explicit UnsavedGuard(Host host);

    // Runs then() now when nothing would be lost or the operator discards the changes,
    // after a successful save when the operator chooses Save, never on Cancel. whatNext
    // finishes the question "Save them before ...?" ("opening another file").
    void proceed(const QString& whatNext, std::function<void()> then);

    // The save window's save ended (written, or failed and reported). A command waiting on
    // it goes on only after a written file.
    void saveFinished(bool written);
    // The save window closed. A command still waiting on a save is dropped.
    void saveWindowClosed();

    [[nodiscard]] bool waitingForSave() const { return static_cast<bool>(m_afterSave); }

    // The question itself, for the asker.
    [[nodiscard]] static UserQuestion question(const QString& whatNext);

private:
    Host m_host;
    std::function<void()> m_afterSave;
};

}  // namespace trellicap
