// Port selection: the operator picks Comport 1 to 4; Ok writes "udc.cfg" and reopens the
// link on that port, Cancel goes back to the port in use when the window opened.
#pragma once

#include <QWidget>

#include "shell/port_config.h"
#include "shell/port_selection_host.h"

class QRadioButton;

namespace trellicap {

class frmoption : public QWidget {
    Q_OBJECT
public:
    frmoption(PortSelectionHost& host, QWidget* parent);
    // Remembers the port at opening, preselects its option and brings the window forward.
    void showAndRaise();

    void cmdok_Click();
    void cmdcancel_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void optionSelected(int number);
    void finish();

    PortSelectionHost& m_host;
    PortTarget m_atOpening;
    QRadioButton* m_options[4] = {};
    bool m_finishing = false;
};

}  // namespace trellicap
