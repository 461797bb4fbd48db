// The archive window's scope: "This computer" (the folder's archive.sqlite) or "Team server"
// (the server archive.conf names). The scope only says which; the archive's query worker
// connects, off the window's thread and within its deadline. When the team server fails to
// answer, the window falls back to this computer and the scope says so in one line (the
// server's own words on the pointer); choosing the team server again tries afresh.
#pragma once

#include <QObject>
#include <QString>

#include "archive/server_address.h"

class QComboBox;
class QLabel;
class QWidget;

namespace trellicap {

class ArchiveScope : public QObject {
    Q_OBJECT
public:
    ArchiveScope(const QString& workingFolder, QWidget* parent);

    [[nodiscard]] QComboBox* combo() const { return m_combo; }
    // The line beside the scope: why the window shows this computer after all.
    [[nodiscard]] QLabel* note() const { return m_note; }
    [[nodiscard]] bool onServer() const;
    // Back to "This computer" because the team server failed with `reason`.
    void fallBack(const QString& reason);

signals:
    void localChosen();
    void serverChosen(const trellicap::archive::ServerAddress& address);

private:
    void chosen(int index);

    QString m_workingFolder;
    QComboBox* m_combo = nullptr;
    QLabel* m_note = nullptr;
};

}  // namespace trellicap
