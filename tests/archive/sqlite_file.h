// A real SQLite file in a temporary folder, opened under a connection name of its own and
// removed with the folder.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QUuid>

namespace trellicap::archive::test {

class SqliteFile {
public:
    SqliteFile() : m_name(QUuid::createUuid().toString()) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(path());
        m_db.open();
    }
    ~SqliteFile() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    [[nodiscard]] QSqlDatabase& db() { return m_db; }
    [[nodiscard]] QString path() const { return m_dir.filePath(QStringLiteral("archive.sqlite")); }
    [[nodiscard]] QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_name;
    QSqlDatabase m_db;
};

}  // namespace trellicap::archive::test
