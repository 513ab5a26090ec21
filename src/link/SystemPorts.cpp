#include <QSerialPortInfo>

#include "PortList.h"

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

}  // namespace cps
