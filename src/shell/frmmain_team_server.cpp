// The main window's team server: the background sync of this folder's archive, its field in
// the status bar, and "Archive" > "Team server...".
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "archive/archive_keeper.h"
#include "archive/background_sync.h"
#include "archive/ui/frmteamserver.h"
#include "archive/ui/team_sync_field.h"
#include "link/instrument_link.h"
#include "shell/archive_hooks.h"
#include "shell/frmmain.h"

namespace trellicap {

namespace {

// "Archive" > "Team server...", below the archive's own entries.
QAction* addTeamServerEntry(QMenuBar& bar) {
    QMenu* menu = bar.findChild<QMenu*>(QStringLiteral("mnuarchive"));
    if (menu == nullptr) {
        menu = bar.addMenu(QMenuBar::tr("Archive"));
        menu->setObjectName(QStringLiteral("mnuarchive"));
    }
    menu->addSeparator();
    QAction* entry = menu->addAction(QMenuBar::tr("Team server..."));
    entry->setObjectName(QStringLiteral("mnuteamserver"));
    return entry;
}

}  // namespace

void frmmain::startTeamSync() {
    connect(addTeamServerEntry(*menuBar()), &QAction::triggered, this, &frmmain::openTeamServer);
    m_teamSync = new archive::BackgroundSync(m_options.workingDir, m_archive->archivePath(), this);
    auto* field = new archive::TeamSyncField(statusBar());
    statusBar()->addPermanentWidget(field);
    connect(m_teamSync, &archive::BackgroundSync::statusChanged, field,
            &archive::TeamSyncField::showStatus);
    // A record the archive could only write later (its file was locked for a moment) is
    // sent as soon as it is written, not at the next round.
    connect(&m_archive->keeper(), &archive::ArchiveKeeper::statusChanged, m_teamSync,
            &archive::BackgroundSync::requestSync);
    // A slot the operator sent from the instrument is on its way at once too; a batch's
    // slots go together when it ends (frmmain::batchFinished).
    connect(&link(), &InstrumentLink::recordArrived, m_teamSync,
            &archive::BackgroundSync::requestSync);
    // Once the window's start-up (and the archive's) is through.
    QTimer::singleShot(0, m_teamSync, [sync = m_teamSync] { sync->start(); });
}

void frmmain::openTeamServer() {
    if (m_frmteamserver) {
        m_frmteamserver->raise();
        m_frmteamserver->activateWindow();
        return;
    }
    m_frmteamserver = new archive::frmteamserver(m_options.workingDir, this);
    m_frmteamserver->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_frmteamserver, &QDialog::accepted, m_teamSync,
            &archive::BackgroundSync::reloadServer);
    m_frmteamserver->open();
}

}  // namespace trellicap
