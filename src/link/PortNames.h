#pragma once

#include <QString>

namespace cps {

class UserStore;

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;

// "COM3" below 10, "\\.\COM12" from 10: the form the system needs for two-digit ports.
QString portNameFor(int number);

// The number after the letter M of a port name ("%*[^M]M%d"); 0 when there is none.
int portNumberFromName(const QString& name);

// The per-user "COM" value: the port number in its low byte, COM1 when absent.
int loadPortNumber(const UserStore& store);
void storePortNumber(UserStore& store, int number);

// Where a port name leads on this system. Windows opens COM names as they are. Elsewhere
// COMn maps to the per-user value "Ports/COMn" if set, else to /dev/ttyUSB(n-1), the usual
// programming cable; a device path is used as it stands.
QString deviceForPort(const QString& name, const UserStore& store);
QString deviceForPort(const QString& name);  // with the application's per-user store

}  // namespace cps
