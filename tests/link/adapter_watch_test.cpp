// The adapter a port was opened on, found again after an unplug and no other: by serial
// number under whatever name it comes back, by its USB socket when it has no serial number,
// by the configured path (kept as written) when it has no USB identity at all; and the watch
// that looks for it once a second on a clock the test moves.
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "link/adapter_identity.h"
#include "link/adapter_watch.h"
#include "support/fake_serial_devices.h"
#include "support/manual_clock.h"
#include "support/pty.h"

namespace trellicap {
namespace {

using testing::FakeSerialDevices;
using testing::ftdiAdapter;
using testing::ManualClock;

const QString kUsb0 = QStringLiteral("/dev/ttyUSB0");
const QString kUsb1 = QStringLiteral("/dev/ttyUSB1");

TEST(AdapterIdentity, AnAdapterWithASerialNumberIsFoundUnderAnyNameAndNoOtherIsTaken) {
    FakeSerialDevices devices;
    const SerialDeviceInfo ours = ftdiAdapter(kUsb0, QStringLiteral("A6008isP"), "2");
    devices.plugIn(ours);
    const AdapterIdentity byName = identifyAdapter(kUsb0, devices);
    EXPECT_EQ(matchBy(byName), AdapterMatch::SerialNumber);
    EXPECT_EQ(byName.serialNumber, QStringLiteral("A6008isP"));
    EXPECT_EQ(byName.byIdPath, ours.byIdPath);
    const AdapterIdentity byId = identifyAdapter(ours.byIdPath, devices);
    EXPECT_EQ(byId.configuredPath, ours.byIdPath);  // as written, not the device it leads to

    devices.pullOut(kUsb0);
    EXPECT_EQ(locateAdapter(byName, devices), std::nullopt);
    // Another adapter of the same make takes ttyUSB0: it is not ours.
    devices.plugIn(ftdiAdapter(kUsb0, QStringLiteral("B7119jQ"), "3"));
    EXPECT_EQ(locateAdapter(byName, devices), std::nullopt);
    EXPECT_EQ(locateAdapter(byId, devices), std::nullopt);
    // Ours comes back as ttyUSB1: opened by that name, or by its by-id link as written.
    devices.plugIn(ftdiAdapter(kUsb1, QStringLiteral("A6008isP"), "2"));
    EXPECT_EQ(locateAdapter(byName, devices), kUsb1);
    EXPECT_EQ(locateAdapter(byId, devices), ours.byIdPath);
}

TEST(AdapterIdentity, AnAdapterWithoutSerialNumberIsKnownByItsUsbSocket) {
    FakeSerialDevices devices;
    devices.plugIn(ftdiAdapter(kUsb0, {}, "2"));
    const AdapterIdentity identity = identifyAdapter(kUsb0, devices);
    EXPECT_EQ(matchBy(identity), AdapterMatch::UsbPlace);

    devices.pullOut(kUsb0);
    // The same make in another socket is another adapter.
    devices.plugIn(ftdiAdapter(kUsb0, {}, "3"));
    EXPECT_EQ(locateAdapter(identity, devices), std::nullopt);
    // Another make in our socket is not ours either.
    devices.pullOut(kUsb0);
    SerialDeviceInfo other = ftdiAdapter(kUsb1, {}, "2");
    other.productId = 0x6015;
    devices.plugIn(other);
    EXPECT_EQ(locateAdapter(identity, devices), std::nullopt);
    // Ours back in its socket, under another name.
    devices.pullOut(kUsb1);
    devices.plugIn(ftdiAdapter(kUsb1, {}, "2"));
    EXPECT_EQ(locateAdapter(identity, devices), kUsb1);
}

TEST(AdapterIdentity, ADeviceWithoutUsbIdentityIsKnownByTheConfiguredPathAsWritten) {
    FakeSerialDevices devices;
    const QString link = QStringLiteral("/home/anna/ttyCORVANE");
    devices.setPath(link, QStringLiteral("/dev/pts/5"));
    const AdapterIdentity identity = identifyAdapter(link, devices);
    EXPECT_EQ(identity, pathIdentity(link));
    EXPECT_EQ(matchBy(identity), AdapterMatch::Path);

    devices.setPath(link, {});
    EXPECT_EQ(locateAdapter(identity, devices), std::nullopt);
    // A pty of the old name belongs to someone else now: the link alone says which is ours.
    devices.setPath(QStringLiteral("/dev/pts/5"), QStringLiteral("/dev/pts/5"));
    EXPECT_EQ(locateAdapter(identity, devices), std::nullopt);
    // Back under another name behind the same link: opened by the link.
    devices.setPath(link, QStringLiteral("/dev/pts/9"));
    EXPECT_EQ(locateAdapter(identity, devices), link);
    EXPECT_EQ(locateAdapter(AdapterIdentity{}, devices), std::nullopt);

    // Behind a link a pty can be found again; named directly, its name goes to the next pty.
    EXPECT_TRUE(canBeFoundAgain(identity));
    EXPECT_FALSE(canBeFoundAgain(identifyAdapter(QStringLiteral("/dev/pts/5"), devices)));
    EXPECT_FALSE(canBeFoundAgain(AdapterIdentity{}));
    devices.plugIn(ftdiAdapter(kUsb0, QStringLiteral("A6008isP"), "2"));
    EXPECT_TRUE(canBeFoundAgain(identifyAdapter(kUsb0, devices)));
}

#ifdef Q_OS_UNIX
TEST(SerialDevices, TheSystemsPathsAreFollowedToTheirDeviceAndADanglingLinkLeadsNowhere) {
    testing::Pty pty;
    TRELLICAP_SKIP_WITHOUT_PTY(pty);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyCORVANE"));
    ASSERT_TRUE(QFile::link(pty.slave(), link));
    const SystemSerialDevices devices(dir.filePath(QStringLiteral("serial")));
    EXPECT_EQ(devices.resolve(link), pty.slave());
    EXPECT_EQ(devices.resolve(pty.slave()), pty.slave());
    EXPECT_EQ(locateAdapter(identifyAdapter(link, devices), devices), link);
    // A pty is never listed (the system does not list /dev/pts/N).
    for (const SerialDeviceInfo& device : devices.presentDevices()) {
        EXPECT_NE(device.systemLocation, pty.slave());
    }
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), link));
    EXPECT_TRUE(devices.resolve(link).isEmpty());
    EXPECT_TRUE(devices.resolve(QString()).isEmpty());
}
#endif

class AdapterWatchTest : public ::testing::Test {
protected:
    ManualClock clock;
    FakeSerialDevices devices;
    AdapterWatch watch{clock, [this](const AdapterIdentity& identity) {
                           return locateAdapter(identity, devices);
                       }};
    QSignalSpy present{&watch, &AdapterWatch::adapterPresent};
    QSignalSpy absent{&watch, &AdapterWatch::adapterAbsent};
};

TEST_F(AdapterWatchTest, LooksOnceASecondAndSaysWhereTheAdapterIsUntilStopped) {
    devices.plugIn(ftdiAdapter(kUsb0, QStringLiteral("A6008isP"), "2"));
    const AdapterIdentity identity = identifyAdapter(kUsb0, devices);
    devices.pullOut(kUsb0);
    const int listingsBefore = devices.listings();

    watch.start(identity);
    clock.advance(999);
    EXPECT_EQ(watch.looks(), 0);
    clock.advance(1);
    EXPECT_EQ(watch.looks(), 1);
    clock.advance(9000);
    EXPECT_EQ(watch.looks(), 10);  // no more often while it waits
    EXPECT_EQ(absent.size(), 10);
    // While its by-id link is missing the adapter is away: the devices are not even listed.
    EXPECT_EQ(devices.listings(), listingsBefore);

    // Back as ttyUSB1; not opened yet (its rights come later): it is said again a second on.
    devices.plugIn(ftdiAdapter(kUsb1, QStringLiteral("A6008isP"), "2"));
    clock.advance(1000);
    ASSERT_EQ(present.size(), 1);
    EXPECT_EQ(present.at(0).at(0).toString(), kUsb1);
    clock.advance(1000);
    EXPECT_EQ(present.size(), 2);

    watch.stop();
    clock.advance(5000);
    EXPECT_EQ(present.size(), 2);
    EXPECT_EQ(watch.looks(), 12);
    EXPECT_FALSE(watch.watching());
}

TEST_F(AdapterWatchTest, WithoutAByIdLinkEveryLookListsTheDevicesAndSlowLooksComeLessOften) {
    devices.plugIn(ftdiAdapter(kUsb0, QStringLiteral("A6008isP"), "2"));
    AdapterIdentity identity = identifyAdapter(kUsb0, devices);
    identity.byIdPath.clear();  // a system without udev's links
    devices.pullOut(kUsb0);
    const int listingsBefore = devices.listings();
    watch.start(identity);
    clock.advance(3000);
    EXPECT_EQ(devices.listings() - listingsBefore, 3);

    // A listing that takes 25 ms: the next look comes 2.5 s later, so waiting stays at 1 %.
    AdapterWatch slow(clock, [this](const AdapterIdentity& id) {
        clock.advance(25);
        return locateAdapter(id, devices);
    });
    slow.start(identity);
    clock.advance(1000);
    EXPECT_EQ(slow.looks(), 1);
    clock.advance(2499);
    EXPECT_EQ(slow.looks(), 1);
    clock.advance(30);
    EXPECT_EQ(slow.looks(), 2);
}

}  // namespace
}  // namespace trellicap
