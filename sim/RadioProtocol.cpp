#include "RadioProtocol.h"

#include <algorithm>
#include <cstdio>

namespace cps::sim {

namespace {

constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kGarbage = 0x3F;
constexpr uint8_t kProgram[7] = {0x02, 'P', 'R', 'O', 'G', 'R', 'E'};

}  // namespace

std::string RadioEvent::text() const {
    char line[32];
    switch (kind) {
        case ProgramRequest:
            return "PROGRAM";
        case Identification:
            return "IDENT";
        case Read:
        case Write:
            std::snprintf(line, sizeof line, "%c %04X %d", kind == Read ? 'R' : 'W', address,
                          length);
            return line;
        case Stray:
            std::snprintf(line, sizeof line, "? %02X", address);
            return line;
        case HangUp:
            return "CLOSED";
    }
    return {};
}

RadioProtocol::RadioProtocol() : memory(RadioImage::factory()) { memory.set(addr::kBandCode, 1); }

void RadioProtocol::hangUp() {
    state_ = Idle;
    matched_ = 0;
    note({RadioEvent::HangUp});
}

void RadioProtocol::take(uint8_t b) {
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
    // Like a real radio, a program-mode request starts over at any moment between commands.
    if (matched_ > 0) {
        if (b == kProgram[matched_]) {
            if (++matched_ == 7) {
                matched_ = 0;
                programRequest();
            }
            return;
        }
        matched_ = 0;
    }
    if (b == kProgram[0]) {
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
    } else if (b == kAck) {
        const bool nak = (lastWasId_ && refuseIdAck) || nakOnAck_;
        lastWasId_ = false;
        nakOnAck_ = false;
        send({nak ? kNak : kAck});
    } else if (b == 'R' || b == 'W') {
        header_.assign(1, b);
        state_ = Header;
    } else {
        note({RadioEvent::Stray, b});
    }
}

void RadioProtocol::programRequest() {
    note({RadioEvent::ProgramRequest});
    state_ = Program;
    lastM_ = false;
    lastWasId_ = false;
    nakOnAck_ = false;
    if (neverAnswer || silentProgramRequests > 0) {
        if (silentProgramRequests > 0) --silentProgramRequests;
        return;
    }
    std::vector<uint8_t> r(static_cast<size_t>(std::max(garbage, 0)), kGarbage);
    r.push_back(kAck);
    send(r);
}

void RadioProtocol::identify() {
    note({RadioEvent::Identification});
    lastWasId_ = true;
    std::vector<uint8_t> id = {typeLetter, '8',           '8',           '8',
                               0x00,       rangeBytes[0], rangeBytes[1], rangeBytes[2]};
    id.resize(id.size() - static_cast<size_t>(std::clamp(shortIdentification, 0, 8)));
    send(id);
}

void RadioProtocol::command() {
    const int address = header_[1] << 8 | header_[2];
    const int length = header_[3];
    if (header_[0] == 'W') {
        state_ = Data;
        data_.clear();
        if (length == 0) finishWrite();
        return;
    }
    state_ = Program;
    lastWasId_ = false;
    note({RadioEvent::Read, address, length});
    if (address == silentAt) return;
    std::vector<uint8_t> r = {'W', header_[1], header_[2], header_[3]};
    for (int i = 0; i < length; ++i) r.push_back(memory.at((address + i) % kImageSize));
    if (address == shortAt) r.pop_back();
    nakOnAck_ = address == nakAt;
    send(r);
}

void RadioProtocol::finishWrite() {
    const int address = header_[1] << 8 | header_[2];
    state_ = Program;
    note({RadioEvent::Write, address, header_[3]});
    if (address == silentAt) return;
    if (address == nakAt) {
        send({kNak});
        return;
    }
    // A corrupting radio flips every bit of the block's first byte, but still says ACK.
    for (size_t i = 0; i < data_.size(); ++i)
        memory.set((address + static_cast<int>(i)) % kImageSize,
                   static_cast<uint8_t>(address == corruptAt && i == 0 ? ~data_[i] : data_[i]));
    send({kAck});
}

}  // namespace cps::sim
