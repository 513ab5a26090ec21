#pragma once

// An in-memory radio behind the Port interface, on virtual time: replies arrive a little
// after the request, time-outs cost nothing but a clock step, so the protocol's retry loops
// run in microseconds. The radio itself (memory, type, range and its faults) is the shared
// protocol core; this adds the port, the clock and what the tests count.

#include <QString>
#include <algorithm>
#include <deque>
#include <vector>

#include "Port.h"
#include "RadioImage.h"
#include "RadioProtocol.h"

namespace cps::test {

struct SentBlock {
    char command;  // 'R' or 'W'
    int address;
    int length;
    bool operator==(const SentBlock& o) const {
        return command == o.command && address == o.address && length == o.length;
    }
};

class FakeRadio : public Port, public sim::RadioProtocol {
  public:
    // Faults of the port.
    bool openFails = false;
    OpenFailure failure = OpenFailure::Other;  // why, when openFails
    QString device;  // where the port name leads, for the messages; the name when empty
    // Time from the end of a request to the start of the reply. 0 is a radio that answers
    // at once: its reply has arrived by the time the request's write returns.
    double replyDelayMs = 1.5;
    // What happened.
    int opens = 0;
    int closes = 0;
    bool isOpen = false;
    int programRequests = 0;
    int identifications = 0;
    std::vector<SentBlock> blocks;
    double now = 0;  // virtual milliseconds
    QString openedName;

    bool open(const QString& name) override {
        openedName = name;
        if (openFails) return false;
        ++opens;
        isOpen = true;
        return true;
    }
    OpenFailure openFailure() const override { return openFails ? failure : OpenFailure::None; }
    QString deviceFor(const QString& name) const override {
        return device.isEmpty() ? name : device;
    }
    void configure(const PortTimeouts& t) override { timeouts_ = t; }
    void purge(Purge) override {
        // Only what has already arrived can be thrown away.
        while (!rx_.empty() && rx_.front().at <= now) rx_.pop_front();
    }
    int write(const uint8_t* data, int count) override {
        for (int i = 0; i < count; ++i) take(data[i]);
        now += count * kByteMs;
        return count;
    }
    int read(uint8_t* data, int count) override {
        const double deadline =
            now + timeouts_.readTotalPerByte * count + timeouts_.readTotalConstant;
        int got = 0;
        while (got < count && !rx_.empty() && rx_.front().at <= deadline) {
            now = std::max(now, rx_.front().at);
            data[got++] = rx_.front().byte;
            rx_.pop_front();
        }
        if (got < count) now = deadline;
        return got;
    }
    void close() override {
        if (isOpen) ++closes;
        isOpen = false;
        hangUp();
        rx_.clear();
    }
    void pause(int ms) override { now += ms; }

    int blockCount(char command) const {
        int n = 0;
        for (const auto& b : blocks) n += b.command == command;
        return n;
    }

  private:
    static constexpr double kByteMs = 10.0 / 9.6;  // one byte at 9600 baud
    struct Byte {
        uint8_t byte;
        double at;
    };

    void send(const std::vector<uint8_t>& bytes) override {
        double at = std::max(now, rx_.empty() ? 0.0 : rx_.back().at) + replyDelayMs;
        for (uint8_t b : bytes) rx_.push_back({b, at += kByteMs});
    }
    void note(const sim::RadioEvent& e) override {
        if (e.kind == sim::RadioEvent::ProgramRequest) ++programRequests;
        if (e.kind == sim::RadioEvent::Identification) ++identifications;
        if (e.kind == sim::RadioEvent::Read) blocks.push_back({'R', e.address, e.length});
        if (e.kind == sim::RadioEvent::Write) blocks.push_back({'W', e.address, e.length});
    }

    PortTimeouts timeouts_ = kTransferTimeouts;
    std::deque<Byte> rx_;
};

}  // namespace cps::test
