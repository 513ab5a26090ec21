// The protocol core on its own: byte sequences the link engine never produces, so the link
// and end-to-end tests cannot reach them.

#include <gtest/gtest.h>

#include "RadioProtocol.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Radio : cps::sim::RadioProtocol {
    Bytes out;
    std::vector<std::string> log;

    Bytes feed(const Bytes& in) {
        out.clear();
        for (uint8_t b : in) take(b);
        return out;
    }
    Bytes program() { return feed({0x02, 'P', 'R', 'O', 'G', 'R', 'E'}); }
    void send(const Bytes& bytes) override { out.insert(out.end(), bytes.begin(), bytes.end()); }
    void note(const cps::sim::RadioEvent& e) override { log.push_back(e.text()); }
};

const Bytes kAck = {0x06}, kNak = {0x15};

TEST(RadioProtocol, ProgramRequestStartsOverAndClearsPendingFaults) {
    Radio r;
    EXPECT_EQ(r.feed({'R', 0x06, 'M', 0x02, 'E'}), Bytes{});  // nothing before program mode
    EXPECT_EQ(r.feed({0x02, 'P', 'R', 0x02, 'P', 'R', 'O', 'G', 'R', 'E'}), kAck);
    EXPECT_EQ(r.log, std::vector<std::string>{"PROGRAM"});

    // A NAK owed for a read's ACK is dropped by a new request, as is a refused
    // identification ACK; a refusal is owed only once.
    r.nakAt = 0x10;
    EXPECT_EQ(r.feed({'R', 0x00, 0x10, 0x00}), (Bytes{'W', 0x00, 0x10, 0x00}));
    r.program();
    r.refuseIdAck = true;
    EXPECT_EQ(r.feed({'M', 0x02}).size(), 8u);
    EXPECT_EQ(r.program(), kAck);
    EXPECT_EQ(r.feed(kAck), kAck);
    r.feed({'M', 0x02});
    EXPECT_EQ(r.feed(kAck), kNak);
    EXPECT_EQ(r.feed(kAck), kAck);
}

TEST(RadioProtocol, WritesAreStoredOnlyWhenAcknowledged) {
    Radio r;
    r.nakAt = 0x108;
    r.silentAt = 0x110;
    r.memory.set(0x108, 0x11);
    r.memory.set(0x110, 0x11);
    r.program();
    EXPECT_EQ(r.feed({'W', 0x01, 0x00, 2, 0xAA, 0xBB}), kAck);
    EXPECT_EQ(r.feed({'W', 0x01, 0x08, 1, 0xCC}), kNak);
    EXPECT_EQ(r.feed({'W', 0x01, 0x10, 1, 0xDD}), Bytes{});
    EXPECT_EQ(r.feed({'W', 0x01, 0x18, 0}), kAck);  // empty write: answered at once
    EXPECT_EQ(r.memory.at(0x100), 0xAA);
    EXPECT_EQ(r.memory.at(0x101), 0xBB);
    EXPECT_EQ(r.memory.at(0x108), 0x11);
    EXPECT_EQ(r.memory.at(0x110), 0x11);
    const std::vector<std::string> log = {"PROGRAM", "W 0100 2", "W 0108 1", "W 0110 1",
                                          "W 0118 0"};
    EXPECT_EQ(r.log, log);
}

TEST(RadioProtocol, GarbageStrayBytesAndReadsPastTheEnd) {
    Radio r;
    r.garbage = 2;
    EXPECT_EQ(r.program(), (Bytes{0x3F, 0x3F, 0x06}));
    r.feed({'A'});
    EXPECT_EQ(r.log.back(), "? 41");
    for (int a = 0; a < cps::kImageSize; ++a) r.memory.set(a, static_cast<uint8_t>(a));
    EXPECT_EQ(r.feed({'R', 0x0F, 0xFE, 4}), (Bytes{'W', 0x0F, 0xFE, 4, 0xFE, 0xFF, 0x00, 0x01}));
    EXPECT_EQ(r.log.back(), "R 0FFE 4");
    r.hangUp();
    EXPECT_EQ(r.log.back(), "CLOSED");
    EXPECT_EQ(r.feed({'R', 0x00, 0x00, 1}), Bytes{});  // idle again until a request
}

}  // namespace

namespace {

// Trying the program without a radio: the simulated radio's range is the new image's bands,
// so a write of a new document meets no range box.
TEST(RadioProtocol, DefaultIdentificationRangeIsTheNewImageBands) {
    Radio r;
    cps::RadioImage image = cps::RadioImage::factory();
    cps::applyNewImageSettings(image, 0);
    const cps::Bands bands = cps::unpackBands(image);
    const cps::Band range = cps::unpackBand(r.rangeBytes[0], r.rangeBytes[1], r.rangeBytes[2]);
    EXPECT_EQ(range.low, 134 * cps::kPerMHz);
    EXPECT_EQ(range.high, 176 * cps::kPerMHz);
    EXPECT_TRUE(range.low <= bands.band1.low && bands.band1.high <= range.high);
    r.program();
    const Bytes id = r.feed({'M', 0x02});
    ASSERT_EQ(id.size(), 8u);
    EXPECT_EQ(Bytes(id.begin() + 5, id.end()), (Bytes{0x13, 0x17, 0x46}));
}

}  // namespace
