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

    bool open(const QString& name) override;
    QString deviceFor(const QString& name) const override { return resolve_(name); }
    void configure(const PortTimeouts& timeouts) override;
    void purge(Purge what) override;
    int write(const uint8_t* data, int count) override;
    int read(uint8_t* data, int count) override;
    void close() override;
    void pause(int milliseconds) override;

    QString errorText() const;

    // Whether the port can be opened now (the Port Setting dialog's probe).
    static bool canOpen(const QString& name, const Resolver& resolve = {});

  private:
    Resolver resolve_;
    std::unique_ptr<QSerialPort> port_;
    PortTimeouts timeouts_ = kTransferTimeouts;
    int savedFlags_ = -1;  // the driver's flags before low latency was asked for (Linux)
};

}  // namespace cps
