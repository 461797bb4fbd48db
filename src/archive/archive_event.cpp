#include "archive/archive_event.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace trellicap::archive {

QString sourceName(Source source) {
    switch (source) {
        case Source::Capture:
            return QStringLiteral("capture");
        case Source::Unsolicited:
            return QStringLiteral("unsolicited");
        case Source::File:
            return QStringLiteral("file");
        case Source::Restore:
            return QStringLiteral("restore");
        case Source::Edit:
            return QStringLiteral("edit");
    }
    return QStringLiteral("capture");
}

QStringList sourceNames() {
    QStringList names;
    for (Source source :
         {Source::Capture, Source::Unsolicited, Source::File, Source::Restore, Source::Edit}) {
        names.append(sourceName(source));
    }
    return names;
}

RecordFileFacts recordFileFacts(const QString& path) {
    RecordFileFacts facts;
    facts.path = QFileInfo(path).absoluteFilePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return facts;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        return facts;
    }
    facts.size = file.size();
    facts.hash = QString::fromLatin1(hash.result().toHex());
    return facts;
}

}  // namespace trellicap::archive
