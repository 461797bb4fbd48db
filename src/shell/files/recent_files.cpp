#include "shell/files/recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace trellicap {

namespace {

const QString kKey = QStringLiteral("recentFiles");

QSettings settingsOf(const QString& program) {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Trellicap"),
                     program);
}

QString canonical(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

QStringList withRecentFile(QStringList list, const QString& path, int limit) {
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > limit) {
        list.removeLast();
    }
    return list;
}

RecentFiles::RecentFiles(QString program) : m_program(std::move(program)) {}

QStringList RecentFiles::files() const {
    QStringList list = settingsOf(m_program).value(kKey).toStringList();
    while (list.size() > kRecentFileCount) {
        list.removeLast();
    }
    return list;
}

void RecentFiles::add(const QString& path) {
    const QStringList list = withRecentFile(files(), canonical(path));
    settingsOf(m_program).setValue(kKey, list);
}

void RecentFiles::remove(const QString& path) {
    QStringList list = files();
    list.removeAll(canonical(path));
    settingsOf(m_program).setValue(kKey, list);
}

}  // namespace trellicap
