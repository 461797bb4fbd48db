#include "shell/archive_hooks.h"

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
#include "link/instrument_link.h"
#include "shell/frmarchive.h"
#include "shell/frmmain.h"
#include "shell/frmrestore.h"
#include "shell/slot_list_panel.h"
#include "shell/window_placement.h"

namespace trellicap {

namespace {

constexpr const char* kArchiveFile = "archive.sqlite";

std::vector<RecordValue> columnValues(frmmain& window, int column) {
    const auto values = window.store().column(column);
    return {values.begin(), values.end()};
}

}  // namespace

ArchiveHooks::ArchiveHooks(frmmain& window)
    : m_window(window),
      m_keeper(std::make_unique<archive::ArchiveKeeper>(window.profile(), archivePath())) {
    // Connected after the window's own handlers: the record is in the table when these run.
    InstrumentLink& link = window.link();
    connect(&link, &InstrumentLink::slotFiled, this, [this](int column) {
        m_keeper->keepFiled(column, m_window.store().column(column), archive::Source::Capture);
    });
    connect(&link, &InstrumentLink::recordArrived, this, [this](int column) {
        m_keeper->keepFiled(column, m_window.store().column(column), archive::Source::Unsolicited);
    });
    connect(&link, &InstrumentLink::busyChanged, this, [this](bool busy) {
        if (m_notice) {
            m_notice->restoreButton()->setEnabled(!busy);
        }
    });
    connect(m_keeper.get(), &archive::ArchiveKeeper::statusChanged, this,
            &ArchiveHooks::showStatus);
    connect(m_keeper.get(), &archive::ArchiveKeeper::damagedFileMoved, this,
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

QString ArchiveHooks::archivePath() const {
    return QDir(m_window.workingDir()).filePath(QString::fromLatin1(kArchiveFile));
}

void ArchiveHooks::start() {
    m_keeper->start();
    if (!m_keeper->restoreOffer().empty()) {
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

void ArchiveHooks::headerStored(int column) {
    m_keeper->keepHeaderStore(column, m_window.store().column(column));
}

void ArchiveHooks::loaded(const QString& path, const std::array<bool, kSlotCount>& marked) {
    std::vector<archive::SlotValues> marks;
    for (int column = 0; column < kSlotCount; ++column) {
        if (marked[static_cast<std::size_t>(column)]) {
            marks.push_back({column + 1, columnValues(m_window, column)});
        }
    }
    m_keeper->keepLoaded(QFileInfo(path).absoluteFilePath(), std::move(marks));
}

void ArchiveHooks::saved(const QString& path) {
    m_keeper->noteSaved(QFileInfo(path).absoluteFilePath());
}

void ArchiveHooks::endRunCleanly() {
    if (!m_ended) {
        m_ended = true;
        m_keeper->endRunCleanly();
    }
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
    m_notice = new frmrestore(archive::restoreNoticeText(m_keeper->restoreOffer()), &m_window);
    m_notice->restoreButton()->setEnabled(!m_window.link().isBusy());
    connect(m_notice, &frmrestore::restoreRequested, this, &ArchiveHooks::restore);
    centreOverOwner(*m_notice, &m_window);
    m_notice->show();
}

void ArchiveHooks::restore() {
    if (m_window.link().isBusy()) {
        return;  // a frame is on its way into the table
    }
    const archive::RestoreOffer offer = m_keeper->restoreOffer();
    int restored = 0;
    QStringList kept;
    for (const archive::RestoreItem& item : offer.items) {
        const int column = item.slot - 1;
        // The notice waits without blocking: a slot may have received a record since.
        // That newer record stays; the older one is still in the archive.
        const auto held = m_window.store().column(column);
        const bool holdsOther =
            m_window.slotPanel().entryText(column).endsWith(QLatin1String(" *")) &&
            !std::equal(held.begin(), held.end(), item.values.begin(), item.values.end());
        if (holdsOther) {
            kept.append(QStringLiteral("Mem %1").arg(item.slot));
            continue;
        }
        m_window.fileRecord(column, item.values);
        m_keeper->keepFiled(column, item.values, archive::Source::Restore);
        ++restored;
    }
    m_keeper->restoreTaken();
    QString text = tr("Restored %n record(s) from the archive", nullptr, restored);
    if (!kept.isEmpty()) {
        text += tr("; %1 kept the newer record captured since (the older one stays in the "
                   "archive)")
                    .arg(kept.join(QStringLiteral(", ")));
    }
    m_window.statusBar()->showMessage(text, 10000);
}

void ArchiveHooks::showStatus() {
    const QString text = m_keeper->statusText();
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
