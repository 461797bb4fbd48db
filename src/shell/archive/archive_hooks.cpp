#include "shell/archive/archive_hooks.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "archive/archive_keeper.h"
#include "session/session.h"
#include "shell/archive/frmarchive.h"
#include "shell/archive/frmrestore.h"
#include "shell/common/window_host.h"
#include "shell/common/window_placement.h"

namespace trellicap {

namespace {

constexpr const char* kArchiveFile = "archive.sqlite";

}  // namespace

ArchiveHooks::ArchiveHooks(Session& session, WindowHost& host, QMenuBar& menus, QStatusBar& status,
                           std::function<void(const ReferenceTrace&)> showReference)
    : m_session(session), m_host(host), m_showReference(std::move(showReference)) {
    connect(&session, &Session::busyChanged, this, [this](bool busy) {
        if (m_notice) {
            m_notice->restoreButton()->setEnabled(!busy);
        }
    });
    connect(&keeper(), &archive::ArchiveKeeper::statusChanged, this, &ArchiveHooks::showStatus);
    connect(&keeper(), &archive::ArchiveKeeper::damagedFileMoved, this,
            &ArchiveHooks::damagedFileMoved);

    m_status = new QLabel(&host.window());
    m_status->setObjectName(QStringLiteral("lblarchive"));
    m_status->hide();
    status.addPermanentWidget(m_status);
    buildMenu(menus);
    host.window().installEventFilter(this);
}

ArchiveHooks::~ArchiveHooks() = default;

frmrestore* ArchiveHooks::restoreNotice() const {
    return m_notice;
}

frmarchive* ArchiveHooks::searchWindow() const {
    return m_search;
}

QString ArchiveHooks::archivePathIn(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kArchiveFile));
}

QString ArchiveHooks::archivePath() const {
    return m_session.archivePath();
}

archive::ArchiveKeeper& ArchiveHooks::keeper() {
    return m_session.archive();
}

void ArchiveHooks::start() {
    if (std::exchange(m_started, true)) {
        return;
    }
    m_session.startArchive();
    if (!keeper().restoreOffer().empty()) {
        m_offerPending = true;
        if (m_host.window().isVisible()) {
            QTimer::singleShot(0, this, &ArchiveHooks::offerRestore);
        }
    }
}

void ArchiveHooks::buildMenu(QMenuBar& menus) {
    QMenuBar* bar = &menus;
    auto* menu = new QMenu(QStringLiteral("Archive"), bar);
    menu->setObjectName(QStringLiteral("mnuarchive"));
    QAction* search = menu->addAction(QStringLiteral("Search archive..."));
    search->setObjectName(QStringLiteral("mnusearcharchive"));
    search->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    connect(search, &QAction::triggered, this, &ArchiveHooks::openSearchWindow);
    // Before Help, which stays last.
    QAction* before = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->menu() && action->menu()->objectName() == QLatin1String("mnuhelp")) {
            before = action;
        }
    }
    bar->insertMenu(before, menu);
}

bool ArchiveHooks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_host.window() && event->type() == QEvent::Show && m_offerPending) {
        QTimer::singleShot(0, this, &ArchiveHooks::offerRestore);
    }
    return QObject::eventFilter(watched, event);
}

void ArchiveHooks::offerRestore() {
    if (!m_offerPending || m_notice || !m_host.window().isVisible()) {
        return;
    }
    m_offerPending = false;
    m_notice =
        new frmrestore(archive::restoreNoticeText(keeper().restoreOffer()), &m_host.window());
    m_notice->restoreButton()->setEnabled(m_session.changeRefused().done());
    connect(m_notice, &frmrestore::restoreRequested, this, &ArchiveHooks::restore);
    centreOverOwner(*m_notice, &m_host.window());
    m_notice->show();
}

void ArchiveHooks::restore() {
    const Session::RestoreSummary summary = m_session.restoreFromArchive();
    if (summary.refusal.refused()) {
        m_host.showStatus(tr("Not restored: %1").arg(summary.refusal.reason()), 10000);
        return;
    }
    const int restored = summary.restored;
    const QStringList& kept = summary.kept;
    QString text =
        summary.file.isEmpty()
            ? tr("Restored %n record(s) from the archive", nullptr, restored)
            : tr("Opened %1 again and restored %n record(s) from the archive", nullptr, restored)
                  .arg(QDir::toNativeSeparators(summary.file));
    if (!kept.isEmpty()) {
        text += tr("; %1 kept the newer record captured since (the older one stays in the "
                   "archive)")
                    .arg(kept.join(QStringLiteral(", ")));
    }
    m_host.showStatus(text, 10000);
    if (!summary.fileNote.isEmpty()) {
        m_host.message({tr("Archive"), tr("The record file of the last run was not opened again."),
                        summary.fileNote + QLatin1Char('.')});
    }
    if (!summary.refused.isEmpty()) {
        m_host.message({tr("Archive"), tr("Some records could not be restored."),
                        summary.refused.join(QLatin1Char('\n'))});
    }
}

void ArchiveHooks::showStatus() {
    const QString text = keeper().statusText();
    m_status->setText(text);
    m_status->setToolTip(text.isEmpty() ? QString() : tr("Archive file: %1").arg(archivePath()));
    m_status->setVisible(!text.isEmpty());
}

void ArchiveHooks::damagedFileMoved(const QString& path, const QString& aside) {
    // Said once the window is up: the start-up itself asks nothing before it.
    QTimer::singleShot(0, this, [this, path, aside] {
        m_host.message({tr("Archive"),
                        tr("The archive %1 was damaged. It was renamed to %2 and a new archive "
                           "was started.")
                            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(aside)),
                        tr("The records in the window are not affected.")});
    });
}

void ArchiveHooks::openSearchWindow() {
    start();  // asked for before the window painted: the archive opens now
    if (!m_search) {
        m_search = new frmarchive(m_session, m_host, m_showReference);
        m_search->addRecordsToJob = addRecordsToJob;
    }
    centreOverOwner(*m_search, &m_host.window());
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
}

}  // namespace trellicap
