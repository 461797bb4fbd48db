#include "shell/files/unsaved_guard.h"

#include <QCoreApplication>
#include <utility>

namespace trellicap {

UnsavedGuard::UnsavedGuard(Host host) : m_host(std::move(host)) {}

UserQuestion UnsavedGuard::question(const QString& whatNext) {
    return {UserMessage{
                QCoreApplication::translate("UnsavedGuard", "Unsaved Changes"),
                QCoreApplication::translate(
                    "UnsavedGuard",
                    "The slots hold records captured or edited since the last save or "
                    "load."),
                QCoreApplication::translate("UnsavedGuard", "Save them before %1?").arg(whatNext)},
            {Answer::Save, Answer::Discard, Answer::Cancel},
            Answer::Save,
            Answer::Cancel};
}

void UnsavedGuard::proceed(const QString& whatNext, std::function<void()> then) {
    if (!m_host.hasUnsavedChanges()) {
        then();
        return;
    }
    switch (m_host.ask(question(whatNext))) {
        case Answer::Discard:
            m_afterSave = nullptr;
            then();
            return;
        case Answer::Save:
            // Stays waiting while the operator picks a name (and perhaps declines to
            // replace a file); only the save's end or the window's closing decides.
            m_afterSave = std::move(then);
            m_host.openSaveWindow();
            return;
        default:
            return;  // Cancel: nothing happens
    }
}

void UnsavedGuard::saveFinished(bool written) {
    auto then = std::exchange(m_afterSave, nullptr);
    if (written && then) {
        then();
    }
}

void UnsavedGuard::saveWindowClosed() {
    m_afterSave = nullptr;
}

}  // namespace trellicap
