// A Qt Sql connection under a name of its own, from its making to its removal: Qt keeps
// connections in a process-wide list by name, and a name left behind (or removed while a
// handle to it still lives) is a warning at best and a dangling driver at worst. Each owner
// of a connection (the keeper's file, the sync's two ends, the window's reader, the query
// worker) holds one of these; the connection belongs to the thread that made it.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace trellicap::archive {

class DbConnection {
public:
    // driver: "QSQLITE" or "QPSQL"; purpose: the first part of the connection's name, so
    // that a warning about it says whose it is ("trellicap-sync-local-...").
    DbConnection(const QString& driver, const QString& purpose);
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // False when Qt has no such driver (a Debian package missing).
    [[nodiscard]] bool isValid() const { return m_db.isValid(); }
    [[nodiscard]] QSqlDatabase& db() { return m_db; }
    [[nodiscard]] const QSqlDatabase& db() const { return m_db; }
    [[nodiscard]] const QString& name() const { return m_name; }
    // Closes it; the name stays until the object goes, so it can be opened again.
    void close();

private:
    QString m_name;
    QSqlDatabase m_db;
};

// Opens `path` for reading only, with a short wait for a writer's lock: the window and the
// command line read an archive the window program writes at the same time (WAL).
[[nodiscard]] bool openSqliteReadOnly(DbConnection& connection, const QString& path);

}  // namespace trellicap::archive
