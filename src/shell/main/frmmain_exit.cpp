// The end of the program: File > Exit, Ctrl+Q and the close box all ask first while there
// are unsaved changes, and every normal end then passes through quitProgram().
#include <QApplication>
#include <QCloseEvent>

#include "shell/main/frmmain.h"

namespace trellicap {

void frmmain::requestExit() {
    if (m_ending) {
        return;
    }
    m_files->proceed(tr("exiting"), [this] { quitProgram(); });
}

void frmmain::quitProgram() {
    if (m_ending) {
        return;
    }
    m_ending = true;
    // The operator chose to end (nothing unsaved, saved, or discarded): the archive offers
    // nothing of this run at the next start. A crash, a kill or a logout never gets here.
    m_session->endRunCleanly();
    close();  // the close event now passes (inside a close event, that event does)
    if (m_options.endProgram) {
        m_options.endProgram();
    } else {
        // Queued: the command that asked (a menu entry, a close event) finishes first.
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
}

void frmmain::closeEvent(QCloseEvent* event) {
    // The close box asks as File > Exit does; the window closes only if the program ends.
    if (!m_ending) {
        requestExit();
    }
    event->setAccepted(m_ending);
}

}  // namespace trellicap
