// The main window's record-file comforts: File > New, the recent files, the title naming the
// open file, a record file dropped on the window, and the user's guide.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>

#include "link/instrument_link.h"
#include "record/profile_text.h"
#include "record/slot_entries.h"
#include "shell/frmmain.h"
#include "shell/help_window.h"
#include "shell/recent_files.h"
#include "shell/slot_list_panel.h"
#include "shell/status_fields.h"
#include "shell/unsaved_guard.h"
#include "shell/window_placement.h"
#include "shell/window_title.h"

namespace trellicap {

void frmmain::updateTitle() {
    const bool unsaved = m_session->unsaved();
    setWindowTitle(windowTitleFor(qs(m_profile.caption), currentFile(), unsaved));
    // Only a title with the placeholder can show the mark (Qt warns otherwise).
    setWindowModified(unsaved && windowTitle().contains(QLatin1String("[*]")));
}

void frmmain::rememberFile(const QString& path) {
    RecentFiles(qs(m_profile.programName)).add(path);
    fillRecentMenu();
    updateTitle();
}

void frmmain::fillRecentMenu() {
    if (m_recentMenu == nullptr) {
        return;
    }
    m_recentMenu->clear();
    const QStringList files = RecentFiles(qs(m_profile.programName)).files();
    if (files.isEmpty()) {
        m_recentMenu->addAction(tr("(none)"))->setEnabled(false);
        return;
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* action = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setObjectName(QStringLiteral("mnurecent%1").arg(i + 1));
        action->setData(path);
        action->setStatusTip(path);
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { openRecordFile(path); });
    }
}

void frmmain::forgetFile(const QString& path) {
    RecentFiles(qs(m_profile.programName)).remove(path);
    fillRecentMenu();
}

void frmmain::openHelp() {
    if (!m_help) {
        m_help = new HelpWindow(qs(m_profile.programName), this);
        centreOverOwner(*m_help, this);
    }
    m_help->showGuide();
}

}  // namespace trellicap
