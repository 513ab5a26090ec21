#include "ChannelCodec.h"

#include <QByteArray>
#include <cstdlib>

#include "Decimal.h"
#include "Tones.h"

namespace cps {

namespace choices {
const Pair kPower[3] = {{"Low", "低"}, {"Middle", "中"}, {"High", "高"}};
const Pair kBandwidth[2] = {{"Wide", "宽"}, {"Narrow", "窄"}};
const Pair kScan[2] = {{"Yes", "是"}, {"No", "否"}};
const Pair kBusyLock[3] = {{"Off", "关"}, {"Carrier", "载波"}, {"QT/DQT", "QT/DQT"}};
const Pair kPttId[4] = {{"Off", "关"}, {"BOT", "发射开始"}, {"EOT", "发射结束"}, {"Both", "两者"}};

QString text(const Pair& p, bool chinese) {
    return chinese ? QString::fromUtf8(p.zh) : QString::fromUtf8(p.en);
}

bool matches(const QString& text, const Pair& p) {
    return text == QString::fromUtf8(p.en) || text == QString::fromUtf8(p.zh);
}
}  // namespace choices

namespace {

Freq readBcd8(const uint8_t* p) {
    Freq f = 0;
    for (int b = 3; b >= 0; --b) f = f * 100 + 10 * (p[b] >> 4) + (p[b] & 0x0F);
    return f;
}

void writeBcd8(Freq value, uint8_t* p) {
    static const Freq divisors[4] = {1, 100, 10000, 1000000};
    for (int b = 3; b >= 0; --b) {
        const Freq pair = value / divisors[b];
        value %= divisors[b];
        p[b] = static_cast<uint8_t>(16 * (pair / 10) + pair % 10);
    }
}

bool freqEmpty(uint8_t top) { return top == 0xFF || top == 0x00; }

}  // namespace

QString channelLabel(int n) { return n == kFrChannel ? QStringLiteral("Fr") : QString::number(n); }

Freq freqTextToValue(const QString& text) { return scaledDecimal(text, 5); }

QString freqValueToText(Freq value) {
    return QString::asprintf("%3.5f", static_cast<double>(value) / kPerMHz);
}

ChannelRow decodeChannel(const uint8_t* r, const Bands& bands, bool chinese) {
    ChannelRow row;
    if (freqEmpty(r[3])) return row;
    const Freq rx = readBcd8(r);
    if (!bands.contains(rx)) return row;
    row[kColRx] = freqValueToText(rx);
    if (!freqEmpty(r[7])) row[kColTx] = freqValueToText(readBcd8(r + 4));
    const bool noTx = row[kColTx].isEmpty();
    row[kColDecTone] = tones::toText({r[8], r[9]}, chinese, noTx);
    row[kColEncTone] = tones::toText({r[10], r[11]}, chinese, noTx);
    if (noTx) return row;

    QByteArray name;
    for (int i = 16; i < 24 && r[i] != 0xFF && r[i] != 0x00; ++i)
        name.append(static_cast<char>(r[i]));
    row[kColName] = QString::fromLatin1(name);

    switch (r[13] & 0x21) {
        case 0x00:
            row[kColPower] = choices::text(choices::kPower[0], chinese);
            break;
        case 0x01:
            row[kColPower] = choices::text(choices::kPower[1], chinese);
            break;
        case 0x20:
            row[kColPower] = choices::text(choices::kPower[2], chinese);
            break;
        default:
            break;  // both bits set: not shown
    }
    row[kColBandwidth] = choices::text(choices::kBandwidth[(r[13] & 0x10) ? 0 : 1], chinese);
    row[kColScan] = choices::text(choices::kScan[(r[13] & 0x08) ? 0 : 1], chinese);
    const int busy = r[13] & 0x06;
    row[kColBusyLock] = choices::text(choices::kBusyLock[busy == 0   ? 0
                                                         : busy == 2 ? 1
                                                                     : 2],
                                      chinese);
    row[kColPttId] = choices::text(choices::kPttId[(r[12] & 0x30) >> 4], chinese);
    return row;
}

void encodeChannel(const ChannelRow& row, uint8_t* r, const Bands& bands) {
    const Freq rx = freqTextToValue(row[kColRx]);
    if (!bands.contains(rx)) {
        for (int i = 0; i < kRecordSize; ++i) r[i] = 0xFF;
        return;
    }
    writeBcd8(rx, r);
    const Freq tx = freqTextToValue(row[kColTx]);
    if (tx == 0) {
        for (int i = 4; i < 8; ++i) r[i] = 0xFF;
    } else {
        writeBcd8(tx, r + 4);
    }
    const ToneBytes dec = tones::fromText(row[kColDecTone]);
    const ToneBytes enc = tones::fromText(row[kColEncTone]);
    r[8] = dec.low;
    r[9] = dec.high;
    r[10] = enc.low;
    r[11] = enc.high;

    const QByteArray name = row[kColName].toLatin1();
    for (int i = 0; i < 8; ++i) r[16 + i] = i < name.size() ? static_cast<uint8_t>(name[i]) : 0xFF;

    uint8_t b13 = r[13] & ~0x21;
    if (choices::matches(row[kColPower], choices::kPower[2])) b13 |= 0x20;
    if (choices::matches(row[kColPower], choices::kPower[1])) b13 |= 0x01;
    b13 =
        choices::matches(row[kColBandwidth], choices::kBandwidth[0]) ? (b13 | 0x10) : (b13 & ~0x10);
    b13 = choices::matches(row[kColScan], choices::kScan[0]) ? (b13 | 0x08) : (b13 & ~0x08);
    b13 &= ~0x06;
    if (choices::matches(row[kColBusyLock], choices::kBusyLock[1])) {
        b13 |= 0x02;
    } else if (!choices::matches(row[kColBusyLock], choices::kBusyLock[0])) {
        b13 |= 0x04;
    }

    for (int v = 0; v < 4; ++v) {
        if (choices::matches(row[kColPttId], choices::kPttId[v])) {
            r[12] = static_cast<uint8_t>((r[12] & ~0x30) | (v << 4));
            break;
        }
    }

    // Shift direction compares the two texts as plain decimal numbers.
    const double rxNum = leadingNumber(row[kColRx]);
    const double txNum = leadingNumber(row[kColTx]);
    b13 &= ~0xC0;
    if (txNum != 0 && rxNum != 0 && txNum != rxNum) b13 |= txNum > rxNum ? 0x80 : 0x40;
    r[13] = b13;
}

}  // namespace cps
