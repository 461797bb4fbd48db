#include "storage/ui/start_folder.h"

#include <QDir>

#include "storage/ui/folder_list.h"

namespace trellicap {

void showStartFolder(FolderList& folders, const QString& remembered) {
    const QString candidates[] = {remembered.isEmpty() ? QDir::currentPath() : remembered,
                                  QDir::currentPath(), QDir::homePath(), QDir::rootPath()};
    for (const QString& folder : candidates) {
        if (folders.setPath(folder)) {
            return;
        }
    }
}

}  // namespace trellicap
