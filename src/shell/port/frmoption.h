// Port selection: the operator picks Comport 1 to 4; Ok keeps the choice in "udc.cfg" and
// reopens the link on that port, Cancel goes back to the port in use when the window opened.
// When "udc.cfg" names a device path (a USB adapter's link, the simulator's pty), that path is
// a fifth choice, preselected, so Ok keeps it instead of switching to Comport 1. Below them,
// the serial devices present at each opening, with description and serial number: choosing
// one keeps its /dev/serial/by-id path where it has one, which pins that very adapter.
//
// The window holds no port: it hands each choice to its owner and asks the owner to try a
// port on Ok and on Cancel; it closes only once that port is open, so a failed try leaves it
// standing for another choice.
#pragma once

#include <QDialog>
#include <QList>
#include <functional>

#include "link/serial_devices.h"
#include "shell/port/port_config.h"

class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;

namespace trellicap {

class frmoption : public QDialog {
    Q_OBJECT
public:
    explicit frmoption(QWidget* parent);

    // Opens a port for the window: true once it is open; false keeps the window open (the
    // owner has told the operator why, where there is something to tell).
    using PortTry = std::function<bool(const PortTarget& target)>;
    // Ok: the chosen port is kept and opened.
    void setChosenPortTry(PortTry tryPort) { m_tryChosen = std::move(tryPort); }
    // Cancel: the port in use when the window opened is opened again.
    void setRestoreTry(PortTry tryPort) { m_tryRestore = std::move(tryPort); }

    // The serial devices present, asked at every opening; the system's by default.
    using DeviceList = std::function<QList<SerialDeviceInfo>()>;
    void setDeviceList(DeviceList list) { m_deviceList = std::move(list); }

    // Every opening: the port in use and why it is not open (empty while it is), whose
    // option is preselected.
    void startFrom(const PortTarget& inUse, const QString& openFailure);
    [[nodiscard]] PortTarget selectedTarget() const { return m_selected; }

    void cmdok_Click();
    void cmdcancel_Click();
    // The close box and Esc: the port in use did not change.
    void reject() override;

signals:
    // The operator's choice as it changes (and the port in use again when the window closes
    // without one): the owner's port target follows it.
    void targetSelected(const trellicap::PortTarget& target);
    // The selection is done and this port is open.
    void portSelected(const trellicap::PortTarget& target);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addComportOptions(QGridLayout& layout);
    void addDeviceOption(QGridLayout& layout);
    void addPresentDevices(QGridLayout& layout);
    void listPresentDevices();
    void preselect(const QString& openFailure);
    void fitContents();
    // Checks the option of `target`, which counts as its selection even when already checked.
    void check(QRadioButton& option, const PortTarget& target);
    void select(const PortTarget& target);
    void finish(const PortTarget& opened);

    PortTarget m_atOpening;
    PortTarget m_selected;
    PortTry m_tryChosen;
    PortTry m_tryRestore;
    QRadioButton* m_options[4] = {};
    QRadioButton* m_device = nullptr;  // the device path of "udc.cfg"
    QLabel* m_deviceState = nullptr;   // why that path is not open
    DeviceList m_deviceList;
    QLabel* m_presentTitle = nullptr;
    QGridLayout* m_present = nullptr;  // a row per device present: its option and description
    QList<QWidget*> m_presentRows;
    QPushButton* m_ok = nullptr;
};

}  // namespace trellicap
