// The archive in the window program: keeps every record that reaches the memory table
// (the link's batch slots and unsolicited frames, opened files, "S  A  V  E", restores),
// notes each save, shows what the archive cannot write in a lasting status field, offers
// what the last run left unsaved once the window is up, and holds the "Archive" menu.
#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "inspection/job.h"
#include "profiles/model_profile.h"

class QLabel;
class QMenuBar;
class QStatusBar;

namespace trellicap {

namespace archive {
class ArchiveKeeper;
}
class Session;
class WindowHost;
class frmarchive;
class frmrestore;
struct ReferenceTrace;

class ArchiveHooks : public QObject {
    Q_OBJECT
public:
    // The window's session keeps the records; these are the archive's menu (in `menus`),
    // status field (in `status`), restore notice and search window, whose "Compare with"
    // draws through `showReference`.
    ArchiveHooks(Session& session, WindowHost& host, QMenuBar& menus, QStatusBar& status,
                 std::function<void(const ReferenceTrace&)> showReference);
    ~ArchiveHooks() override;

    // The archive file of a working folder: "archive.sqlite" in it.
    [[nodiscard]] static QString archivePathIn(const QString& folder);

    // Opens the session's archive (once, whoever asks first: the window's first paint, the
    // archive window) and offers what the last run left unsaved once the main window is shown.
    void start();

    // Files the offered records into their slots, exactly as they were kept.
    void restore();
    void openSearchWindow();

    [[nodiscard]] archive::ArchiveKeeper& keeper();
    [[nodiscard]] frmrestore* restoreNotice() const;
    [[nodiscard]] frmarchive* searchWindow() const;
    [[nodiscard]] QString archivePath() const;
    // Where the search window's "Add to Job" sends the chosen records.
    std::function<void(std::vector<inspection::JobItem>)> addRecordsToJob;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu(QMenuBar& bar);
    void showStatus();
    void damagedFileMoved(const QString& path, const QString& aside);
    void offerRestore();

    Session& m_session;
    WindowHost& m_host;
    std::function<void(const ReferenceTrace&)> m_showReference;
    QLabel* m_status = nullptr;
    QPointer<frmrestore> m_notice;
    QPointer<frmarchive> m_search;
    bool m_started = false;
    bool m_offerPending = false;
};

}  // namespace trellicap
