// The volumes the drive list of the save and open windows offers. The root of the file system
// is always among them, and so is the volume of the folder shown, whatever the mount table
// lists: in a fresh minimal root made by debootstrap (where Debian's package builders run the
// tests) the mount table has no "/".
#pragma once

#include <QString>
#include <QStringList>

namespace trellicap {

// The root paths of the mounted volumes that hold folders (QStorageInfo::mountedVolumes):
// what the windows hand their drive lists.
[[nodiscard]] QStringList mountedVolumeRoots();

// The volume roots that are folders (a file bind-mounted into a container is not), with the
// root of the file system, once each and sorted.
[[nodiscard]] QStringList offeredRoots(const QStringList& volumeRoots);

// The root among roots that holds folder (the longest that contains it), or else the root of
// the folder's own path: "/", or on Windows its drive ("D:/").
[[nodiscard]] QString volumeRootOf(const QString& folder, const QStringList& roots);

}  // namespace trellicap
