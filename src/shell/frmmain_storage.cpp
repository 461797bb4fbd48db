// The main window's record-file commands: the save and open windows and what their Ok does.
#include <QFileInfo>
#include <QStatusBar>

#include "shell/frmmain.h"
#include "shell/unsaved_guard.h"
#include "shell/window_placement.h"
#include "storage/storage_messages.h"
#include "storage/ui/frmopen.h"
#include "storage/ui/frmsave.h"

namespace trellicap {

void frmmain::openSaveWindow() {
    if (!m_frmsave) {
        m_frmsave = new frmsave(m_saveFolder, this);
        connect(m_frmsave, &frmsave::saveRequested, this,
                [this](const QString& path) { m_unsavedGuard->saveFinished(saveToFile(path)); });
        connect(m_frmsave, &QObject::destroyed, this,
                [this] { m_unsavedGuard->saveWindowClosed(); });
        m_frmsave->setReplaceCheck([this](const QString& path) { return confirmReplace(path); });
    }
    if (!m_frmsave->isVisible()) {
        centreOverOwner(*m_frmsave, this);
    }
    m_frmsave->show();
    m_frmsave->raise();
    m_frmsave->activateWindow();
}

bool frmmain::confirmReplace(const QString& path) {
    const QFileInfo file(path);
    const UserQuestion question{describeReplaceQuestion(path, file.lastModified(), file.size()),
                                {Answer::Replace, Answer::Cancel},
                                Answer::Cancel,
                                Answer::Cancel};
    return ask(question) == Answer::Replace;
}

void frmmain::openOpenWindow() {
    if (m_session->isBusy()) {
        return;
    }
    if (m_frmopen && m_frmopen->isVisible()) {
        showOpenWindow();  // asked when it opened
        return;
    }
    m_unsavedGuard->proceed(tr("opening another file"), [this] { showOpenWindow(); });
}

void frmmain::showOpenWindow() {
    if (m_session->isBusy()) {
        return;  // a frame came in while the operator was saving
    }
    if (!m_frmopen) {
        m_frmopen = new frmopen(m_openFolder, this);
        connect(m_frmopen, &frmopen::loadRequested, this, [this](const QString& path) {
            // Records captured or edited while the open window stood open were never asked
            // about: ask before the file replaces them.
            if (hasUnsavedChanges() && m_session->changeCount() != m_changesWhenOpenShown) {
                m_unsavedGuard->proceed(tr("opening another file"),
                                        [this, path] { loadFromFile(path); });
            } else {
                loadFromFile(path);
            }
        });
    }
    if (!m_frmopen->isVisible()) {
        centreOverOwner(*m_frmopen, this);
        m_changesWhenOpenShown = m_session->changeCount();
    }
    m_frmopen->show();
    m_frmopen->raise();
    m_frmopen->activateWindow();
}

bool frmmain::saveToFile(const QString& path) {
    raise();
    activateWindow();
    if (const auto error = m_session->save(path)) {
        message(describeSaveFailure(path, *error));
        return false;
    }
    rememberFile(path);
    statusBar()->showMessage(tr("Saved all 200 slots to %1").arg(path), 6000);
    return true;
}

bool frmmain::loadPartOf(const LoadResult& result, const QString& path) {
    const UserQuestion question{describePartialLoadChoice(result, path),
                                {Answer::KeepSlots, Answer::LoadPart},
                                Answer::KeepSlots,
                                Answer::KeepSlots};
    return ask(question) == Answer::LoadPart;
}

void frmmain::loadFromFile(const QString& path) {
    raise();
    activateWindow();
    if (m_session->isBusy()) {
        return;  // a frame is on its way into the table
    }
    const Session::LoadOutcome load = m_session->load(
        path, [this, &path](const LoadResult& read) { return loadPartOf(read, path); });
    const LoadResult& result = load.result;
    const bool complete = load.complete;
    const bool adopt = load.adopted;
    if (complete) {
        rememberFile(path);
        statusBar()->showMessage(tr("Loaded %1").arg(path), 6000);
    } else if (!result.tableChanged()) {
        message(*describeLoadFailure(result, path));
    } else if (!adopt) {
        statusBar()->showMessage(tr("Nothing loaded from %1; the slots are as they were").arg(path),
                                 6000);
    } else {
        updateTitle();  // the table holds only part of that file
    }
}

}  // namespace trellicap
