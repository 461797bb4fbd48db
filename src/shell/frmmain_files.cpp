// The main window's record-file comforts: File > New, a recent file chosen, the title naming
// the open file, a record file dropped on the window, and the user's guide.
#include <QFileInfo>
#include <QStatusBar>

#include "link/instrument_link.h"
#include "record/profile_text.h"
#include "record/slot_entries.h"
#include "shell/frmmain.h"
#include "shell/help_window.h"
#include "shell/recent_files_menu.h"
#include "shell/slot_list_panel.h"
#include "shell/status_fields.h"
#include "shell/unsaved_guard.h"
#include "shell/window_title.h"

namespace trellicap {

void frmmain::updateTitle() {
    const bool unsaved = m_status != nullptr && m_status->unsaved();
    setWindowTitle(windowTitleFor(qs(m_profile.caption), m_currentFile, unsaved));
    // Only a title with the placeholder can show the mark (Qt warns otherwise).
    setWindowModified(unsaved && windowTitle().contains(QLatin1String("[*]")));
}

void frmmain::rememberFile(const QString& path) {
    m_currentFile = QFileInfo(path).absoluteFilePath();
    m_recentFiles->add(path);
    updateTitle();
}

QMenu* frmmain::recentFilesMenu() const {
    return m_recentFiles->menu();
}

void frmmain::newRecords() {
    if (m_link->isBusy()) {
        return;  // a frame is on its way into the table
    }
    m_unsavedGuard->proceed(tr("clearing all slots"), [this] { clearAllSlots(); });
}

void frmmain::clearAllSlots() {
    if (m_link->isBusy()) {
        return;  // a capture began while the operator was saving
    }
    m_store.initMemoryTable();
    m_slots->setEntries(slotListEntries({}));
    m_currentFile.clear();
    m_status->setUnsaved(false);
    updateTitle();
    statusBar()->showMessage(tr("All 200 slots cleared"), 6000);
}

void frmmain::openRecordFile(const QString& path) {
    if (m_link->isBusy()) {
        statusBar()->showMessage(tr("Not opened while a capture runs: %1").arg(path), 6000);
        return;
    }
    if (!QFileInfo::exists(path)) {
        m_recentFiles->forget(path);
        message({qs(m_profile.programName), tr("The record file is not there any more."), path});
        return;
    }
    // loadFromFile() itself refuses while a capture runs, so a Save that lasted into one
    // still cannot mix a file into the batch's slots.
    m_unsavedGuard->proceed(tr("opening another file"), [this, path] { loadFromFile(path); });
}

void frmmain::openHelp() {
    m_help->open();
}

}  // namespace trellicap
