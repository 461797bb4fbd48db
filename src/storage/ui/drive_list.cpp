#include "storage/ui/drive_list.h"

#include <QDir>
#include <QSignalBlocker>
#include <algorithm>

#include "storage/ui/drive_roots.h"
#include "storage/ui/folder_list.h"

namespace trellicap {

DriveList::DriveList(const QStringList& volumeRoots, QWidget* parent) : QComboBox(parent) {
    for (const QString& root : offeredRoots(volumeRoots)) {
        addItem(QDir::toNativeSeparators(root), root);
    }
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit driveChosen(itemData(index).toString()); });
}

QStringList DriveList::roots() const {
    QStringList all;
    for (int i = 0; i < count(); ++i) {
        all.append(itemData(i).toString());
    }
    return all;
}

// Keeps the entries sorted as offeredRoots sorts them.
int DriveList::addRoot(const QString& root) {
    const QStringList all = roots();
    const auto at = std::upper_bound(all.begin(), all.end(), root);
    const int index = static_cast<int>(at - all.begin());
    insertItem(index, QDir::toNativeSeparators(root), root);
    return index;
}

void DriveList::showVolumeOf(const QString& folder) {
    const QString root = volumeRootOf(folder, roots());
    int index = findData(root);
    if (index < 0) {
        index = addRoot(root);
    }
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
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
