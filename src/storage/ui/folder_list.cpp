#include "storage/ui/folder_list.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

namespace trellicap {

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { enter(item->text()); });
}

bool FolderList::setPath(const QString& folder) {
    const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QFileInfo info(clean);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) {
        return false;
    }
    const QDir dir(clean);
    clear();
    if (!dir.isRoot()) {
        addItem(parentEntry());
    }
    addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    const bool changed = clean != m_path;
    m_path = clean;
    if (changed) {
        emit pathChanged(m_path);
    }
    return true;
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    QListWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
    }
}

void FolderList::enter(const QString& entry) {
    QDir dir(m_path);
    if (entry == parentEntry() ? dir.cdUp() : dir.cd(entry)) {
        setPath(dir.absolutePath());
    }
}

}  // namespace trellicap
