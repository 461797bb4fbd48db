// The main window's team server: the background sync of this folder's archive to the office,
// its field in the status bar, and "Archive" > "Team server..." to set the server.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QMainWindow;

namespace trellicap {

class ArchiveHooks;
class InstrumentLink;
namespace archive {
class BackgroundSync;
class frmteamserver;
}  // namespace archive

class TeamSyncHooks : public QObject {
    Q_OBJECT
public:
    // Adds the menu entry and the status field to `window` and starts the sync once the
    // event loop runs (after the window's and the archive's start-up). New records from
    // `link` are sent without waiting for the next round.
    TeamSyncHooks(QMainWindow& window, const QString& workingDir, ArchiveHooks& archive,
                  InstrumentLink& link);

    // The server's settings window (one at a time); an accepted change reaches the sync.
    void openTeamServer();

private:
    QMainWindow& m_window;
    QString m_workingDir;
    archive::BackgroundSync* m_sync;  // a child of the window
    QPointer<archive::frmteamserver> m_settings;
};

}  // namespace trellicap
