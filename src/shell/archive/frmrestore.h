// The notice after a start that follows a crash: how many records the last run captured
// and did not save, with "Restore" and "Not now". It never stands in the way: modeless,
// and the window works behind it.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace trellicap {

class frmrestore : public QDialog {
    Q_OBJECT
public:
    frmrestore(const QString& text, QWidget* parent);

    [[nodiscard]] QPushButton* restoreButton() const { return m_cmdrestore; }
    [[nodiscard]] QPushButton* notNowButton() const { return m_cmdnotnow; }
    [[nodiscard]] QString text() const;

signals:
    void restoreRequested();

private:
    QLabel* m_lblrestore;
    QPushButton* m_cmdrestore;
    QPushButton* m_cmdnotnow;
};

}  // namespace trellicap
