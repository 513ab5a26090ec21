#include "SerialPort.h"

#include <QSerialPort>
#include <QThread>
#include <algorithm>

#include "PortNames.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#endif
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

// The device itself rather than a link to it: the lock file is named after what is opened.
QString realDevice(const QString& device) {
#ifdef Q_OS_UNIX
    const QString real = QFileInfo(device).canonicalFilePath();
    if (!real.isEmpty()) return real;
#endif
    return device;
}

// What the serial port's error means for the user. Its permission error covers a lock file
// held by another program, a device busy in the kernel and a user without the right, so on
// Unix the device is asked once more, without a lock, to tell them apart.
OpenFailure diagnose(const QString& device, QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return OpenFailure::Missing;
        case QSerialPort::OpenError:
            return OpenFailure::Busy;
        case QSerialPort::PermissionError:
            break;
        default:
            return OpenFailure::Other;
    }
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return OpenFailure::Busy;  // only the lock stood in the way
    }
    switch (errno) {
        case EACCES:
        case EPERM:
            return OpenFailure::Denied;
        case EBUSY:
            return OpenFailure::Busy;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return OpenFailure::Missing;
        default:
            return OpenFailure::Other;
    }
#else
    // Windows says "access denied" for a port another program has open.
    Q_UNUSED(device);
    return OpenFailure::Busy;
#endif
}

}  // namespace

bool SerialPort::open(const QString& name) {
    close();
    failure_ = OpenFailure::None;
    const QString device = realDevice(resolve_(name));
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(device);
    if (!port_->open(QIODevice::ReadWrite)) {
        failure_ = diagnose(device, port_->error());
        return false;
    }
#ifdef Q_OS_LINUX
    // Programs that use no lock file (or another one) are kept out by the kernel; root
    // passes this, but then the lock file above holds.
    ::ioctl(static_cast<int>(port_->handle()), TIOCEXCL);
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
            // Bytes that reached the driver in time count even when this thread ran late
            // (the serial driver's read returns them): take them in without waiting.
            port_->waitForReadyRead(0);
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
        if (port_->isOpen()) ::ioctl(static_cast<int>(port_->handle()), TIOCNXCL);
#endif
        if (port_->isOpen()) port_->close();
        port_.reset();
    }
}

void SerialPort::pause(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

QString SerialPort::errorText() const { return port_ ? port_->errorString() : QString(); }

}  // namespace cps
