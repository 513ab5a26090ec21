#include <gtest/gtest.h>

#include <QByteArray>

#include "ChannelCodec.h"
#include "Decimal.h"
#include "Tones.h"

using namespace cps;

namespace {

const Bands kBands{{134 * kPerMHz, 176 * kPerMHz}, {134 * kPerMHz, 176 * kPerMHz}};

QByteArray record(const char* hex) { return QByteArray::fromHex(QByteArray(hex).replace(' ', "")); }

uint8_t* raw(QByteArray& r) { return reinterpret_cast<uint8_t*>(r.data()); }

ChannelRow decode(QByteArray r, bool chinese = false) {
    return decodeChannel(raw(r), kBands, chinese);
}

ChannelRow rowOf(std::initializer_list<const char*> texts) {
    ChannelRow row;
    int i = 0;
    for (const char* t : texts) row[i++] = QString::fromUtf8(t);
    return row;
}

QByteArray encode(const ChannelRow& row, QByteArray previous = QByteArray(24, char(0xFF))) {
    encodeChannel(row, raw(previous), kBands);
    return previous;
}

const char* kSample = "00256113 00256113 FFFF FFFF CF 38 FFFF 414243FFFFFFFFFF";

}  // namespace

TEST(ChannelCodec, DecodesAndEncodesAFullChannel) {
    const ChannelRow row = decode(record(kSample));
    EXPECT_EQ(row, rowOf({"136.12500", "136.12500", "None", "None", "ABC", "High", "Wide", "Yes",
                          "Off", "Off"}));
    EXPECT_EQ(encode(row, record(kSample)).toHex().toStdString(),
              record(kSample).toHex().toStdString());
    // From an erased record the bits no editor owns keep their erased-memory ones.
    EXPECT_EQ(
        encode(row).toHex().toStdString(),
        record("00256113 00256113 FFFF FFFF CF 38 FFFF 414243FFFFFFFFFF").toHex().toStdString());
}

TEST(ChannelCodec, ChineseTextsDecodeAndEitherLanguageEncodes) {
    const ChannelRow zh = decode(record(kSample), true);
    EXPECT_EQ(zh,
              rowOf({"136.12500", "136.12500", "无", "无", "ABC", "高", "宽", "是", "关", "关"}));
    EXPECT_EQ(encode(zh, record(kSample)).toHex().toStdString(),
              record(kSample).toHex().toStdString());

    const ChannelRow mixed =
        rowOf({"150", "155", "D023N", "88.5", "", "中", "Narrow", "否", "载波", "两者"});
    const QByteArray r = encode(mixed);
    EXPECT_EQ(
        r.toHex().toStdString(),
        record("00000015 00005015 2380 8508 FF 83 FFFF FFFFFFFFFFFFFFFF").toHex().toStdString());
    EXPECT_EQ(decode(r), rowOf({"150.00000", "155.00000", "D023N", "88.5", "", "Middle", "Narrow",
                                "No", "Carrier", "Both"}));
}

TEST(ChannelCodec, ReceiveFrequencyOutsideTheBandsEmptiesTheRowAndErasesTheRecord) {
    QByteArray r = record("00000018 00000018 FFFF FFFF FF 38 FFFF 41FFFFFFFFFFFFFF");  // 180 MHz
    EXPECT_EQ(decode(r), ChannelRow{});
    EXPECT_EQ(decode(record("FFFFFF00 00000015 FFFF FFFF FF 38 FFFF FFFFFFFFFFFFFFFF")),
              ChannelRow{});
    EXPECT_EQ(encode(rowOf({"180", "150"}), r), QByteArray(24, char(0xFF)));
    EXPECT_EQ(encode(ChannelRow{}, record(kSample)), QByteArray(24, char(0xFF)));
}

TEST(ChannelCodec, ChannelWithoutTransmitFrequency) {
    const ChannelRow row =
        decode(record("00256113 FFFFFFFF FFFF 8508 FF 38 FFFF 414243FFFFFFFFFF"));
    EXPECT_EQ(row, rowOf({"136.12500", "", "", "88.5"}));
    // Stored back: name erased, Low, Narrow, no scan, busy lock QT/DQT, PTT ID kept, no shift.
    const QByteArray r =
        encode(row, record("00256113 00256113 FFFF FFFF EF FF 1234 414243FFFFFFFFFF"));
    EXPECT_EQ(
        r.toHex().toStdString(),
        record("00256113 FFFFFFFF FFFF 8508 EF 04 1234 FFFFFFFFFFFFFFFF").toHex().toStdString());
}

TEST(ChannelCodec, FieldBits) {
    // Both power bits set show no power text and store back as Low.
    ChannelRow row = decode(record("00000015 00000015 FFFF FFFF 00 21 FFFF FFFFFFFFFFFFFFFF"));
    EXPECT_EQ(row[kColPower], "");
    EXPECT_EQ(static_cast<uint8_t>(encode(row)[13]) & 0x21, 0);
    // Busy lock 11 reads as QT/DQT; PTT ID bits of every value.
    EXPECT_EQ(decode(record("00000015 00000015 FFFF FFFF 30 06 FFFF FF"))[kColBusyLock], "QT/DQT");
    const char* ptt[4] = {"Off", "BOT", "EOT", "Both"};
    for (int v = 0; v < 4; ++v) {
        QByteArray r = record("00000015 00000015 FFFF FFFF 00 00 FFFF FFFFFFFFFFFFFFFF");
        r[12] = char(0xC5 | (v << 4));
        row = decode(r);
        EXPECT_EQ(row[kColPttId], ptt[v]);
        EXPECT_EQ(static_cast<uint8_t>(encode(row, r)[12]), 0xC5 | (v << 4));  // other bits kept
    }
    // An unknown PTT ID text leaves the bits as they were.
    row[kColPttId] = "?";
    QByteArray r = record("00000015 00000015 FFFF FFFF 20 00 FFFF FFFFFFFFFFFFFFFF");
    EXPECT_EQ(static_cast<uint8_t>(encode(row, r)[12]), 0x20);
}

TEST(ChannelCodec, ShiftDirectionFollowsTheTwoFrequencies) {
    auto shift = [](const char* rx, const char* tx) {
        return static_cast<uint8_t>(encode(
                   rowOf({rx, tx, "None", "None", "", "Low", "Wide", "No", "Off", "Off"}))[13]) &
               0xC0;
    };
    EXPECT_EQ(shift("150", "150.00000"), 0x00);
    EXPECT_EQ(shift("150", "155"), 0x80);
    EXPECT_EQ(shift("150", "145"), 0x40);
    EXPECT_EQ(shift("150", ""), 0x00);
}

TEST(ChannelCodec, NamesKeepEightBytesAndStopAtTheFirstGap) {
    EXPECT_EQ(decode(record("00000015 00000015 FFFF FFFF FF 38 FFFF 4142434445464748"))[kColName],
              "ABCDEFGH");
    EXPECT_EQ(decode(record("00000015 00000015 FFFF FFFF FF 38 FFFF 41420043FFFFFFFF"))[kColName],
              "AB");
    ChannelRow row = rowOf({"150", "150", "None", "None", "ABCDEFGHIJ"});
    EXPECT_EQ(encode(row).mid(16).toHex().toStdString(), std::string("4142434445464748"));
}

TEST(ChannelCodec, FrequencyTextIsScaledExactly) {
    EXPECT_EQ(freqTextToValue("136.0125"), 13601250);
    EXPECT_EQ(encode(rowOf({"136.0125", "136.0125"})).left(4).toHex().toStdString(),
              std::string("50126013"));
    EXPECT_EQ(freqTextToValue("145.503"), 14550300);
    EXPECT_EQ(freqTextToValue("136.000019"), 13600001);  // cut, not rounded
    EXPECT_EQ(freqTextToValue(""), 0);
    EXPECT_EQ(freqTextToValue("abc"), 0);
    EXPECT_EQ(freqTextToValue("150abc"), 15000000);
    EXPECT_EQ(freqTextToValue("-1"), -100000);
    EXPECT_EQ(freqTextToValue("1e300"), freqTextToValue("1e299"));  // saturates, no overflow
    EXPECT_EQ(freqValueToText(13601250), "136.01250");
    // Every 2.5 kHz step between 67 and 600 MHz survives text and back.
    for (Freq f = 67 * kPerMHz; f <= 600 * kPerMHz; f += 250)
        ASSERT_EQ(freqTextToValue(freqValueToText(f)), f) << f;
}

TEST(ChannelCodec, NumbersAreReadAsTheCLibraryReadsThemWhateverTheLocale) {
    EXPECT_EQ(leadingNumber(" +1.5e2x"), 150.0);
    EXPECT_EQ(leadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(leadingNumber("-.5"), -0.5);
    EXPECT_EQ(leadingNumber("7e"), 7.0);
    EXPECT_EQ(leadingNumber("1,5"), 1.0);  // a comma never is a decimal point here
    EXPECT_EQ(leadingNumber("x1"), 0.0);
    EXPECT_EQ(leadingNumber(""), 0.0);
}

TEST(ChannelCodec, Labels) {
    EXPECT_EQ(channelLabel(1), "1");
    EXPECT_EQ(channelLabel(128), "128");
    EXPECT_EQ(channelLabel(129), "Fr");
    EXPECT_EQ(recordOffset(129), 0xC00);
}

// A transmit frequency with a nibble above 9 in its top byte reads as nine digits; the cell
// shows the eight the record holds, so a save does not change it behind the grid.
TEST(ChannelCodec, FrequencyBeyondEightDigitsShowsWhatASaveStores) {
    const Bands bands{{134 * kPerMHz, 176 * kPerMHz}, {134 * kPerMHz, 176 * kPerMHz}};
    uint8_t record[kRecordSize];
    std::fill(record, record + kRecordSize, 0xFF);
    const uint8_t rx[4] = {0x00, 0x00, 0x55, 0x14};  // 145.50000
    const uint8_t tx[4] = {0x13, 0x11, 0x31, 0xA4};  // top byte reads as 104
    std::copy(rx, rx + 4, record);
    std::copy(tx, tx + 4, record + 4);
    const ChannelRow shown = decodeChannel(record, bands, false);
    EXPECT_EQ(shown[kColTx], QStringLiteral("43.11113"));
    uint8_t saved[kRecordSize];
    std::copy(record, record + kRecordSize, saved);
    encodeChannel(shown, saved, bands);
    EXPECT_EQ(decodeChannel(saved, bands, false)[kColTx], shown[kColTx]);
    // Top byte A0 reads as 100: what is left is below 10 MHz, which a save would store with
    // the top byte 00, the mark of no frequency. It shows as none.
    record[7] = 0xA0;
    EXPECT_EQ(decodeChannel(record, bands, false)[kColTx], QString());
}

// A CTCSS tone byte 0x7A-0x7F (nibble above 9) would read as 800.0 Hz or more and be saved
// as a DCS code; it shows as no tone, which is what a save then stores.
TEST(ChannelCodec, ToneBeyondTheCtcssRangeShowsAsNone) {
    EXPECT_EQ(tones::toText({0xFD, 0x7F}, false, false), QStringLiteral("None"));
    EXPECT_EQ(tones::toText({0x99, 0x79}, false, false), QStringLiteral("799.9"));
    EXPECT_EQ(tones::toText({0x00, 0x7A}, true, true), QString());
    // A DCS low byte A5 reads as 105: D6465N would be saved as D065I.
    EXPECT_EQ(tones::toText({0xA5, 0xBF}, false, false), QStringLiteral("None"));
    EXPECT_EQ(tones::toText({0x54, 0x87}, false, false), QStringLiteral("D754N"));
}
