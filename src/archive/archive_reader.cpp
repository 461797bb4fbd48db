#include "archive/archive_reader.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace trellicap::archive {

ArchiveReader::ArchiveReader(const QString& path)
    : m_connection(QStringLiteral("QSQLITE"), QStringLiteral("trellicap-archive-reader")) {
    if (!QFileInfo::exists(path)) {
        m_problem = QStringLiteral("There is no archive at %1.").arg(path);
        return;
    }
    if (!openSqliteReadOnly(m_connection, path)) {
        m_problem = QStringLiteral("The archive %1 cannot be read: %2")
                        .arg(path, m_connection.db().lastError().text());
        return;
    }
    // SQLite opens any file; the first read tells whether it is an archive.
    QSqlQuery probe(m_connection.db());
    if (!probe.exec(QStringLiteral("SELECT 1 FROM record_versions LIMIT 1"))) {
        m_problem =
            QStringLiteral("The archive %1 cannot be read: %2").arg(path, probe.lastError().text());
    }
}

}  // namespace trellicap::archive
