// Port selection: the operator picks Comport 1 to 4; Ok writes "udc.cfg" and reopens the
// link on that port, Cancel goes back to the port in use when the window opened. When
// "udc.cfg" names a device path (a USB adapter's link, the simulator's pty), that path is a
// fifth choice, preselected, so Ok keeps it instead of switching to Comport 1.
#pragma once

#include <QWidget>

#include "shell/port_config.h"
#include "shell/port_selection_host.h"

class QGridLayout;
class QLabel;
class QPushButton;
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
    // Enter presses "Ok" (the default button); Esc closes the window as its close box does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addComportOptions(QGridLayout& layout);
    void addDeviceOption(QGridLayout& layout);
    void preselect();
    void fitContents();
    void optionSelected(int number);
    void finish();

    PortSelectionHost& m_host;
    PortTarget m_atOpening;
    QRadioButton* m_options[4] = {};
    QRadioButton* m_device = nullptr;  // the device path of "udc.cfg"
    QLabel* m_deviceState = nullptr;   // why that path is not open
    QPushButton* m_ok = nullptr;
    bool m_finishing = false;
};

}  // namespace trellicap
