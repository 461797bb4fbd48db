#include "storage/full_path.h"

#include <QDir>

namespace trellicap {

QString joinFolderAndName(const QString& folder, const QString& name) {
    const QString nativeFolder = QDir::toNativeSeparators(folder);
    if (nativeFolder.endsWith(QDir::separator())) {
        return nativeFolder + name;
    }
    return nativeFolder + QDir::separator() + name;
}

}  // namespace trellicap
