#include "report/scratch_folder.h"

#include <QDir>
#include <QTemporaryFile>

namespace trellicap {

std::optional<QString> scratchFolderProblem(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("gtp-probe-XXXXXX")));
    if (!probe.open()) {
        return probe.errorString();
    }
    // Creating is not enough on a full medium: the bitmaps need room too.
    if (probe.write(QByteArray(4096, '\0')) != 4096 || !probe.flush()) {
        return probe.errorString();
    }
    return std::nullopt;
}

}  // namespace trellicap
