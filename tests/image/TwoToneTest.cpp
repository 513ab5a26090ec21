// The 2-Tone rules and tables: the entry rules, the timer forms, which records a store
// writes, and that no store reaches the squelch and audio calibration.
#include <gtest/gtest.h>

#include <random>

#include "RadioImage.h"
#include "TwoTone.h"
#include "TwoToneFields.h"

using namespace cps;
using namespace cps::twotone;

namespace {

RadioImage randomImage(unsigned seed) {
    std::mt19937 rng(seed);
    RadioImage image;
    for (int i = 0; i < kImageSize; ++i) image.set(i, static_cast<uint8_t>(rng() & 0xFF));
    return image;
}

unsigned word(const RadioImage& image, int at) { return (image.at(at) << 8) | image.at(at + 1); }

field::Env env() { return {}; }

void expectCalibrationKept(const RadioImage& before, const RadioImage& after) {
    for (int i = kCalibrationStart; i < kCalibrationEnd; ++i)
        ASSERT_EQ(after.at(i), before.at(i)) << "byte " << std::hex << i;
}

// Shows decode page k, sets fields as typed, hides it again.
void storeDecodePage(RadioImage& image, int k, const QList<QPair<int, QString>>& typedValues) {
    field::Form form = field::load(entryFields(), image, env(), k - 1);
    for (const auto& [index, text] : typedValues) ASSERT_TRUE(field::set(form, index, text).ok);
    field::store(form, image);
}

}  // namespace

TEST(TwoToneRules, LeavingAFieldClampsAndFormats) {
    EXPECT_EQ(leave(Rule::DecodeTone, "100"), "288.5");
    EXPECT_EQ(leave(Rule::DecodeTone, "5000"), "3106.0");
    EXPECT_EQ(leave(Rule::DecodeTone, "1234.56"), "1234.6");
    EXPECT_EQ(leave(Rule::DecodeTone, ""), "288.5");
    EXPECT_EQ(leave(Rule::DecodeDelay, "0.2"), "0.5");
    EXPECT_EQ(leave(Rule::DecodeDelay, "12"), "10.0");
    EXPECT_EQ(leave(Rule::DecodeDelay, "3"), "3.0");
    EXPECT_EQ(leave(Rule::DecodeInterval, "2.5"), "2.0");
    EXPECT_EQ(leave(Rule::EncodeInterval, ""), "0.0");
    EXPECT_EQ(leave(Rule::TxRise, "0.33"), "0.30");
    EXPECT_EQ(leave(Rule::TxRise, "0.35"), "0.35");
    EXPECT_EQ(leave(Rule::TxRise, "0.04"), "0.10");
    EXPECT_EQ(leave(Rule::TxRise, "1.5"), "1.00");
    // A code-table cell may be empty; anything else is clamped.
    EXPECT_EQ(leave(Rule::Cell, ""), "");
    EXPECT_EQ(leave(Rule::Cell, "5000"), "3106.0");
    EXPECT_EQ(leave(Rule::Cell, "100"), "288.5");
    EXPECT_EQ(leave(Rule::Cell, "1500"), "1500.0");
}

TEST(TwoToneRules, UpDownStepsAndWraps) {
    EXPECT_EQ(step(Rule::DecodeTone, "3106.0", +1), "288.5");
    EXPECT_EQ(step(Rule::DecodeTone, "288.5", -1), "3106.0");
    EXPECT_EQ(step(Rule::DecodeTone, "1000.0", +1), "1000.1");
    EXPECT_EQ(step(Rule::DecodeDelay, "10.0", +1), "0.5");
    EXPECT_EQ(step(Rule::DecodeDelay, "0.5", -1), "10.0");
    EXPECT_EQ(step(Rule::DecodeDelay, "0.6", -1), "0.5");
    EXPECT_EQ(step(Rule::DecodeInterval, "2.0", +1), "0.0");
    EXPECT_EQ(step(Rule::DecodeInterval, "0.0", -1), "2.0");
    EXPECT_EQ(step(Rule::EncodeDelay, "9.9", +1), "10.0");
    EXPECT_EQ(step(Rule::EncodeInterval, "0.1", -1), "0.0");
    // The Tx rise delay moves in steps of 0.05; an off-step value goes to its neighbours.
    EXPECT_EQ(step(Rule::TxRise, "0.33", +1), "0.35");
    EXPECT_EQ(step(Rule::TxRise, "0.33", -1), "0.30");
    EXPECT_EQ(step(Rule::TxRise, "1.00", +1), "0.10");
    EXPECT_EQ(step(Rule::TxRise, "0.10", -1), "1.00");
    // Exact steps: down from 0.15 reaches the lowest value instead of wrapping early.
    EXPECT_EQ(step(Rule::TxRise, "0.15", -1), "0.10");
}

TEST(TwoToneRules, TypingLetsDigitsAndThePointThroughUpToTheLength) {
    EXPECT_EQ(typed(Rule::DecodeTone, "1a2-3.45x6"), "123.45");
    EXPECT_EQ(typed(Rule::DecodeInterval, "1.55"), "1.5");
    EXPECT_EQ(typed(Rule::TxRise, "0.333"), "0.33");
    EXPECT_EQ(maxLength(Rule::Cell), 6);
}

TEST(TwoToneRules, TimerCountsAreNearestAndGuardAToneOfZero) {
    EXPECT_EQ(timerCount(10000, kDecodeClock), 896);
    EXPECT_EQ(timerCount(10000, kEncodeClock), 112);
    EXPECT_EQ(timerCount(2885, kDecodeClock), 3105);  // 3104.532 rounds up
    EXPECT_EQ(timerCount(0, kDecodeClock), 0);
    EXPECT_EQ(timeTwentieths("0.35"), 7);
    EXPECT_EQ(timeTenths("10.0"), 100);
}

TEST(TwoToneTables, ADecodePageStoresItsToneAndTimerRecords) {
    RadioImage image = RadioImage::factory();
    storeDecodePage(image, 1, {{0, "1000"}, {4, "1.5"}});
    EXPECT_EQ(word(image, 0xE80), 0x2710u);
    EXPECT_EQ(word(image, 0xF80), 896u);  // 0x03 0x80
    EXPECT_EQ(word(image, 0xF82), 896u);  // B 1000.0 from the new image
    EXPECT_EQ(image.at(0xE86), 15);
    EXPECT_EQ(image.at(0xF84), 10);  // 0.5 s in 50 ms units
    EXPECT_EQ(image.at(0xF86), 30);

    // Entry 8: tone record 0xEB8-0xEBF; its timer record would be calibration, and stays.
    RadioImage before = randomImage(5);
    RadioImage after = before;
    storeDecodePage(after, 8, {{0, "1500"}, {1, "700"}, {5, "2"}});
    EXPECT_EQ(word(after, 0xEB8), 15000u);
    EXPECT_EQ(word(after, 0xEBA), 7000u);
    EXPECT_EQ(after.at(0xEBF), 20);
    for (int i = 0; i < kImageSize; ++i) {
        if (i < 0xEB8 || i > 0xEBF) {
            ASSERT_EQ(after.at(i), before.at(i)) << std::hex << i;
        }
    }
}

TEST(TwoToneTables, TheCodeTableStoresToneAndTimerPerCell) {
    RadioImage image = RadioImage::factory();
    field::Form form = field::load(encodeFields(), image, env());
    EXPECT_TRUE(field::set(form, form.index(cellKey(1, 0)), "1000").ok);
    EXPECT_TRUE(field::set(form, form.index(cellKey(32, 1)), "").ok);
    EXPECT_EQ(field::set(form, form.index(cellKey(2, 0)), "5000").text, "3106.0");
    EXPECT_EQ(field::set(form, form.index("Tx rise delay time(ms)"), "0.33").text, "0.30");
    field::store(form, image);
    EXPECT_EQ(word(image, 0xE00), 0x2710u);
    EXPECT_EQ(word(image, 0xF00), 0x0070u);
    EXPECT_EQ(word(image, 0xE7E), 0xFFFFu);
    EXPECT_EQ(word(image, 0xF7E), 0x0000u);
    EXPECT_EQ(word(image, 0xE04), 31060u);
    EXPECT_EQ(word(image, 0xF04), 36u);
    EXPECT_EQ(word(image, 0xEC5), 6u);
    EXPECT_EQ(field::load(encodeFields(), image, env()).value(cellKey(32, 1)), "");
}

TEST(TwoToneTables, AToneOfZeroStoresATimerCountOfZero) {
    RadioImage image = randomImage(9);
    image.set(0xE80, 0);
    image.set(0xE81, 0);
    image.set(0xE00, 0);
    image.set(0xE01, 0);
    storeDecodePage(image, 1, {});
    EXPECT_EQ(word(image, 0xF80), 0u);
    field::store(field::load(encodeFields(), image, env()), image);
    EXPECT_EQ(word(image, 0xF00), 0u);
}

TEST(TwoToneTables, NoStoreReachesTheCalibration) {
    for (unsigned seed : {1u, 2u, 3u}) {
        const RadioImage before = randomImage(seed);
        RadioImage after = before;
        field::Form encode = field::load(encodeFields(), after, env());
        field::set(encode, encode.index("Tone interval time(ms)"), "1.5");
        field::set(encode, encode.index("Tx rise delay time(ms)"), "0.5");
        field::store(encode, after);
        field::Form decode = field::load(decodeFields(), after, env());
        for (int k = 1; k <= kDecodeEntries; ++k)
            field::set(decode, decode.index(decodeKey(k, 0)), "1200");
        field::store(decode, after);
        for (int k = 1; k <= kDecodeEntries; ++k) storeDecodePage(after, k, {{2, "3"}});
        expectCalibrationKept(before, after);
        EXPECT_EQ(word(after, 0xEC3), 30u);
        EXPECT_EQ(word(after, 0xEB8), 12000u);
    }
}

// The command line's forms store what a run of the dialog stores: the Encode page and decode
// page 1 (shown at every opening) and the pages of the fields set, nothing else.
TEST(TwoToneTables, AFormStoresThePagesADialogRunStores) {
    RadioImage image = RadioImage::factory();
    for (int i = 0xF00; i < 0xFA0; ++i) image.set(i, 0xEE);
    field::Form decode = field::load(decodeFields(), image, env());
    ASSERT_TRUE(field::set(decode, decode.index("2-Tone3 A Tone(HZ)"), "1500").ok);
    ASSERT_TRUE(field::set(decode, decode.index("2-Tone6 B Tone(HZ)"), "999").ok);
    field::store(decode, image);
    EXPECT_EQ(word(image, 0xE90), 15000u);
    EXPECT_EQ(word(image, 0xEAA), 9990u);
    EXPECT_EQ(word(image, 0xF80), 448u);     // page 1: 2000.0 Hz
    EXPECT_EQ(word(image, 0xF90), 597u);     // page 3: 1500.0 Hz
    EXPECT_EQ(word(image, 0xF88), 0xEEEEu);  // page 2 was never shown
    EXPECT_EQ(word(image, 0xF98), 0xEEEEu);
    EXPECT_EQ(word(image, 0xF00), 56u);  // the Encode page stored its code table

    RadioImage other = RadioImage::factory();
    for (int i = 0xF00; i < 0xFA0; ++i) other.set(i, 0xEE);
    field::Form encode = field::load(encodeFields(), other, env());
    storeThisPageOnly(encode);  // a page of the dialog stores itself alone
    field::store(encode, other);
    EXPECT_EQ(word(other, 0xF00), 56u);
    EXPECT_EQ(word(other, 0xF80), 0xEEEEu);
    field::store(field::load(encodeFields(), other, env()), other);
    EXPECT_EQ(word(other, 0xF80), 448u);
    EXPECT_EQ(word(other, 0xF88), 0xEEEEu);
}

TEST(TwoToneTables, TimesShowAndStoreAsPrintfRoundsThem) {
    // 101 x 50 ms is 5.05 s, a double just below 5.05: "%2.1f" shows 5.0, and an untouched
    // interval stores that, 100, instead of climbing to 102.
    RadioImage image = RadioImage::factory();
    image.set(kCommon + 3, 0x00);
    image.set(kCommon + 4, 101);
    field::Form encode = field::load(encodeFields(), image, env());
    EXPECT_EQ(encode.value("Tone interval time(ms)"), "5.0");
    field::store(encode, image);
    EXPECT_EQ(image.at(kCommon + 4), 0x64);
    image.set(kCommon + 4, 41);
    EXPECT_EQ(field::load(encodeFields(), image, env()).value("Tone interval time(ms)"), "2.0");
    image.set(kCommon + 4, 21);
    EXPECT_EQ(field::load(encodeFields(), image, env()).value("Tone interval time(ms)"), "1.1");

    // Leaving a field rounds the typed number the same way.
    EXPECT_EQ(leave(Rule::EncodeInterval, "1.05"), "1.1");
    EXPECT_EQ(leave(Rule::DecodeTone, "1234.55"), "1234.5");
    EXPECT_EQ(leave(Rule::DecodeTone, "1234.65"), "1234.7");
}
