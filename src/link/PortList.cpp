#include "PortList.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace cps {

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

bool usbIdsFromHardwareId(const QString& id, int& vendorId, int& productId) {
    static const QRegularExpression ids(QStringLiteral("VID_([0-9A-F]{4})&PID_([0-9A-F]{4})"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = ids.match(id);
    if (!m.hasMatch()) return false;
    vendorId = m.captured(1).toInt(nullptr, 16);
    productId = m.captured(2).toInt(nullptr, 16);
    return true;
}

QString describePort(const SystemPort& port) {
    QString text = port.description.isEmpty() ? port.device : port.description;
    const QString ids = usbIds(port);
    if (!ids.isEmpty()) text += QStringLiteral(" (%1)").arg(ids);
    return text;
}

}  // namespace cps
