#include "shell/archive/team_sync_hooks.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "archive/archive_keeper.h"
#include "archive/background_sync.h"
#include "archive/ui/frmteamserver.h"
#include "archive/ui/team_sync_field.h"
#include "link/instrument_link.h"
#include "shell/archive/archive_hooks.h"

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

TeamSyncHooks::TeamSyncHooks(QMainWindow& window, const QString& workingDir, ArchiveHooks& archive,
                             InstrumentLink& link)
    : m_window(window),
      m_workingDir(workingDir),
      m_sync(new archive::BackgroundSync(workingDir, archive.archivePath(), &window)) {
    connect(addTeamServerEntry(*window.menuBar()), &QAction::triggered, this,
            &TeamSyncHooks::openTeamServer);
    auto* field = new archive::TeamSyncField(window.statusBar());
    window.statusBar()->addPermanentWidget(field);
    connect(m_sync, &archive::BackgroundSync::statusChanged, field,
            &archive::TeamSyncField::showStatus);
    // A record the archive could only write later (its file was locked for a moment) is
    // sent as soon as it is written, not at the next round.
    connect(&archive.keeper(), &archive::ArchiveKeeper::statusChanged, m_sync,
            &archive::BackgroundSync::requestSync);
    // A slot the operator sent from the instrument is on its way at once too; a batch's
    // slots go together when it ends, after the window has shown its end.
    connect(&link, &InstrumentLink::recordArrived, m_sync, &archive::BackgroundSync::requestSync);
    connect(&link, &InstrumentLink::batchFinished, m_sync, &archive::BackgroundSync::requestSync);
    QTimer::singleShot(0, m_sync, [sync = m_sync] { sync->start(); });
}

void TeamSyncHooks::openTeamServer() {
    if (m_settings) {
        m_settings->raise();
        m_settings->activateWindow();
        return;
    }
    m_settings = new archive::frmteamserver(m_workingDir, &m_window);
    m_settings->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_settings, &QDialog::accepted, m_sync, &archive::BackgroundSync::reloadServer);
    m_settings->open();
}

}  // namespace trellicap
