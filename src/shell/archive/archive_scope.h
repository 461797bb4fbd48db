// The archive window's scope: "This computer" (the folder's archive.sqlite) or "Team server"
// (the server archive.conf names). Choosing the server first connects on a worker thread
// (libpq blocks for up to its connect timeout); only a server that answered becomes the
// window's database, so the window never waits on a server that is not there.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include "archive/server_probe.h"

class QComboBox;
class QWidget;

namespace trellicap {

class ArchiveScope : public QObject {
    Q_OBJECT
public:
    // local: the window's connection to this computer's archive.
    ArchiveScope(const QString& workingFolder, QSqlDatabase local, QWidget* parent);
    ~ArchiveScope() override;

    [[nodiscard]] QComboBox* combo() const { return m_combo; }
    [[nodiscard]] QSqlDatabase database() const;
    [[nodiscard]] bool onServer() const;

signals:
    // The window searches this database from now on.
    void databaseChosen(const QSqlDatabase& db);
    // Connecting ("Connecting to office:5432 ...") or why the server cannot be used.
    void note(const QString& text);

private:
    void chosen(int index);
    void probed(const archive::ServerAnswer& answer);

    QString m_workingFolder;
    QSqlDatabase m_local;
    QString m_serverConnection;
    bool m_serverOpen = false;
    QComboBox* m_combo = nullptr;
    QFutureWatcher<archive::ServerAnswer> m_probe;
};

}  // namespace trellicap
