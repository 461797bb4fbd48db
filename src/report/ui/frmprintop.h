// The print-options window: which reports to print. It only asks; the main window runs the
// print when printRequested arrives, before the window closes. "Print" or Enter asks; closing
// it by its frame or Esc prints nothing.
#pragma once

#include <QDialog>

#include "report/print_run.h"

class QRadioButton;
class QPushButton;

namespace trellicap {

class frmprintop : public QDialog {
    Q_OBJECT
public:
    explicit frmprintop(QWidget* parent = nullptr);

    [[nodiscard]] PrintOption option() const;

    // "Print": asks for the chosen reports, then closes.
    void accept() override;

signals:
    void printRequested(trellicap::PrintOption option);

protected:
    // Every opening starts from "Currently Displayed Ascan Report".
    void showEvent(QShowEvent* event) override;

private:
    QRadioButton* m_opsingle = nullptr;
    QRadioButton* m_opselect = nullptr;
    QRadioButton* m_opall = nullptr;
    QPushButton* m_cmdprint = nullptr;
};

}  // namespace trellicap
