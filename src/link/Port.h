#pragma once

#include <QString>
#include <cstdint>

namespace cps {

// Read and write time-outs in milliseconds, with the meaning of the serial driver: a read of
// n bytes ends after readTotalPerByte * n + readTotalConstant, or when the gap between two
// bytes exceeds readInterval.
struct PortTimeouts {
    int readInterval;
    int readTotalPerByte;
    int readTotalConstant;
    int writeTotalPerByte;
    int writeTotalConstant;
};

// The whole-image transfer.
constexpr PortTimeouts kTransferTimeouts{30, 100, 90, 50, 50};
// The service block exchange.
constexpr PortTimeouts kServiceTimeouts{100, 50, 100, 50, 50};

enum class Purge {
    Queues,  // clear both driver queues
    Full,    // also abort whatever is pending
};

// Why a port could not be opened, as far as the system tells.
enum class OpenFailure {
    None,
    Denied,   // the user may not open the device
    Busy,     // another program holds it
    Missing,  // no such device (the cable is unplugged)
    Other,
};

// One serial connection to the radio. Every exchange opens it, configures it and closes it
// itself; all calls block.
class Port {
  public:
    virtual ~Port() = default;
    // Opens the port by its name (COMn or a device path), exclusive.
    virtual bool open(const QString& name) = 0;
    // Why the last open failed.
    virtual OpenFailure openFailure() const { return OpenFailure::Other; }
    // The device that open(name) opens, for the messages; the name itself by default.
    virtual QString deviceFor(const QString& name) const { return name; }
    // 9600 baud, 8 data bits, no parity, one stop bit, binary; the given time-outs.
    virtual void configure(const PortTimeouts& timeouts) = 0;
    virtual void purge(Purge what) = 0;
    // Returns the number of bytes written.
    virtual int write(const uint8_t* data, int count) = 0;
    // Returns as soon as count bytes arrived or a time-out expired: the number that arrived.
    virtual int read(uint8_t* data, int count) = 0;
    virtual void close() = 0;
    // The protocol's short pauses between bytes. Part of the port so tests can run on
    // virtual time.
    virtual void pause(int milliseconds) = 0;

    bool writeByte(uint8_t b) { return write(&b, 1) == 1; }
    // One byte, or -1 when none arrived in time.
    int readByte() {
        uint8_t b = 0;
        return read(&b, 1) == 1 ? b : -1;
    }
};

// Closes the port on every way out of a scope.
class PortCloser {
  public:
    explicit PortCloser(Port& port) : port_(port) {}
    ~PortCloser() { port_.close(); }
    PortCloser(const PortCloser&) = delete;
    PortCloser& operator=(const PortCloser&) = delete;

  private:
    Port& port_;
};

}  // namespace cps
