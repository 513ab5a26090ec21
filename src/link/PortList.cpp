#include "PortList.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace cps {

QList<SystemPort> systemPorts() {
    QList<SystemPort> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
        SystemPort p;
        p.device = info.systemLocation();
        p.name = info.portName();
        p.description = info.description();
        p.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier()) p.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier()) p.productId = info.productIdentifier();
        p.serialNumber = info.serialNumber();
        ports << p;
    }
    return ports;
}

namespace {
// A link such as /dev/serial/by-id/... names the same device as its target.
QString canonical(const QString& path) {
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}
}  // namespace

QList<int> comNumbersFor(const SystemPort& port, const PortResolver& resolve) {
    QList<int> numbers;
    const QString device = canonical(port.device);
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QString name = portNameFor(n);
        const QString target = resolve ? resolve(name) : deviceForPort(name);
        if (target.compare(port.device, Qt::CaseInsensitive) == 0 ||
            target.compare(port.name, Qt::CaseInsensitive) == 0 ||
            (target.startsWith(QLatin1Char('/')) && canonical(target) == device))
            numbers << n;
    }
    return numbers;
}

QString usbIds(const SystemPort& port) {
    if (port.vendorId < 0 || port.productId < 0) return QString();
    return QStringLiteral("%1:%2")
        .arg(port.vendorId, 4, 16, QLatin1Char('0'))
        .arg(port.productId, 4, 16, QLatin1Char('0'));
}

QString describePort(const SystemPort& port) {
    QString text = port.description.isEmpty() ? port.device : port.description;
    const QString ids = usbIds(port);
    if (!ids.isEmpty()) text += QStringLiteral(" (%1)").arg(ids);
    return text;
}

}  // namespace cps
