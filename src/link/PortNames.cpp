#include "PortNames.h"

namespace cps {

QString portNameFor(int number) {
    return number < 10 ? QStringLiteral("COM%1").arg(number)
                       : QStringLiteral("\\\\.\\COM%1").arg(number);
}

int portNumberFromName(const QString& name) {
    const int m = name.indexOf(QLatin1Char('M'));
    if (m < 0) return 0;
    int i = m + 1;
    while (i < name.size() && name.at(i).isSpace()) ++i;  // %d skips white space
    int value = 0;
    bool any = false;
    for (; i < name.size() && name.at(i).isDigit() && value < 100000; ++i) {
        value = value * 10 + name.at(i).digitValue();
        any = true;
    }
    return any ? value : 0;
}

QString deviceForPort(const QString& name, const DeviceMap& mapped) {
#ifdef Q_OS_WIN
    Q_UNUSED(mapped);
    return name;
#else
    if (name.startsWith(QLatin1Char('/'))) return name;
    const int n = portNumberFromName(name);
    if (n <= 0 || !name.contains(QLatin1String("COM"))) return name;
    if (mapped) {
        const QString device = mapped(n);
        if (!device.isEmpty()) return device;
    }
    return QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
#endif
}

PortResolver portResolver(DeviceMap mapped) {
    return
        [mapped = std::move(mapped)](const QString& name) { return deviceForPort(name, mapped); };
}

}  // namespace cps
