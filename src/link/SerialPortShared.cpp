// What the port does alike on every system: the default resolver, the close on destruction
// and the Port Setting dialog's probe.
#include "SerialPort.h"

#ifndef Q_OS_WIN
#include <QSerialPort>
#endif

namespace cps {

SerialPort::SerialPort(Resolver resolve) : resolve_(std::move(resolve)) {
    if (!resolve_) resolve_ = [](const QString& name) { return deviceForPort(name); };
}

SerialPort::~SerialPort() { close(); }

OpenFailure SerialPort::probe(const QString& name, const Resolver& resolve) {
    SerialPort port(resolve);
    port.open(name);
    port.close();
    return port.failure_;
}

}  // namespace cps
