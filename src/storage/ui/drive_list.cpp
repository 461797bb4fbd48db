#include "storage/ui/drive_list.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

#include "storage/ui/folder_list.h"

namespace trellicap {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Not-ready drives (an empty card reader) and single files bind-mounted into a
        // container cannot be browsed.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir()) {
            roots.append(volume.rootPath());
        }
    }
    roots.removeDuplicates();
    roots.sort();
    for (const QString& root : roots) {
        addItem(QDir::toNativeSeparators(root), root);
    }
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit driveChosen(itemData(index).toString()); });
}

void DriveList::showVolumeOf(const QString& folder) {
    const int index = findData(QStorageInfo(folder).rootPath());
    if (index >= 0) {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
}

void pairDriveWithFolders(DriveList& drives, FolderList& folders) {
    drives.setAccessibleName(DriveList::tr("Drive"));
    drives.setToolTip(DriveList::tr("Drive (mounted volume)"));
    folders.setAccessibleName(DriveList::tr("Folder"));
    folders.setToolTip(DriveList::tr("Folder: double-click to open, \"..\" goes up"));
    QObject::connect(&drives, &DriveList::driveChosen, &folders,
                     [&drives, &folders](const QString& root) {
                         if (!folders.setPath(root)) {
                             drives.showVolumeOf(folders.path());
                         }
                     });
}

}  // namespace trellicap
