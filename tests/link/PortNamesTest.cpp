#include <gtest/gtest.h>

#include <QHash>

#include "PortList.h"
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

#ifndef Q_OS_WIN
TEST(PortList, ComNumbersFollowAssignmentsAndTheDefaultCable) {
    SystemPort usb1;
    usb1.device = QStringLiteral("/dev/ttyUSB1");
    usb1.name = QStringLiteral("ttyUSB1");
    // COM2 is ttyUSB1 by default; COM7 is assigned to it as well; COM2 assigned elsewhere
    // no longer leads there.
    EXPECT_EQ(comNumbersFor(usb1, portResolver({})), QList<int>({2}));
    EXPECT_EQ(comNumbersFor(usb1, portResolver([](int n) {
                                return n == 7 ? QStringLiteral("/dev/ttyUSB1") : QString();
                            })),
              QList<int>({2, 7}));
    EXPECT_TRUE(comNumbersFor(usb1, portResolver([](int n) {
                                  return n == 2 ? QStringLiteral("/dev/ttyACM0") : QString();
                              }))
                    .isEmpty());
    EXPECT_EQ(usbIds(usb1), QString());
    EXPECT_EQ(describePort(usb1), QStringLiteral("/dev/ttyUSB1"));
    usb1.vendorId = 0x0403;
    usb1.productId = 0x6001;
    usb1.description = QStringLiteral("FT232R");
    EXPECT_EQ(describePort(usb1), QStringLiteral("FT232R (0403:6001)"));
}
#endif
