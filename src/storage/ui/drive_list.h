// The drive list of the save and open windows: the volumes that hold folders (on Windows the
// drive letters, elsewhere the root and any stick or disk mounted below it). The root of the
// file system and the volume of the folder shown are always offered.
#pragma once

#include <QComboBox>
#include <QStringList>

namespace trellicap {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    // volumeRoots: the root paths of the volumes to offer besides the root of the file
    // system; the windows pass mountedVolumeRoots() (see drive_roots.h).
    explicit DriveList(const QStringList& volumeRoots, QWidget* parent = nullptr);

    // Shows the volume that holds folder, without announcing it as a choice; a volume not
    // offered yet (a drive the mount table did not list) is added first.
    void showVolumeOf(const QString& folder);

signals:
    // The user picked a volume; rootPath uses '/' separators.
    void driveChosen(const QString& rootPath);

private:
    [[nodiscard]] QStringList roots() const;
    int addRoot(const QString& root);
};

class FolderList;

// The drive and folder lists of the save and open windows work as one: choosing a drive
// moves the folder list there (or shows the folder's own volume again when that drive
// cannot be listed). Both get names for screen readers and tips, having no captions.
void pairDriveWithFolders(DriveList& drives, FolderList& folders);

}  // namespace trellicap
