// The main window's team server: the background sync of this folder's archive, its field in
// the status bar, and "Archive" > "Team server...".
#include <QDir>
#include <QStatusBar>

#include "archive/background_sync.h"
#include "archive/ui/frmteamserver.h"
#include "archive/ui/team_sync_field.h"
#include "shell/frmmain.h"

namespace trellicap {

namespace {
constexpr const char* kArchiveFileName = "archive.sqlite";
}  // namespace

void frmmain::startTeamSync() {
    m_teamSync = new archive::BackgroundSync(
        m_options.workingDir, QDir(m_options.workingDir).filePath(QLatin1String(kArchiveFileName)),
        this);
    auto* field = new archive::TeamSyncField(statusBar());
    statusBar()->addPermanentWidget(field);
    connect(m_teamSync, &archive::BackgroundSync::statusChanged, field,
            &archive::TeamSyncField::showStatus);
    m_teamSync->start();
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
