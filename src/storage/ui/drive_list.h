// The drive list of the save and open windows: the mounted volumes that hold folders (on
// Windows the drive letters, elsewhere the root and any stick or disk mounted below it).
#pragma once

#include <QComboBox>

namespace trellicap {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // Shows the volume that holds folder, without announcing it as a choice.
    void showVolumeOf(const QString& folder);

signals:
    // The user picked a volume; rootPath uses '/' separators.
    void driveChosen(const QString& rootPath);
};

class FolderList;

// The drive and folder lists of the save and open windows work as one: choosing a drive
// moves the folder list there (or shows the folder's own volume again when that drive
// cannot be listed). Both get names for screen readers and tips, having no captions.
void pairDriveWithFolders(DriveList& drives, FolderList& folders);

}  // namespace trellicap
