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

#include "archive/archive_keeper.h"
#include "shell/archive/frmarchive.h"
#include "shell/archive/frmrestore.h"
#include "shell/common/window_placement.h"
#include "shell/main/frmmain.h"

namespace trellicap {

namespace {

constexpr const char* kArchiveFile = "archive.sqlite";

}  // namespace

ArchiveHooks::ArchiveHooks(frmmain& window) : m_window(window) {
    connect(&window.session(), &Session::busyChanged, this, [this](bool busy) {
        if (m_notice) {
            m_notice->restoreButton()->setEnabled(!busy);
        }
    });
    connect(&keeper(), &archive::ArchiveKeeper::statusChanged, this, &ArchiveHooks::showStatus);
    connect(&keeper(), &archive::ArchiveKeeper::damagedFileMoved, this,
            &ArchiveHooks::damagedFileMoved);

    m_status = new QLabel(&window);
    m_status->setObjectName(QStringLiteral("lblarchive"));
    m_status->hide();
    window.statusBar()->addPermanentWidget(m_status);
    buildMenu();
    window.installEventFilter(this);
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
    return m_window.session().archivePath();
}

archive::ArchiveKeeper& ArchiveHooks::keeper() {
    return m_window.session().archive();
}

void ArchiveHooks::start() {
    if (!keeper().restoreOffer().empty()) {
        m_offerPending = true;
        if (m_window.isVisible()) {
            QTimer::singleShot(0, this, &ArchiveHooks::offerRestore);
        }
    }
}

void ArchiveHooks::buildMenu() {
    QMenuBar* bar = m_window.menuBar();
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
    if (watched == &m_window && event->type() == QEvent::Show && m_offerPending) {
        QTimer::singleShot(0, this, &ArchiveHooks::offerRestore);
    }
    return QObject::eventFilter(watched, event);
}

void ArchiveHooks::offerRestore() {
    if (!m_offerPending || m_notice || !m_window.isVisible()) {
        return;
    }
    m_offerPending = false;
    m_notice = new frmrestore(archive::restoreNoticeText(keeper().restoreOffer()), &m_window);
    m_notice->restoreButton()->setEnabled(!m_window.session().isBusy());
    connect(m_notice, &frmrestore::restoreRequested, this, &ArchiveHooks::restore);
    centreOverOwner(*m_notice, &m_window);
    m_notice->show();
}

void ArchiveHooks::restore() {
    if (m_window.session().isBusy()) {
        return;  // a frame is on its way into the table
    }
    const Session::RestoreSummary summary = m_window.session().restoreFromArchive();
    const int restored = summary.restored;
    const QStringList& kept = summary.kept;
    QString text = tr("Restored %n record(s) from the archive", nullptr, restored);
    if (!kept.isEmpty()) {
        text += tr("; %1 kept the newer record captured since (the older one stays in the "
                   "archive)")
                    .arg(kept.join(QStringLiteral(", ")));
    }
    m_window.statusBar()->showMessage(text, 10000);
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
        m_window.message({tr("Archive"),
                          tr("The archive %1 was damaged. It was renamed to %2 and a new archive "
                             "was started.")
                              .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(aside)),
                          tr("The records in the window are not affected.")});
    });
}

void ArchiveHooks::openSearchWindow() {
    if (!m_search) {
        m_search = new frmarchive(m_window, archivePath());
    }
    centreOverOwner(*m_search, &m_window);
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
}

}  // namespace trellicap
