// "Archive" > "Team server...": the address of the office's PostgreSQL server for this
// working folder's archive, kept in archive.conf. "Test connection" connects on a worker
// thread (libpq blocks for up to its connect timeout) and shows what the server answered;
// the window stays usable meanwhile. Ok writes archive.conf (an empty address: no team
// server); an address the program cannot use keeps the window open and says why.
#pragma once

#include <QDialog>
#include <QFutureWatcher>

#include "archive/server_probe.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace trellicap::archive {

class frmteamserver : public QDialog {
    Q_OBJECT
public:
    frmteamserver(QString workingFolder, QWidget* parent);

    // The address written on Ok (empty: none).
    [[nodiscard]] QString serverUrl() const;

    void cmdtestconnection_Click();
    void accept() override;

private:
    void showAnswer(const ServerAnswer& answer);

    QString m_workingFolder;
    QLineEdit* m_url = nullptr;
    QLabel* m_answer = nullptr;
    QPushButton* m_test = nullptr;
    QFutureWatcher<ServerAnswer> m_probe;
};

}  // namespace trellicap::archive
