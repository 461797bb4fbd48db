// The end of the program: File > Exit, Ctrl+Q and the close box all ask first while there
// are unsaved changes, and every normal end then passes through quitProgram().
#include <QApplication>
#include <QCloseEvent>

#include "shell/frmmain.h"
#include "shell/status_fields.h"
#include "shell/unsaved_guard.h"

namespace trellicap {

bool frmmain::hasUnsavedChanges() const {
    return m_status->unsaved();
}

void frmmain::requestExit() {
    if (m_ending) {
        return;
    }
    m_unsavedGuard->proceed(tr("exiting"), [this] { quitProgram(); });
}

void frmmain::quitProgram() {
    if (m_ending) {
        return;
    }
    m_ending = true;
    close();  // the close event now passes
    if (m_options.endProgram) {
        m_options.endProgram();
    } else {
        // Queued: the command that asked (a menu entry, a close event) finishes first.
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
}

void frmmain::closeEvent(QCloseEvent* event) {
    if (m_ending) {
        event->accept();
        return;
    }
    // The close box: the same question as File > Exit; quitProgram() closes the window
    // if the operator goes on.
    event->ignore();
    requestExit();
}

}  // namespace trellicap
