// The Win32 port against the system: a port that is not there, the port listing, and (when
// the test script links one to the simulated radio) a real port's exclusive open.
#include <gtest/gtest.h>
#include <windows.h>

#include <QtGlobal>

#include "PortList.h"
#include "SerialPort.h"

using namespace cps;

namespace {
// Wine lets a serial device be opened twice; Windows' serial drivers refuse the second open.
bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
}  // namespace

TEST(SerialPortWin, MissingPortFailsWithAPlainMessage) {
    SerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("\\\\.\\COM99")));
    EXPECT_EQ(port.errorText(), QStringLiteral("There is no such port on this computer"));
    EXPECT_EQ(port.openFailure(), OpenFailure::Missing);
    // Nothing is open, so nothing is sent or received and close is harmless.
    const uint8_t byte = 0x02;
    EXPECT_EQ(port.write(&byte, 1), 0);
    EXPECT_EQ(port.readByte(), -1);
    port.close();
    EXPECT_FALSE(SerialPort::canOpen(QStringLiteral("COM99")));
}

TEST(SerialPortWin, ListsPortsByNumberWithDevicePaths) {
    const QList<SystemPort> ports = systemPorts();
    int last = 0;
    for (const SystemPort& p : ports) {
        const int n = portNumberFromName(p.name);
        EXPECT_GT(n, last) << qPrintable(p.name);
        last = n;
        EXPECT_EQ(p.device, QStringLiteral("\\\\.\\") + p.name);
    }
}

// CPS_TEST_COM names a port that leads to the simulated radio (scripts/windows/test).
TEST(SerialPortWin, RealPortIsExclusiveAndFreeAgainAfterClose) {
    const QString name = qEnvironmentVariable("CPS_TEST_COM");
    if (name.isEmpty()) GTEST_SKIP() << "CPS_TEST_COM names no port";
    SerialPort first;
    ASSERT_TRUE(first.open(name)) << qPrintable(first.errorText());
    first.configure(kTransferTimeouts);
    first.purge(Purge::Full);
    SerialPort second;
    if (!underWine()) {
        EXPECT_FALSE(second.open(name));
        EXPECT_EQ(second.errorText(), QStringLiteral("The port is in use by another program"));
        EXPECT_EQ(second.openFailure(), OpenFailure::Busy);
    }
    first.close();
    EXPECT_TRUE(second.open(name)) << qPrintable(second.errorText());
    EXPECT_EQ(second.openFailure(), OpenFailure::None);
    // Nothing was asked, so nothing comes: the read times out empty.
    second.configure(kServiceTimeouts);
    EXPECT_EQ(second.readByte(), -1);
}
