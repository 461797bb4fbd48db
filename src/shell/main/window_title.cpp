#include "shell/main/window_title.h"

#include <QFileInfo>

namespace trellicap {

QString windowTitleFor(const QString& caption, const QString& filePath, bool unsaved) {
    if (!filePath.isEmpty()) {
        return QStringLiteral("%1[*] \u2014 %2").arg(QFileInfo(filePath).fileName(), caption);
    }
    // Without a file the placeholder stands only while it is needed: the caption at rest
    // stays exactly the caption.
    return unsaved ? caption + QStringLiteral("[*]") : caption;
}

}  // namespace trellicap
