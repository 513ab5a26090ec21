#pragma once

#include <QElapsedTimer>
#include <functional>
#include <memory>

#include "Port.h"
#include "PortNames.h"

#ifndef Q_OS_WIN
class QSerialPort;
#endif

namespace cps {

// The real port: the Win32 serial calls on Windows, QSerialPort in blocking mode elsewhere.
class SerialPort : public Port {
  public:
    // resolve turns a port name into the device to open; by default deviceForPort() without
    // any per-user assignments.
    using Resolver = PortResolver;
    explicit SerialPort(Resolver resolve = {});
    ~SerialPort() override;

    // Opens the device name leads to, links resolved first, so that two names of one device
    // find the same lock; on Linux also the kernel's exclusive open.
    bool open(const QString& name) override;
    OpenFailure openFailure() const override { return failure_; }
    QString deviceFor(const QString& name) const override { return resolve_(name); }
    void configure(const PortTimeouts& timeouts) override;
    void purge(Purge what) override;
    int write(const uint8_t* data, int count) override;
    int read(uint8_t* data, int count) override;
    void close() override;
    void pause(int milliseconds) override;

    // Why the last open or transfer failed, in words for the user.
    QString errorText() const;

    // Whether the port can be opened now, and why not (the Port Setting dialog's probe).
    static OpenFailure probe(const QString& name, const Resolver& resolve = {});
    static bool canOpen(const QString& name, const Resolver& resolve = {}) {
        return probe(name, resolve) == OpenFailure::None;
    }

  private:
    Resolver resolve_;
#ifdef Q_OS_WIN
    void* handle_ = nullptr;   // the port's HANDLE; void* keeps windows.h out of callers
    unsigned long error_ = 0;  // GetLastError() of the last failed call
#else
    std::unique_ptr<QSerialPort> port_;
    PortTimeouts timeouts_ = kTransferTimeouts;
    int savedFlags_ = -1;  // the driver's flags before low latency was asked for (Linux)
#endif
    OpenFailure failure_ = OpenFailure::None;  // why the last open failed
};

}  // namespace cps
