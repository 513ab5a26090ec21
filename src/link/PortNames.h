#pragma once

#include <QString>
#include <functional>

namespace cps {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;

// "COM3" below 10, "\\.\COM12" from 10: the form the system needs for two-digit ports.
QString portNameFor(int number);

// The number after the letter M of a port name ("%*[^M]M%d"); 0 when there is none.
int portNumberFromName(const QString& name);

// The device the user assigned to COMn, empty when none (the caller's per-user values).
using DeviceMap = std::function<QString(int portNumber)>;
// Turns a port name into the device to open.
using PortResolver = std::function<QString(const QString& portName)>;

// Where a port name leads on this system. Windows opens COM names as they are. Elsewhere
// COMn leads to mapped(n) when that is set, else to /dev/ttyUSB(n-1), the usual programming
// cable; a device path is used as it stands.
QString deviceForPort(const QString& name, const DeviceMap& mapped = {});
PortResolver portResolver(DeviceMap mapped);

}  // namespace cps
