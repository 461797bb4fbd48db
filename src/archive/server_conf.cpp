#include "archive/server_conf.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace trellicap::archive {

namespace {

constexpr const char* kUrlKey = "server/url";

QString statusText(QSettings::Status status) {
    switch (status) {
        case QSettings::AccessError:
            return QStringLiteral("it cannot be read or written (access denied or no room)");
        case QSettings::FormatError:
            return QStringLiteral("it is not an INI file");
        case QSettings::NoError:
            break;
    }
    return {};
}

}  // namespace

QString serverConfPath(const QString& workingFolder) {
    return QDir(workingFolder).filePath(QString::fromLatin1(kServerConfFileName));
}

ServerConf readServerConf(const QString& workingFolder) {
    ServerConf conf;
    const QString path = serverConfPath(workingFolder);
    if (!QFileInfo::exists(path)) {
        return conf;
    }
    if (!QFileInfo(path).isReadable()) {
        conf.error = QStringLiteral("%1 cannot be read").arg(path);
        return conf;
    }
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        conf.error = QStringLiteral("%1: %2").arg(path, statusText(settings.status()));
        return conf;
    }
    conf.url = settings.value(QString::fromLatin1(kUrlKey)).toString().trimmed();
    return conf;
}

QString writeServerConf(const QString& workingFolder, const QString& url) {
    const QString path = serverConfPath(workingFolder);
    // QSettings would create a missing folder; the working folder is the program's, not ours.
    if (!QFileInfo(workingFolder).isDir()) {
        return QStringLiteral("%1 was not written: the folder does not exist").arg(path);
    }
    QSettings settings(path, QSettings::IniFormat);
    if (url.trimmed().isEmpty()) {
        settings.remove(QString::fromLatin1(kUrlKey));
    } else {
        settings.setValue(QString::fromLatin1(kUrlKey), url.trimmed());
    }
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        return QStringLiteral("%1 was not written: %2").arg(path, statusText(settings.status()));
    }
    return {};
}

}  // namespace trellicap::archive
