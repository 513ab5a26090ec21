#include <gtest/gtest.h>

#include <QHash>

#include "PortNames.h"

using namespace cps;

TEST(PortNames, NamingRuleAndNumberScan) {
    EXPECT_EQ(portNameFor(1), QStringLiteral("COM1"));
    EXPECT_EQ(portNameFor(9), QStringLiteral("COM9"));
    EXPECT_EQ(portNameFor(10), QStringLiteral("\\\\.\\COM10"));
    EXPECT_EQ(portNameFor(12), QStringLiteral("\\\\.\\COM12"));
    for (int n = kFirstPort; n <= kLastPort; ++n) EXPECT_EQ(portNumberFromName(portNameFor(n)), n);
    EXPECT_EQ(portNumberFromName(QStringLiteral("/dev/ttyUSB0")), 0);
}

TEST(PortNames, DeviceMapping) {
#ifndef Q_OS_WIN
    EXPECT_EQ(deviceForPort(QStringLiteral("COM1")), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(deviceForPort(portNameFor(12)), QStringLiteral("/dev/ttyUSB11"));
    // The caller's assignments win; unassigned numbers keep the usual cable.
    const QHash<int, QString> assigned{{3, QStringLiteral("/dev/ttyACM0")}};
    const PortResolver resolve = portResolver([&](int n) { return assigned.value(n); });
    EXPECT_EQ(resolve(QStringLiteral("COM3")), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(resolve(QStringLiteral("COM4")), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(resolve(QStringLiteral("/dev/pts/7")), QStringLiteral("/dev/pts/7"));
#endif
}
