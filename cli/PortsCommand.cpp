#include <QStringList>

#include "AppContext.h"
#include "CliCommon.h"
#include "Commands.h"
#include "PortList.h"
#include "UserStore.h"

namespace cps::cli {

const char* const kPortsHelp =
    "Usage: cps ports\n"
    "\n"
    "Lists the serial ports the system has now, one a line, tab-separated: device, the\n"
    "COM numbers that open it, description, USB vendor:product id and serial number\n"
    "(\"-\" where there is none). Then the COM numbers assigned in the per-user settings\n"
    "(Ports/COMn) to a device the system does not list, such as radiosim's.\n";

int runPorts(const QStringList& args, const AppContext& context) {
    if (!args.isEmpty())
        return usageError("ports", QStringLiteral("unexpected argument '%1'").arg(args[0]));
    const PortResolver resolve = userPortResolver(context);
    auto orDash = [](const QString& s) { return s.isEmpty() ? QStringLiteral("-") : s; };
    const QList<SystemPort> ports = systemPorts();
    out() << "DEVICE\tCOM\tDESCRIPTION\tUSB ID\tSERIAL NUMBER\n";
    QList<int> listed;
    for (const SystemPort& p : ports) {
        QStringList coms;
        for (int n : comNumbersFor(p, resolve)) {
            coms << QStringLiteral("COM%1").arg(n);
            listed << n;
        }
        out() << p.device << '\t' << orDash(coms.join(QLatin1Char(','))) << '\t'
              << orDash(p.description) << '\t' << orDash(usbIds(p)) << '\t'
              << orDash(p.serialNumber) << '\n';
    }
    if (ports.isEmpty()) err() << "cps ports: the system lists no serial ports\n";
    const UserStore store(context.setupAppName());
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QString device = assignedDevice(store, n);
        if (!device.isEmpty() && !listed.contains(n))
            out() << device << "\tCOM" << n << "\t(assigned, not listed by the system)\t-\t-\n";
    }
    return kOk;
}

}  // namespace cps::cli
