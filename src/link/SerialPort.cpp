#include "SerialPort.h"

#include <QSerialPort>
#include <QThread>
#include <algorithm>

#include "PortNames.h"

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace cps {

namespace {

#ifdef Q_OS_LINUX
// USB-serial adapters hold each reply up to their latency timer (16 ms by default) unless
// the driver is asked for low latency; the protocol's many short replies add that up to
// seconds. Returns the flags to put back on close, or -1 when nothing was changed (a
// pseudo-terminal or a driver that refuses: the port works as it is).
int askLowLatency(QSerialPort& port) {
    const int fd = static_cast<int>(port.handle());
    serial_struct ss{};
    if (fd < 0 || ::ioctl(fd, TIOCGSERIAL, &ss) != 0) return -1;
    if (ss.flags & ASYNC_LOW_LATENCY) return -1;
    const int old = ss.flags;
    ss.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(fd, TIOCSSERIAL, &ss) == 0 ? old : -1;
}

void restoreFlags(QSerialPort& port, int flags) {
    const int fd = static_cast<int>(port.handle());
    serial_struct ss{};
    if (fd < 0 || ::ioctl(fd, TIOCGSERIAL, &ss) != 0) return;
    ss.flags = flags;
    ::ioctl(fd, TIOCSSERIAL, &ss);
}
#endif

}  // namespace

SerialPort::SerialPort(Resolver resolve) : resolve_(std::move(resolve)) {
    if (!resolve_) resolve_ = [](const QString& name) { return deviceForPort(name); };
}

SerialPort::~SerialPort() { close(); }

bool SerialPort::open(const QString& name) {
    close();
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(resolve_(name));
    if (!port_->open(QIODevice::ReadWrite)) return false;
#ifdef Q_OS_LINUX
    savedFlags_ = askLowLatency(*port_);
#endif
    return true;
}

void SerialPort::configure(const PortTimeouts& timeouts) {
    timeouts_ = timeouts;
    if (!port_) return;
    // Results are not checked: a port that does not take them fails the handshake anyway.
    port_->setReadBufferSize(0);
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
}

void SerialPort::purge(Purge) {
    // Writes here block until the driver took the bytes, so the output side holds nothing
    // that is not already on its way; clearing it would only drop sent bytes that the far
    // end of a pseudo-terminal has not picked up yet. Blocking I/O has nothing pending to
    // abort either, so both purges clear what came in.
    if (port_ && port_->isOpen()) port_->clear(QSerialPort::Input);
}

int SerialPort::write(const uint8_t* data, int count) {
    if (!port_ || !port_->isOpen() || count <= 0) return 0;
    const qint64 queued = port_->write(reinterpret_cast<const char*>(data), count);
    if (queued <= 0) return 0;
    const int limit = timeouts_.writeTotalPerByte * count + timeouts_.writeTotalConstant;
    QElapsedTimer timer;
    timer.start();
    while (port_->bytesToWrite() > 0) {
        const int left = limit - static_cast<int>(timer.elapsed());
        if (left <= 0 || !port_->waitForBytesWritten(left)) break;
    }
    return static_cast<int>(queued - port_->bytesToWrite());
}

int SerialPort::read(uint8_t* data, int count) {
    if (!port_ || !port_->isOpen() || count <= 0) return 0;
    const int total = timeouts_.readTotalPerByte * count + timeouts_.readTotalConstant;
    QElapsedTimer timer;
    timer.start();
    int got = 0;
    for (;;) {
        const qint64 n = port_->read(reinterpret_cast<char*>(data) + got, count - got);
        if (n > 0) got += static_cast<int>(n);
        if (got >= count) break;
        int wait = total - static_cast<int>(timer.elapsed());
        // The interval time-out runs only once the first byte is there.
        if (got > 0) wait = std::min(wait, timeouts_.readInterval);
        if (wait <= 0 || !port_->waitForReadyRead(wait)) {
            const qint64 last = port_->read(reinterpret_cast<char*>(data) + got, count - got);
            if (last > 0) got += static_cast<int>(last);
            break;
        }
    }
    return got;
}

void SerialPort::close() {
    if (port_) {
#ifdef Q_OS_LINUX
        if (port_->isOpen() && savedFlags_ >= 0) restoreFlags(*port_, savedFlags_);
        savedFlags_ = -1;
#endif
        if (port_->isOpen()) port_->close();
        port_.reset();
    }
}

void SerialPort::pause(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

QString SerialPort::errorText() const { return port_ ? port_->errorString() : QString(); }

bool SerialPort::canOpen(const QString& name, const Resolver& resolve) {
    SerialPort port(resolve);
    const bool ok = port.open(name);
    port.close();
    return ok;
}

}  // namespace cps
