#include "shell/port/port_config.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace trellicap;

TEST(PortConfig, FirstItemIsAPortNumberOrADevicePath) {
    EXPECT_EQ(parsePortConfig("2\r\n"), (PortTarget{2, {}}));
    EXPECT_EQ(parsePortConfig("7"), (PortTarget{7, {}}));
    EXPECT_EQ(parsePortConfig(" 3,9\r\n"), (PortTarget{3, {}}));
    EXPECT_EQ(parsePortConfig("/dev/pts/4\r\n"), (PortTarget{0, QStringLiteral("/dev/pts/4")}));
    EXPECT_EQ(parsePortConfig("COM12"), (PortTarget{0, QStringLiteral("COM12")}));
    for (const char* bad : {"", "\r\n", "abc", "40000", "2x", "COMX"}) {
        EXPECT_FALSE(parsePortConfig(bad).has_value()) << bad;
    }
}

TEST(PortConfig, WritesTheNumberAndCrLfWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("udc.cfg"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("12345678\r\n");
    }
    EXPECT_FALSE(writePortConfig(path, 2).has_value());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("2\r\n"));
    EXPECT_EQ(readPortConfig(path), (PortTarget{2, {}}));
    EXPECT_FALSE(readPortConfig(dir.filePath(QStringLiteral("missing.cfg"))).has_value());
}

TEST(PortConfig, AnUnwritableFileReportsTheReason) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A path below a regular file cannot be created, whoever runs the test.
    const auto error = writePortConfig(dir.filePath(QStringLiteral("file/udc.cfg")), 1);
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->isEmpty());
}

TEST(PortConfig, ComportNamesFollowThePlatform) {
    EXPECT_TRUE(deviceForPort(0).isEmpty());
#ifdef Q_OS_WIN
    EXPECT_EQ(deviceForPort(3), QStringLiteral("COM3"));
#else
    const QString device = deviceForPort(1);
    EXPECT_TRUE(device == QStringLiteral("/dev/ttyUSB0") || device == QStringLiteral("/dev/ttyS0"))
        << device.toStdString();
    EXPECT_EQ(deviceFor(PortTarget{0, QStringLiteral("/dev/pts/9")}), QStringLiteral("/dev/pts/9"));
#endif
}
