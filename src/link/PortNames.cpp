#include "PortNames.h"

#include "AppContext.h"
#include "UserStore.h"

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

int loadPortNumber(const UserStore& store) {
    return static_cast<int>(store.number(QStringLiteral("COM"), 1) & 0xFF);
}

void storePortNumber(UserStore& store, int number) {
    store.setNumber(QStringLiteral("COM"), static_cast<uint32_t>(number));
    store.sync();
}

QString deviceForPort(const QString& name, const UserStore& store) {
#ifdef Q_OS_WIN
    Q_UNUSED(store);
    return name;
#else
    if (name.startsWith(QLatin1Char('/'))) return name;
    const int n = portNumberFromName(name);
    if (n <= 0 || !name.contains(QLatin1String("COM"))) return name;
    const QString mapped = store.text(QStringLiteral("Ports/COM%1").arg(n));
    if (!mapped.isEmpty()) return mapped;
    return QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
#endif
}

QString deviceForPort(const QString& name) { return deviceForPort(name, app().userStore()); }

}  // namespace cps
