#include "storage/ui/file_list.h"

#include <QDir>

namespace trellicap {

FileList::FileList(QWidget* parent) : QListWidget(parent) {}

void FileList::setFolder(const QString& folder) {
    m_folder = folder;
    refresh();
}

void FileList::setPattern(const QString& pattern) {
    m_pattern = pattern;
    refresh();
}

void FileList::refresh() {
    clear();
    if (m_folder.isEmpty()) {
        return;
    }
    QStringList filters;
    for (const QString& part : m_pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        // "*.*" means every file; taken literally it would skip names without a dot.
        const QString filter = part.trimmed();
        filters.append(filter == QLatin1String("*.*") ? QStringLiteral("*") : filter);
    }
    if (filters.isEmpty()) {
        return;
    }
    // Name filters ignore case, so "*.dat" also lists TEMP.DAT written on another system.
    addItems(QDir(m_folder).entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

}  // namespace trellicap
