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
#else
    // Windows opens COM names as they are; nothing can be assigned over them.
    EXPECT_EQ(deviceForPort(QStringLiteral("COM3")), QStringLiteral("COM3"));
    EXPECT_EQ(deviceForPort(portNameFor(12)), QStringLiteral("\\\\.\\COM12"));
    EXPECT_EQ(
        portResolver([](int) { return QStringLiteral("/dev/ttyS0"); })(QStringLiteral("COM3")),
        QStringLiteral("COM3"));
#endif
}

TEST(PortList, UsbIdsFromWindowsHardwareIds) {
    int vendor = -1, product = -1;
    EXPECT_TRUE(
        usbIdsFromHardwareId(QStringLiteral("USB\\VID_0403&PID_6001&REV_0600"), vendor, product));
    EXPECT_EQ(vendor, 0x0403);
    EXPECT_EQ(product, 0x6001);
    EXPECT_TRUE(usbIdsFromHardwareId(QStringLiteral("FTDIBUS\\vid_067b&pid_2303+A1\\0000"), vendor,
                                     product));
    EXPECT_EQ(vendor, 0x067b);
    EXPECT_EQ(product, 0x2303);
    // A built-in port has no USB ids, and the values passed in stay as they were.
    vendor = product = -1;
    EXPECT_FALSE(usbIdsFromHardwareId(QStringLiteral("ACPI\\PNP0501"), vendor, product));
    EXPECT_FALSE(usbIdsFromHardwareId(QStringLiteral("USB\\VID_04&PID_6001"), vendor, product));
    EXPECT_EQ(vendor, -1);
    EXPECT_EQ(product, -1);
}

#ifdef Q_OS_WIN
TEST(PortList, WindowsPortsAreFoundByTheirComNames) {
    SystemPort com3;
    com3.device = QStringLiteral("\\\\.\\COM3");
    com3.name = QStringLiteral("COM3");
    EXPECT_EQ(comNumbersFor(com3, {}), QList<int>({3}));
    SystemPort com12;
    com12.device = QStringLiteral("\\\\.\\COM12");
    com12.name = QStringLiteral("COM12");
    EXPECT_EQ(comNumbersFor(com12, {}), QList<int>({12}));
}
#endif

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
