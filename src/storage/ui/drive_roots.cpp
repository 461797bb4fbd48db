#include "storage/ui/drive_roots.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace trellicap {

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

// "/media/stick" holds "/media/stick/data" but not "/media/sticky".
bool holds(const QString& root, const QString& folder) {
    if (folder.compare(root, kPathCase) == 0) {
        return true;
    }
    return folder.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'),
                             kPathCase);
}

QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString pathRoot(const QString& folder) {
    QDir dir(folder);
    while (!dir.isRoot() && dir.cdUp()) {
    }
    return dir.isRoot() ? dir.absolutePath() : QDir::rootPath();
}

}  // namespace

QStringList mountedVolumeRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // A drive that is not ready (an empty card reader) cannot be browsed.
        if (volume.isValid() && volume.isReady()) {
            roots.append(volume.rootPath());
        }
    }
    return roots;
}

QStringList offeredRoots(const QStringList& volumeRoots) {
    QStringList roots{QDir::rootPath()};
    for (const QString& root : volumeRoots) {
        if (QFileInfo(root).isDir()) {
            roots.append(cleanAbsolute(root));
        }
    }
    roots.removeDuplicates();
    roots.sort();
    return roots;
}

QString volumeRootOf(const QString& folder, const QStringList& roots) {
    const QString path = cleanAbsolute(folder);
    QString best;
    for (const QString& root : roots) {
        if (root.size() > best.size() && holds(root, path)) {
            best = root;
        }
    }
    return best.isEmpty() ? pathRoot(path) : best;
}

}  // namespace trellicap
