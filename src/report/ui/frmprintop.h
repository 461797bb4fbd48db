// The print-options window: which reports to print. It only asks; the main window runs the
// print when printRequested arrives, before the window closes. Closing it by its frame
// prints nothing.
#pragma once

#include <QWidget>

#include "report/print_run.h"

class QRadioButton;
class QPushButton;

namespace trellicap {

class frmprintop : public QWidget {
    Q_OBJECT
public:
    explicit frmprintop(QWidget* parent = nullptr);

    [[nodiscard]] PrintOption option() const;

signals:
    void printRequested(trellicap::PrintOption option);

protected:
    // Every opening starts from "Currently Displayed Ascan Report".
    void showEvent(QShowEvent* event) override;
    // Enter presses "Print" (the default button); Esc closes the window, printing nothing.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cmdprint_Click();

    QRadioButton* m_opsingle = nullptr;
    QRadioButton* m_opselect = nullptr;
    QRadioButton* m_opall = nullptr;
    QPushButton* m_cmdprint = nullptr;
};

}  // namespace trellicap
