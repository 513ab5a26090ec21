#include <QStringList>

#include "CliCommon.h"
#include "Commands.h"
#include "JsonText.h"
#include "PortList.h"
#include "Settings.h"
#include "TerminalText.h"
#include "UserStore.h"

namespace cps::cli {

const char* const kPortsHelp =
    "Usage: cps ports [--json]\n"
    "\n"
    "Lists the serial ports the system has now, one a line, tab-separated: device, the\n"
    "COM numbers that open it, description, USB vendor:product id and serial number\n"
    "(\"-\" where there is none). Then the COM numbers assigned in the per-user settings\n"
    "(Ports/COMn) to a device the system does not list, such as radiosim's.\n"
    "--json prints one array of objects: \"device\", \"com\" (a list), \"description\",\n"
    "\"usbId\", \"serialNumber\" (null where there is none) and \"listed\" (false for an\n"
    "assigned device the system does not list).\n";

const char* const kPortsHelpZh =
    "用法：cps ports [--json]\n"
    "\n"
    "列出系统当前的串口，每行一个，以制表符分隔：设备、打开它的 COM 号、描述、USB 厂商:产品\n"
    "编号和序列号（没有时为 \"-\"）。然后列出每用户设置（Ports/COMn）中指定给系统未列出的设备\n"
    "（如 radiosim 的设备）的 COM 号。\n"
    "--json 打印一个对象数组：\"device\"、\"com\"（列表）、\"description\"、\"usbId\"、\n"
    "\"serialNumber\"（没有时为 null）和 \"listed\"（系统未列出的指定设备为 false）。\n";

int runPorts(const QStringList& args, const Settings& context) {
    const Args a = parseArgs(args, {}, {QStringLiteral("--json")});
    if (!a.error.isEmpty()) return usageError("ports", a.error);
    if (!a.positional.isEmpty())
        return usageError(
            "ports", say("unexpected argument '%1'", "多余的参数 '%1'").arg(a.positional.first()));
    const bool asJson = a.has(QStringLiteral("--json"));
    const PortResolver resolve = userPortResolver(context);
    auto orDash = [](const QString& s) { return s.isEmpty() ? QStringLiteral("-") : s; };
    auto orNull = [](const QString& s) {
        return s.isEmpty() ? QByteArray("null") : json::string(s);
    };
    QList<QByteArray> items;
    auto item = [&](const QString& device, const QStringList& coms, const QString& description,
                    const QString& usbId, const QString& serial, bool listed) {
        QList<QByteArray> comList;
        for (const QString& c : coms) comList << json::string(c);
        items << json::object({{QStringLiteral("device"), json::string(device)},
                               {QStringLiteral("com"), json::array(comList)},
                               {QStringLiteral("description"), orNull(description)},
                               {QStringLiteral("usbId"), orNull(usbId)},
                               {QStringLiteral("serialNumber"), orNull(serial)},
                               {QStringLiteral("listed"), json::boolean(listed)}});
    };
    const QList<SystemPort> ports = systemPorts();
    if (!asJson)
        out() << say("DEVICE\tCOM\tDESCRIPTION\tUSB ID\tSERIAL NUMBER",
                     "设备\tCOM\t描述\tUSB ID\t序列号")
              << '\n';
    QList<int> listed;
    for (const SystemPort& p : ports) {
        QStringList coms;
        for (int n : comNumbersFor(p, resolve)) {
            coms << QStringLiteral("COM%1").arg(n);
            listed << n;
        }
        if (asJson)
            item(p.device, coms, p.description, usbIds(p), p.serialNumber, true);
        else
            out() << p.device << '\t' << orDash(coms.join(QLatin1Char(','))) << '\t'
                  << orDash(p.description) << '\t' << orDash(usbIds(p)) << '\t'
                  << orDash(p.serialNumber) << '\n';
    }
    if (ports.isEmpty())
        err() << "cps ports: " << say("the system lists no serial ports", "系统没有列出串口")
              << '\n';
    const UserStore store(context.setupAppName());
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QString device = assignedDevice(store, n);
        if (device.isEmpty() || listed.contains(n)) continue;
        if (asJson)
            item(device, {QStringLiteral("COM%1").arg(n)}, {}, {}, {}, false);
        else
            out() << device << "\tCOM" << n << '\t'
                  << say("(assigned, not listed by the system)", "（已指定，系统未列出）")
                  << "\t-\t-\n";
    }
    if (asJson) out() << jsonTerminalSafe(json::array(items)) << '\n';
    return kOk;
}

}  // namespace cps::cli
