// The window's side of adapters that come and go: the port selection lists the serial devices
// present beside the four Comports (a choice pins the adapter by its by-id link), and the
// status bar's texts for a watch, a reconnect and the rest of a cut batch.
#include <gtest/gtest.h>

#include <QLabel>
#include <QRadioButton>
#include <QTime>

#include "shell/main/reconnect_status.h"
#include "shell/port/frmoption.h"
#include "support/fake_serial_devices.h"

namespace trellicap {
namespace {

using testing::ftdiAdapter;

template <typename T>
T* child(QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

TEST(PortSelectionDevices, TheDevicesPresentAreListedBesideTheComportsAndAChoicePinsTheAdapter) {
    const SerialDeviceInfo pinned =
        ftdiAdapter(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("A6008isP"), "2");
    SerialDeviceInfo bare = ftdiAdapter(QStringLiteral("/dev/ttyACM0"), {}, "3");
    bare.description = QStringLiteral("USB Serial");
    bare.manufacturer.clear();
    QList<SerialDeviceInfo> present{pinned, bare};

    frmoption window(nullptr);
    window.setDeviceList([&present] { return present; });
    window.startFrom(PortTarget{2, {}}, {});
    window.show();
    for (int n = 1; n <= 4; ++n) {  // the four Comports stay as they are
        EXPECT_EQ(child<QRadioButton>(window, QStringLiteral("Option%1").arg(n))->text(),
                  QStringLiteral("Comport %1").arg(n));
    }
    EXPECT_TRUE(child<QRadioButton>(window, QStringLiteral("Option2"))->isChecked());
    EXPECT_EQ(child<QLabel>(window, QStringLiteral("lblpresent"))->text(),
              QStringLiteral("Serial devices present:"));
    auto* first = child<QRadioButton>(window, QStringLiteral("optserial1"));
    EXPECT_EQ(first->text(), pinned.byIdPath);
    EXPECT_EQ(child<QLabel>(window, QStringLiteral("lblserial1"))->text(),
              QStringLiteral("/dev/ttyUSB0: FT232R USB UART (FTDI), serial number A6008isP"));
    EXPECT_EQ(child<QRadioButton>(window, QStringLiteral("optserial2"))->text(),
              QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(child<QLabel>(window, QStringLiteral("lblserial2"))->text(),
              QStringLiteral("USB Serial, no serial number"));

    first->click();
    EXPECT_EQ(window.selectedTarget(), (PortTarget{0, pinned.byIdPath}));
    EXPECT_FALSE(child<QRadioButton>(window, QStringLiteral("Option2"))->isChecked());

    // The next opening lists what is there then; the port in use is not offered twice.
    present.removeLast();
    window.startFrom(PortTarget{0, pinned.byIdPath}, {});
    EXPECT_TRUE(child<QRadioButton>(window, QStringLiteral("optdevice"))->isChecked());
    EXPECT_EQ(window.findChild<QRadioButton*>(QStringLiteral("optserial1")), nullptr);
    EXPECT_EQ(window.findChild<QRadioButton*>(QStringLiteral("optserial2")), nullptr);
    EXPECT_EQ(child<QLabel>(window, QStringLiteral("lblpresent"))->text(),
              QStringLiteral("Serial devices present: only the one above."));
    present.clear();
    window.startFrom(PortTarget{1, {}}, {});
    EXPECT_EQ(child<QLabel>(window, QStringLiteral("lblpresent"))->text(),
              QStringLiteral("Serial devices present: none found."));
}

TEST(ReconnectTexts, TheOfferNamesTheRemainingSlotsAsRunsAndTheReconnectItsTime) {
    QList<int> tail;
    for (int column = 56; column < 200; ++column) {
        tail.append(column);
    }
    EXPECT_EQ(remainingSlotsText(tail), QStringLiteral("Capture the remaining slots 57\u2013200"));
    EXPECT_EQ(remainingSlotsText({56}), QStringLiteral("Capture the remaining slot 57"));
    EXPECT_EQ(remainingSlotsText({2, 56, 57, 58, 99}),
              QStringLiteral("Capture the remaining slots 3, 57\u201359, 100"));
    EXPECT_EQ(reconnectedText(QTime(14, 2, 59)), QStringLiteral("Reconnected 14:02"));
    EXPECT_EQ(reconnectedText(QTime(9, 5)), QStringLiteral("Reconnected 09:05"));
}

}  // namespace
}  // namespace trellicap
