// The main window's record-file commands: the save and open windows and what their Ok does.
#include <QFileInfo>
#include <QStatusBar>

#include "link/instrument_link.h"
#include "record/slot_entries.h"
#include "shell/archive_hooks.h"
#include "shell/frmmain.h"
#include "shell/slot_list_panel.h"
#include "shell/status_fields.h"
#include "shell/unsaved_guard.h"
#include "shell/window_placement.h"
#include "storage/record_file_io.h"
#include "storage/scratch_load.h"
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
    showSecondaryWindow(*m_frmsave, this);
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
    if (m_link->isBusy()) {
        return;
    }
    if (m_frmopen && m_frmopen->isVisible()) {
        showOpenWindow();  // asked when it opened
        return;
    }
    m_unsavedGuard->proceed(tr("opening another file"), [this] { showOpenWindow(); });
}

void frmmain::showOpenWindow() {
    if (m_link->isBusy()) {
        return;  // a frame came in while the operator was saving
    }
    if (!m_frmopen) {
        m_frmopen = new frmopen(m_openFolder, this);
        connect(m_frmopen, &frmopen::loadRequested, this, [this](const QString& path) {
            // Records captured or edited while the open window stood open were never asked
            // about: ask before the file replaces them.
            if (hasUnsavedChanges() && m_status->changeCount() != m_changesWhenOpenShown) {
                m_unsavedGuard->proceed(tr("opening another file"),
                                        [this, path] { loadFromFile(path); });
            } else {
                loadFromFile(path);
            }
        });
    }
    if (!m_frmopen->isVisible()) {
        m_changesWhenOpenShown = m_status->changeCount();
    }
    showSecondaryWindow(*m_frmopen, this);
}

bool frmmain::saveToFile(const QString& path) {
    raise();
    activateWindow();
    if (const auto error = saveRecordFile(path, m_store)) {
        message(describeSaveFailure(path, *error));
        return false;
    }
    m_archive->saved(path);
    m_status->setUnsaved(false);
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
    if (m_link->isBusy()) {
        return;  // a frame is on its way into the table
    }
    // Read aside first: the slots change only by a whole file, or by the operator's choice.
    ScratchLoad load(m_profile);
    const LoadResult& result = load.read(path);
    const bool complete = result.stop == LoadResult::Stop::Complete;
    bool adopt = complete;
    if (!complete && result.tableChanged()) {
        adopt = loadPartOf(result, path);
    }
    if (adopt) {
        load.adoptInto(m_store);
        m_slots->setEntries(slotListEntries(result.marked));
        for (int column = 0; column < kSlotCount; ++column) {
            updateEntryTip(column);
        }
        m_status->setUnsaved(false);  // the table is the file's now
        m_archive->loaded(path, result.marked);
    }
    display_pattern();
    display_setup();
    if (complete) {
        rememberFile(path);
        statusBar()->showMessage(tr("Loaded %1").arg(path), 6000);
    } else if (!result.tableChanged()) {
        message(*describeLoadFailure(result, path));
    } else if (!adopt) {
        statusBar()->showMessage(tr("Nothing loaded from %1; the slots are as they were").arg(path),
                                 6000);
    } else {
        m_currentFile.clear();  // the table holds only part of that file
        updateTitle();
    }
}

}  // namespace trellicap
