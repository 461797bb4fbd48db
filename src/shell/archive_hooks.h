// The archive in the window program: keeps every record that reaches the memory table
// (the link's batch slots and unsolicited frames, opened files, "S  A  V  E", restores),
// notes each save, shows what the archive cannot write in a lasting status field, offers
// what the last run left unsaved once the window is up, and holds the "Archive" menu.
#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <memory>

#include "profiles/model_profile.h"

class QLabel;

namespace trellicap {

namespace archive {
class ArchiveKeeper;
}
class frmarchive;
class frmmain;
class frmrestore;

class ArchiveHooks : public QObject {
    Q_OBJECT
public:
    // The archive file is "archive.sqlite" in the window's working folder.
    explicit ArchiveHooks(frmmain& window);
    ~ArchiveHooks() override;

    // Opens the archive and reads what the last run left unsaved; the notice comes once
    // the main window is shown.
    void start();

    void headerStored(int column);
    void loaded(const QString& path, const std::array<bool, kSlotCount>& marked);
    void saved(const QString& path);
    // The program ends the way its operator chose: nothing of this run is offered again.
    void endRunCleanly();

    // Files the offered records into their slots, exactly as they were kept.
    void restore();
    void openSearchWindow();

    [[nodiscard]] archive::ArchiveKeeper& keeper() { return *m_keeper; }
    [[nodiscard]] frmrestore* restoreNotice() const;
    [[nodiscard]] frmarchive* searchWindow() const;
    [[nodiscard]] QString archivePath() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void showStatus();
    void damagedFileMoved(const QString& path, const QString& aside);
    void offerRestore();

    frmmain& m_window;
    std::unique_ptr<archive::ArchiveKeeper> m_keeper;
    QLabel* m_status = nullptr;
    QPointer<frmrestore> m_notice;
    QPointer<frmarchive> m_search;
    bool m_offerPending = false;
    bool m_ended = false;
};

}  // namespace trellicap
