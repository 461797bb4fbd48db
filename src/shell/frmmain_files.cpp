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
    const bool unsaved = m_session->unsaved();
    setWindowTitle(windowTitleFor(qs(m_profile.caption), currentFile(), unsaved));
    // Only a title with the placeholder can show the mark (Qt warns otherwise).
    setWindowModified(unsaved && windowTitle().contains(QLatin1String("[*]")));
}

void frmmain::rememberFile(const QString& path) {
    m_recentFiles->add(path);
    updateTitle();
}

QMenu* frmmain::recentFilesMenu() const {
    return m_recentFiles->menu();
}

void frmmain::forgetFile(const QString& path) {
    m_recentFiles->forget(path);
}

void frmmain::openHelp() {
    m_help->open();
}

}  // namespace trellicap
