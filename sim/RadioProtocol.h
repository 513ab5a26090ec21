#pragma once

// The radio's side of the serial link: what a radio does with the bytes it receives. Bytes go
// in one at a time; reply bytes and what the radio noticed go to the owner, which adds its own
// timing and transport (radiosim on a pseudo-terminal, the link tests' fake on virtual time).

#include <cstdint>
#include <string>
#include <vector>

#include "RadioImage.h"

namespace cps::sim {

// One thing the radio noticed.
struct RadioEvent {
    enum Kind { ProgramRequest, Identification, Read, Write, Stray, HangUp };
    Kind kind;
    int address = 0;  // Read, Write; the byte itself for Stray
    int length = 0;   // Read, Write

    // One log line: PROGRAM, IDENT, "R 0FD0 8", "W 0FC8 8", "? 41", CLOSED.
    std::string text() const;
};

class RadioProtocol {
  public:
    RadioProtocol();
    virtual ~RadioProtocol() = default;

    // What the radio is.
    RadioImage memory;  // the factory image with band code 1
    uint8_t typeLetter = 'U';
    uint8_t rangeBytes[3] = {0x13, 0x17, 0x46};  // 134-176 MHz, as a new image
    // Faults. Block addresses are those of the command header; -1 is none.
    bool neverAnswer = false;       // no program-mode request is answered
    int silentProgramRequests = 0;  // this many program-mode requests go unanswered
    int garbage = 0;                // bytes of '?' sent before each program-mode answer
    bool refuseIdAck = false;       // answers the identification's ACK with a NAK
    int nakAt = -1;                 // NAK for a write there, or for the ACK after a read there
    int silentAt = -1;              // a block there is not answered at all
    int shortAt = -1;               // a block read there is answered one byte short
    int corruptAt = -1;             // a block written there is acknowledged, stored inverted
    int shortIdentification = 0;    // the identification is this many bytes short

    // One byte off the line.
    void take(uint8_t b);
    // The line was dropped: wait for the next program-mode request.
    void hangUp();

  protected:
    RadioProtocol(const RadioProtocol&) = default;
    RadioProtocol& operator=(const RadioProtocol&) = default;

    // Reply bytes in order; the owner decides when they reach the line.
    virtual void send(const std::vector<uint8_t>& bytes) = 0;
    virtual void note(const RadioEvent&) {}

  private:
    enum State { Idle, Program, Header, Data };

    void programRequest();
    void identify();
    void command();
    void finishWrite();

    State state_ = Idle;
    int matched_ = 0;  // bytes of a program-mode request seen so far
    bool lastM_ = false;
    bool lastWasId_ = false;
    bool nakOnAck_ = false;
    std::vector<uint8_t> header_, data_;
};

}  // namespace cps::sim
