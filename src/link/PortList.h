#pragma once

#include <QList>
#include <QString>

#include "PortNames.h"

namespace cps {

// One serial port the system reports.
struct SystemPort {
    QString device;  // what to open: /dev/ttyUSB0, \\.\COM3
    QString name;    // the system's short name: ttyUSB0, COM3
    QString description;
    QString manufacturer;
    int vendorId = -1;  // USB ids, -1 when the port is not on USB
    int productId = -1;
    QString serialNumber;
};

// The ports the system has now; asked again at every call, so a cable plugged in since the
// last one shows up.
QList<SystemPort> systemPorts();

// The COM numbers (1 to 16) that lead to port through resolve; several may.
QList<int> comNumbersFor(const SystemPort& port, const PortResolver& resolve);

// "description (vvvv:pppp)", or the device when the system gives no description.
QString describePort(const SystemPort& port);
// The USB ids in a Windows hardware id such as "USB\VID_0403&PID_6001"; false when it
// names none.
bool usbIdsFromHardwareId(const QString& id, int& vendorId, int& productId);

// "vvvv:pppp", empty when the port is not on USB.
QString usbIds(const SystemPort& port);

// Whether a COM number can be pointed at another device (no COM names on this system).
constexpr bool kPortsAssignable =
#ifdef Q_OS_WIN
    false;
#else
    true;
#endif

}  // namespace cps
