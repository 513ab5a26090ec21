#pragma once

// An in-memory radio behind the Port interface, on virtual time: replies arrive a little
// after the request, time-outs cost nothing but a clock step, so the protocol's retry loops
// run in microseconds.

#include <QString>
#include <algorithm>
#include <deque>
#include <vector>

#include "Port.h"
#include "RadioImage.h"
#include "RadioLink.h"

namespace cps::test {

struct SentBlock {
    char command;  // 'R' or 'W'
    int address;
    int length;
    bool operator==(const SentBlock& o) const {
        return command == o.command && address == o.address && length == o.length;
    }
};

class FakeRadio : public Port {
  public:
    FakeRadio() { memory.set(addr::kBandCode, 1); }

    // What the radio is.
    RadioImage memory = RadioImage::factory();
    uint8_t typeLetter = 'U';
    uint8_t rangeBytes[3] = {0x13, 0x17, 0x64};  // 136-174 MHz
    // Faults.
    bool openFails = false;
    int silentProgramRequests = 0;  // this many program-mode requests go unanswered
    bool neverAnswer = false;
    bool refuseIdAck = false;     // answers the identification's ACK with a NAK
    int nakAt = -1;               // address of a data block answered with NAK
    int silentAt = -1;            // address of a data block not answered at all
    int shortAt = -1;             // address of a block read answered one byte short
    int shortIdentification = 0;  // reply this many bytes short
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
        state_ = Idle;
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
    enum State { Idle, Program, Header, Data };
    struct Byte {
        uint8_t byte;
        double at;
    };

    void reply(std::initializer_list<uint8_t> bytes) { reply(std::vector<uint8_t>(bytes)); }
    void reply(const std::vector<uint8_t>& bytes) {
        double at = std::max(now, rx_.empty() ? 0.0 : rx_.back().at) + 1.5;
        for (uint8_t b : bytes) rx_.push_back({b, at += kByteMs});
    }

    void take(uint8_t b) {
        if (state_ == Data) {
            data_.push_back(b);
            if (static_cast<int>(data_.size()) == header_[3]) finishWrite();
            return;
        }
        if (state_ == Header) {
            header_.push_back(b);
            if (header_.size() == 4) command();
            return;
        }
        // A program-mode request starts over at any moment between commands.
        if (matched_ > 0) {
            if (b == wire::kProgram[matched_]) {
                if (++matched_ == 7) {
                    matched_ = 0;
                    programRequest();
                }
                return;
            }
            matched_ = 0;
        }
        if (b == 0x02) {
            if (state_ == Program && lastM_) {
                lastM_ = false;
                identify();
            } else {
                matched_ = 1;
            }
            return;
        }
        lastM_ = false;
        if (state_ != Program) return;
        if (b == 'M') {
            lastM_ = true;
        } else if (b == wire::kAck) {
            const bool nak = (lastWasId_ && refuseIdAck) || nakOnAck_;
            lastWasId_ = false;
            nakOnAck_ = false;
            reply({nak ? uint8_t(0x15) : wire::kAck});
        } else if (b == 'R' || b == 'W') {
            header_.assign(1, b);
            state_ = Header;
        }
    }

    void programRequest() {
        ++programRequests;
        state_ = Program;
        lastM_ = false;
        lastWasId_ = false;
        if (neverAnswer || silentProgramRequests > 0) {
            if (silentProgramRequests > 0) --silentProgramRequests;
            state_ = neverAnswer ? Idle : Program;
            return;
        }
        reply({wire::kAck});
    }
    void identify() {
        ++identifications;
        lastWasId_ = true;
        std::vector<uint8_t> id = {typeLetter, '8',           '8',           '8',
                                   0x00,       rangeBytes[0], rangeBytes[1], rangeBytes[2]};
        id.resize(id.size() - static_cast<size_t>(shortIdentification));
        reply(id);
    }
    void command() {
        const int address = header_[1] << 8 | header_[2];
        const int length = header_[3];
        if (header_[0] == 'W') {
            state_ = Data;
            data_.clear();
            return;
        }
        blocks.push_back({'R', address, length});
        state_ = Program;
        lastWasId_ = false;
        if (address == silentAt) return;
        std::vector<uint8_t> r = {'W', uint8_t(address >> 8), uint8_t(address), uint8_t(length)};
        for (int i = 0; i < length; ++i) r.push_back(memory.at((address + i) % kImageSize));
        if (address == shortAt) r.pop_back();
        reply(r);
        nakOnAck_ = address == nakAt;
    }
    void finishWrite() {
        const int address = header_[1] << 8 | header_[2];
        blocks.push_back({'W', address, header_[3]});
        for (size_t i = 0; i < data_.size(); ++i)
            memory.set((address + static_cast<int>(i)) % kImageSize, data_[i]);
        state_ = Program;
        if (address == silentAt) return;
        reply({address == nakAt ? uint8_t(0x15) : wire::kAck});
    }

    PortTimeouts timeouts_ = kTransferTimeouts;
    std::deque<Byte> rx_;
    State state_ = Idle;
    int matched_ = 0;
    bool lastM_ = false;
    bool lastWasId_ = false;
    bool nakOnAck_ = false;
    std::vector<uint8_t> header_;
    std::vector<uint8_t> data_;
};

}  // namespace cps::test
