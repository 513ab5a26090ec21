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

    bool open(const QString& name) override;
    QString deviceFor(const QString& name) const override { return resolve_(name); }
    void configure(const PortTimeouts& timeouts) override;
    void purge(Purge what) override;
    int write(const uint8_t* data, int count) override;
    int read(uint8_t* data, int count) override;
    void close() override;
    void pause(int milliseconds) override;

    // Why the last open or transfer failed, in words for the user.
    QString errorText() const;

    // Whether the port can be opened now (the Port Setting dialog's probe).
    static bool canOpen(const QString& name, const Resolver& resolve = {});

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
};

}  // namespace cps
