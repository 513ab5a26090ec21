#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

#include "ChannelTable.h"
#include "PrintPages.h"
#include "RadioImage.h"
#include "Report.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace cps;
using namespace cps::print;

namespace {

// The section pages read the editors' field tables; these tests hold them to the values the
// editors show.
struct SectionPages : ::testing::Test {
    RadioImage image = RadioImage::factory();
    ChannelTable table{false};
    Metrics m = [] {
        Metrics x;
        x.width = 66 * 150;
        x.height = 45 * 300;
        x.titleLine = 310;
        x.bodyLine = 250;
        return x;
    }();
    int c = m.c();
    int L = m.bodyLine;

    Page page(Section s, int n = 1, bool chinese = false) {
        Choice choice{};
        choice[s] = true;
        const Job job = prepareJob(choice, table);
        return buildPage(job, n, Source{&image, &table, chinese, {}}, m);
    }
    static QString at(const Page& p, int x, int y) {
        const Item* i = p.textAt(x, y);
        return i ? i->text : QStringLiteral("<nothing>");
    }
    void setText(int offset, const char* text, int width) {
        const int n = static_cast<int>(std::strlen(text));
        for (int i = 0; i < width; ++i)
            image.set(offset + i, i < n ? static_cast<uint8_t>(text[i]) : 0xFF);
    }
};

}  // namespace

TEST_F(SectionPages, OptionalPagePrintsTheEditorsTexts) {
    const Page p = page(kOptional);
    auto value = [&](int line) { return at(p, 30 * c, -line * L); };
    EXPECT_EQ(value(5), "Auto");     // Back Light
    EXPECT_EQ(value(6), "Light 1");  // Back Light Color
    EXPECT_EQ(value(7), "FREQ.CH");  // Display mode
    EXPECT_EQ(value(8), "Manual");   // Key lock
    EXPECT_EQ(value(9), "0");        // Priority channel: the byte itself
    EXPECT_EQ(value(10), "CO");      // Scan mode
    EXPECT_EQ(value(11), "4");       // Squelch level
    EXPECT_EQ(value(12), "5k");      // Step
    EXPECT_EQ(value(13), "30");      // Time-out Timer
    EXPECT_EQ(value(14), "Off");     // Vox
    EXPECT_EQ(value(15), "<nothing>");
    EXPECT_EQ(value(16), "On");     // Frequency Mode, 0xC70 bit 3
    EXPECT_EQ(value(17), "MSK-I");  // 0xC73 bit 0 set
    EXPECT_EQ(value(18), "On");     // Battery saver
    EXPECT_EQ(value(19), "On");     // Beep
    EXPECT_EQ(value(20), "<nothing>");
    EXPECT_EQ(value(21), "Off");  // Keypad Lock: bit 7 set
    EXPECT_EQ(value(24), "<nothing>");
    EXPECT_EQ(value(25), "DTMF");

    image.set(0xC43, 3);
    image.set(0xC70, image.at(0xC70) & ~0x80);
    image.set(0xC71, 17);
    image.set(0xC40, 9);
    const Page q = page(kOptional);
    EXPECT_EQ(at(q, 30 * c, -12 * L), "12.5k");
    EXPECT_EQ(at(q, 30 * c, -21 * L), "On");
    EXPECT_EQ(at(q, 30 * c, -9 * L), "17");
    EXPECT_EQ(at(q, 30 * c, -13 * L), "270");

    const Page zh = page(kOptional, 1, true);
    EXPECT_EQ(at(zh, 9 * c, -5 * L), "背光灯:");
    EXPECT_EQ(at(zh, 30 * c, -8 * L), "手动");
    EXPECT_EQ(at(zh, 30 * c, -21 * L), "开");
    EXPECT_EQ(at(zh, 30 * c, -12 * L), "12.5k");
}

TEST_F(SectionPages, OptionalPageDecodesItsOwnRowsByItsOwnRules) {
    // Values no editor list holds: the low bits print as they are, whatever the high bits.
    image.set(0xC41, 0x1A);  // squelch: bits 0x0F
    image.set(0xC43, 0x05);  // step: bits 0x07 above 3
    image.set(0xC40, 0x0C);  // TOT: 12 x 30
    image.set(0xC42, 0x0B);  // vox
    image.set(0xC71, 0xC8);  // priority channel 200
    const Page p = page(kOptional);
    EXPECT_EQ(at(p, 30 * c, -11 * L), "10");
    EXPECT_EQ(at(p, 30 * c, -12 * L), "25k");
    EXPECT_EQ(at(p, 30 * c, -13 * L), "360");
    EXPECT_EQ(at(p, 30 * c, -14 * L), "11");
    EXPECT_EQ(at(p, 30 * c, -9 * L), "200");

    image.set(0xC40, 0xF0);  // TOT off: only the low bits count
    image.set(0xC42, 0x00);
    image.set(0xC43, 0x0A);  // step bits 2
    EXPECT_EQ(at(page(kOptional), 30 * c, -13 * L), "Off");
    EXPECT_EQ(at(page(kOptional), 30 * c, -12 * L), "10k");
    const Page zh = page(kOptional, 1, true);
    EXPECT_EQ(at(zh, 30 * c, -13 * L), "无");
    EXPECT_EQ(at(zh, 30 * c, -14 * L), "关");
}

TEST_F(SectionPages, DtmfGroupCodePrintsItsDigit) {
    EXPECT_EQ(at(page(kDtmf), 40 * c, -13 * L), "*");  // a new image's 0x0E
    image.set(0xCCF, 0x0B);
    EXPECT_EQ(at(page(kDtmf), 40 * c, -13 * L), "B");
    image.set(0xCCF, 0xFF);
    EXPECT_EQ(at(page(kDtmf), 40 * c, -13 * L), "Off");
    // Any other byte prints as the character it is; bytes below 16, control codes as
    // characters, print as the DTMF editor's item.
    image.set(0xCCF, 0x41);
    EXPECT_EQ(at(page(kDtmf), 40 * c, -13 * L), "A");
    image.set(0xCCF, 0x35);
    EXPECT_EQ(at(page(kDtmf), 40 * c, -13 * L), "5");
    image.set(0xCCF, 0x00);
    EXPECT_EQ(at(page(kDtmf), 40 * c, -13 * L), "0");
    image.set(0xCCF, 0xFF);
    EXPECT_EQ(at(page(kDtmf, 1, true), 40 * c, -13 * L), "Off");
}

TEST_F(SectionPages, MskPagePrintsIdAndCallList) {
    setText(0xC80, "1A2B", 4);
    setText(0xC84 + 4 * 2, "12AB", 4);  // entry 3
    setText(0xC84 + 4 * 8, "F0", 4);    // entry 9, across the row boundary
    const Page p = page(kMsk);
    EXPECT_EQ(at(p, 15 * c, -4 * L), "1A2B");
    EXPECT_EQ(at(p, 17 * c, -(3 + 7) * L - 25), "12AB");
    EXPECT_EQ(at(p, 17 * c, -(9 + 7) * L - 25), "F0");
    EXPECT_EQ(at(p, 10 * c, -(9 + 7) * L - 25), "9");
    EXPECT_EQ(at(p, 17 * c, -(1 + 7) * L - 25), "<nothing>");
}
TEST_F(SectionPages, DecodePageHasEightBlocksAndNoEmptyRule) {
    image.set(0xE80, 0xFF);  // decoder 1's A tone: 0xFFFF
    image.set(0xE81, 0xFF);
    image.set(0xE80 + 8 * 7 + 7, 25);  // decoder 8's long tone delay
    const Page p = page(kTwoTone, 1);
    EXPECT_EQ(at(p, 6 * c, -m.titleLine), "2-Tone Decode");
    EXPECT_EQ(at(p, 3 * c, -4 * L), "2-Tone 1:");
    EXPECT_EQ(at(p, 26 * c, -5 * L), "6553.5");
    EXPECT_EQ(at(p, 26 * c, -6 * L), "1000.0");
    EXPECT_EQ(at(p, 26 * c, -7 * L), "0.5");
    EXPECT_EQ(at(p, 26 * c, -10 * L), "1.0");  // interval, byte 6
    // Decoder 8: second column, fourth row of blocks.
    const int X = 32 * c;
    const int Y = 27 * L;
    EXPECT_EQ(at(p, 3 * c + X, -4 * L - Y), "2-Tone 8:");
    EXPECT_EQ(at(p, 4 * c + X, -9 * L - Y), "Long tone delay time (s):");
    EXPECT_EQ(at(p, 26 * c + X, -9 * L - Y), "2.5");
    EXPECT_EQ(at(page(kTwoTone, 1, true), 4 * c, -5 * L), "A 音 (Hz):");
}

TEST_F(SectionPages, EncodePageLeavesEmptyTonesBlank) {
    image.set(0xE00, 0xFF);  // entry 1, tone 1 empty
    image.set(0xE01, 0xFF);
    image.set(0xE40 + 2, 0x30);  // entry 17, tone 2: 1234.5 Hz
    image.set(0xE40 + 3, 0x39);
    image.set(0xEC7, 1);
    const Page p = page(kTwoTone, 2);
    EXPECT_EQ(at(p, 6 * c, -m.titleLine), "2-Tone Encode");
    EXPECT_EQ(at(p, 30 * c, -4 * L), "0.5");
    EXPECT_EQ(at(p, 30 * c, -6 * L), "1.0");
    EXPECT_EQ(at(p, 30 * c, -7 * L), "1.0");   // interval
    EXPECT_EQ(at(p, 30 * c, -8 * L), "0.10");  // Tx rise
    EXPECT_EQ(at(p, 30 * c, -9 * L), "ON");
    const int row1 = -13 * L - 25;
    EXPECT_EQ(at(p, 7 * c, row1), "1");
    EXPECT_EQ(at(p, 13 * c, row1), "<nothing>");
    EXPECT_EQ(at(p, 23 * c, row1), "1000.0");
    EXPECT_EQ(at(p, 35 * c, row1), "17");
    EXPECT_EQ(at(p, 41 * c, row1), "2000.0");
    EXPECT_EQ(at(p, 51 * c, row1), "1234.5");
    EXPECT_EQ(at(p, 35 * c, -28 * L - 25), "32");
    EXPECT_EQ(at(p, 12 * c, -12 * L), "Tone Fre1");
    image.set(0xEC7, 0);
    EXPECT_EQ(at(page(kTwoTone, 2, true), 30 * c, -9 * L), "关");

    // Short beep is bit 0 alone; a tone is blank when its first byte is 0xFF, whatever
    // the second.
    image.set(0xEC7, 0x02);
    image.set(0xE04, 0xFF);  // entry 2, tone 1: FF 00
    image.set(0xE05, 0x00);
    image.set(0xE06, 0x00);  // entry 2, tone 2: 00 FF = 25.5 Hz
    image.set(0xE07, 0xFF);
    const Page q = page(kTwoTone, 2);
    EXPECT_EQ(at(q, 30 * c, -9 * L), "Off");
    EXPECT_EQ(at(q, 13 * c, -14 * L - 25), "<nothing>");
    EXPECT_EQ(at(q, 23 * c, -14 * L - 25), "25.5");
    image.set(0xEC7, 0x03);
    EXPECT_EQ(at(page(kTwoTone, 2, true), 30 * c, -9 * L), "开");
}

TEST_F(SectionPages, TimesRoundAsPrintfDoes) {
    // 41/20 s is 2.04999... as a double and 6049/20 is 302.44999...: printf's "%2.1f"
    // gives 2.0 and 302.4, not the 2.1 and 302.5 of rounding the exact quotient.
    image.set(0xEC3, 0x00);
    image.set(0xEC4, 41);
    EXPECT_EQ(at(page(kTwoTone, 2), 30 * c, -7 * L), "2.0");
    image.set(0xEC3, 6049 >> 8);
    image.set(0xEC4, 6049 & 0xFF);
    EXPECT_EQ(at(page(kTwoTone, 2), 30 * c, -7 * L), "302.4");
    image.set(0xEC3, 0x00);
    image.set(0xEC4, 21);  // 1.05 is 1.0500000000000000444: up
    EXPECT_EQ(at(page(kTwoTone, 2), 30 * c, -7 * L), "1.1");
    image.set(0xEC4, 5);  // 0.25 exactly: to the even digit, as printf does
    EXPECT_EQ(at(page(kTwoTone, 2), 30 * c, -7 * L), "0.2");
}
