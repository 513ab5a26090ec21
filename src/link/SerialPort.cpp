#include "SerialPort.h"

#include <QSerialPort>
#include <QThread>
#include <algorithm>

#include "PortNames.h"

namespace cps {

SerialPort::SerialPort(Resolver resolve) : resolve_(std::move(resolve)) {
    if (!resolve_) resolve_ = [](const QString& name) { return deviceForPort(name); };
}

SerialPort::~SerialPort() { close(); }

bool SerialPort::open(const QString& name) {
    close();
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(resolve_(name));
    return port_->open(QIODevice::ReadWrite);
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
