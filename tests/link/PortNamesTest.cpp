#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "PortNames.h"
#include "UserStore.h"

using namespace cps;

TEST(PortNames, NamingRuleAndNumberScan) {
    EXPECT_EQ(portNameFor(1), QStringLiteral("COM1"));
    EXPECT_EQ(portNameFor(9), QStringLiteral("COM9"));
    EXPECT_EQ(portNameFor(10), QStringLiteral("\\\\.\\COM10"));
    EXPECT_EQ(portNameFor(12), QStringLiteral("\\\\.\\COM12"));
    for (int n = kFirstPort; n <= kLastPort; ++n) EXPECT_EQ(portNumberFromName(portNameFor(n)), n);
    EXPECT_EQ(portNumberFromName(QStringLiteral("/dev/ttyUSB0")), 0);
}

TEST(PortNames, PerUserNumberAndDeviceMapping) {
    QTemporaryDir dir;
    UserStore store = UserStore::atFile(dir.filePath("user.ini"));
    EXPECT_EQ(loadPortNumber(store), 1);
    store.setNumber(QStringLiteral("com"), 0x10C);  // only the low byte counts
    EXPECT_EQ(loadPortNumber(store), 12);
    storePortNumber(store, 5);
    EXPECT_EQ(loadPortNumber(store), 5);
#ifndef Q_OS_WIN
    EXPECT_EQ(deviceForPort(QStringLiteral("COM1"), store), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(deviceForPort(portNameFor(12), store), QStringLiteral("/dev/ttyUSB11"));
    store.setText(QStringLiteral("Ports/COM3"), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(deviceForPort(QStringLiteral("COM3"), store), QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(deviceForPort(QStringLiteral("/dev/pts/7"), store), QStringLiteral("/dev/pts/7"));
#endif
}
