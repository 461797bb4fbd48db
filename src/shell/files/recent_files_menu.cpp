#include "shell/files/recent_files_menu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "shell/files/recent_files.h"

namespace trellicap {

RecentFilesMenu::RecentFilesMenu(QMenu* menu, QString program, Opener open)
    : m_menu(menu), m_program(std::move(program)), m_open(std::move(open)) {
    fill();
}

void RecentFilesMenu::add(const QString& path) {
    RecentFiles(m_program).add(path);
    fill();
}

void RecentFilesMenu::forget(const QString& path) {
    RecentFiles(m_program).remove(path);
    fill();
}

void RecentFilesMenu::fill() {
    if (m_menu == nullptr) {
        return;
    }
    m_menu->clear();
    const QStringList files = RecentFiles(m_program).files();
    if (files.isEmpty()) {
        m_menu->addAction(QMenu::tr("(none)"))->setEnabled(false);
        return;
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* action =
            m_menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setObjectName(QStringLiteral("mnurecent%1").arg(i + 1));
        action->setData(path);
        action->setStatusTip(path);
        action->setToolTip(path);
        QObject::connect(action, &QAction::triggered, m_menu,
                         [open = m_open, path] { open(path); });
    }
}

}  // namespace trellicap
