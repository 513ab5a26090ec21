#pragma once

#include <QElapsedTimer>
#include <functional>
#include <memory>

#include "Port.h"
#include "PortNames.h"

class QSerialPort;

namespace cps {

// The real port: QSerialPort used in blocking mode.
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

    QString errorText() const;

    // Whether the port can be opened now, and why not (the Port Setting dialog's probe).
    static OpenFailure probe(const QString& name, const Resolver& resolve = {});
    static bool canOpen(const QString& name, const Resolver& resolve = {}) {
        return probe(name, resolve) == OpenFailure::None;
    }

  private:
    Resolver resolve_;
    std::unique_ptr<QSerialPort> port_;
    PortTimeouts timeouts_ = kTransferTimeouts;
    int savedFlags_ = -1;
    OpenFailure failure_ =
        OpenFailure::None;  // the driver's flags before low latency was asked for (Linux)
};

}  // namespace cps
