#include "ChannelCodec.h"

#include <QByteArray>
#include <cstdlib>

#include "ChannelRules.h"
#include "Decimal.h"
#include "Pick.h"
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

namespace msg {
namespace {
QString mhzRange(const Band& b) {
    return QStringLiteral("%1-%2 MHz").arg(b.low / kPerMHz).arg(b.high / kPerMHz);
}
// A frequency as typed: no trailing zeros.
QString typedForm(Freq v) {
    QString t = freqValueToText(v);
    while (t.endsWith(QLatin1Char('0'))) t.chop(1);
    if (t.endsWith(QLatin1Char('.'))) t.chop(1);
    return t;
}
// Receive frequencies inside band 1 near its middle, on a 6.25 kHz and on a 5 kHz step; the
// lower limit itself when the band is too narrow for them.
QString example(const Bands& bands, Freq offset) {
    const Band& b = bands.band1;
    const Freq mid = (b.low + b.high) / 2 / 2500 * 2500;
    const Freq v = mid + offset;
    return typedForm(bands.contains(v) && onFrequencyStep(v) ? v : b.low);
}
}  // namespace

QString outOfRangeDetail(const Bands& bands, bool chinese) {
    QString ranges = mhzRange(bands.band1);
    if (!(bands.band1.low == bands.band2.low && bands.band1.high == bands.band2.high))
        ranges = pick(chinese, "%1 or %2", "%1 或 %2").arg(ranges, mhzRange(bands.band2));
    return pick(chinese, "Allowed: %1 (the band limits in use; Software Info sets them)",
                "允许范围：%1（当前频段范围，可在“软件信息”中设置）")
        .arg(ranges);
}

QString badFormatDetail(const Bands& bands, bool chinese) {
    return pick(chinese, "Example of a valid entry: %1 (MHz, digits and one full stop, 67 to 600)",
                "有效输入示例：%1（单位 MHz，只含数字和一个小数点，67 到 600）")
        .arg(example(bands, 1250));
}

QString badStepDetail(const Bands& bands, bool chinese) {
    return pick(chinese, "Example of a valid entry: %1 (6.25 kHz step) or %2 (5 kHz step)",
                "有效输入示例：%1（6.25 kHz 步进）或 %2（5 kHz 步进）")
        .arg(example(bands, 1250), example(bands, 1500));
}

QString bandsInUseNote(const BandsInUse& in, uint8_t bandCode, bool chinese) {
    const char* section = bandCode == 2 ? "U Section" : bandCode == 4 ? "M Section" : "V Section";
    QString text = pick(chinese,
                        "The frequency band limits of this image cannot be used, so the "
                        "program uses:",
                        "此数据的频段范围无效，程序使用：");
    for (int i = 0; i < 2; ++i) {
        const Band& b = i == 0 ? in.bands.band1 : in.bands.band2;
        QString from;
        switch (in.source[i]) {
            case BandSource::Packed:
                from = pick(chinese, "as stored", "原有设置");
                break;
            case BandSource::Copy16:
                from = pick(chinese, "the image's second copy of the limits",
                            "数据中的第二份频段范围");
                break;
            case BandSource::BandCode:
                from = pick(chinese, "the reset values of %1", "%1 的默认值")
                           .arg(QLatin1String(section));
                break;
        }
        text +=
            QLatin1Char('\n') + pick(chinese, "Band %1: %2-%3 MHz (%4)", "频段 %1：%2-%3 MHz（%4）")
                                    .arg(i + 1)
                                    .arg(b.low / kPerMHz)
                                    .arg(b.high / kPerMHz)
                                    .arg(from);
    }
    return text + QLatin1Char('\n') +
           pick(chinese, "Software Info (Edit menu) sets the band limits.",
                "频段范围可在“编辑 > 软件信息”中设置。");
}
}  // namespace msg

namespace {

using field::Env;
using field::Field;
using field::Parsed;
using field::Text;

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

// Frequencies: 8 BCD digits. The receive frequency shows only inside the bands.
QString showFreq(const Field& f, const uint8_t* base, const Env& env) {
    const uint8_t* p = base + f.offset;
    if (freqEmpty(p[3])) return {};
    // Nibbles above 9 can make nine digits, which the record cannot hold: the cell shows
    // the eight a save stores, so a file is never changed behind what the grid shows.
    const Freq v = readBcd8(p) % 100000000;
    // ... and below 10 MHz its top byte would be 00, which reads as no frequency.
    if (v < 1000000) return {};
    if (f.offset == 0 && !env.bands.contains(v)) return {};
    return freqValueToText(v);
}

void storeFreq(const Field& f, uint8_t* base, const QString& text, const Env&) {
    const Freq v = freqTextToValue(text);
    if (v <= 0) {
        for (int i = 0; i < 4; ++i) base[f.offset + i] = 0xFF;
    } else {
        writeBcd8(v, base + f.offset);
    }
}

QString showTone(const Field& f, const uint8_t* base, const Env& env) {
    return tones::toText({base[f.offset], base[f.offset + 1]}, env.chinese);
}

void storeTone(const Field& f, uint8_t* base, const QString& text, const Env&) {
    const ToneBytes t = tones::fromText(text);
    base[f.offset] = t.low;
    base[f.offset + 1] = t.high;
}

// Every cell's typed text goes through the channel rules, as in the grid.
template <int Column>
Parsed checkColumn(const Field&, const QString& typed, const Env& env) {
    const CellVerdict v = checkCell(Column, typed, env.bands, env.chinese);
    if (v.ok()) return Parsed::accept(v.text, v.changed);
    QString why = refusalText(v, env.chinese);
    const QString detail = refusalDetail(v.notice, env.bands, env.chinese);
    if (!detail.isEmpty()) why += QLatin1Char('\n') + detail;
    return Parsed::refuse(why);
}

QStringList toneItems(const Field&, bool chinese) { return tones::list(chinese); }

// Bits 7-6 of byte 13 follow from the two frequencies; the record encoder sets them.
QString showNothing(const Field&, const uint8_t*, const Env&) { return {}; }
void storeNothing(const Field&, uint8_t*, const QString&, const Env&) {}

const field::Codec kFreqCodec{showFreq, storeFreq, nullptr, nullptr};
const field::Codec kToneCodec{showTone, storeTone, nullptr, toneItems};
const field::Codec kShiftCodec{showNothing, storeNothing, nullptr, nullptr};

std::vector<Text> texts(const choices::Pair* pairs, int n) {
    std::vector<Text> out;
    for (int i = 0; i < n; ++i) out.push_back({pairs[i].en, pairs[i].zh});
    return out;
}

field::Table buildChannelTable() {
    using field::kHidden;
    using field::kNormalises;
    field::Table t;
    t.section = "channels";
    t.title = {"Channel Information", "信道信息"};
    t.base = 0;
    t.stride = kRecordSize;
    t.count = kChannelCount;
    t.fields = {
        Field::custom("Rx Frequency", {"Rx Frequency", "接收频率"}, 0, 4, &kFreqCodec)
            .withCheck(checkColumn<kColRx>)
            .with(kNormalises)
            .newImage(""),
        Field::custom("Tx Frequency", {"Tx Frequency", "发射频率"}, 4, 4, &kFreqCodec)
            .withCheck(checkColumn<kColTx>)
            .with(kNormalises),
        Field::custom("QT/DQT Dec", {"QT/DQT Dec", "QT/DQT解码"}, 8, 2, &kToneCodec)
            .withCheck(checkColumn<kColDecTone>)
            .with(kNormalises),
        Field::custom("QT/DQT Enc", {"QT/DQT Enc", "QT/DQT编码"}, 10, 2, &kToneCodec)
            .withCheck(checkColumn<kColEncTone>)
            .with(kNormalises),
        Field::ascii("Chnnel Name", {"Chnnel Name", "信道名字"}, 16, kNameBytes)
            .withCheck(checkColumn<kColName>)
            .with(kNormalises),
        Field::mapped("Power", {"Power", "功率"}, 13, 0x21, texts(choices::kPower, 3),
                      {{0x00, 0}, {0x01, 1}, {0x20, 2}})
            .withNoMatch(0x00)
            .withCheck(checkColumn<kColPower>)
            .with(kNormalises),
        Field::mapped("W/N", {" W/N ", "宽/窄"}, 13, 0x10, texts(choices::kBandwidth, 2),
                      {{0x10, 0}, {0x00, 1}})
            .withNoMatch(0x00)
            .withCheck(checkColumn<kColBandwidth>),
        Field::mapped("Scan Add", {"Scan Add", "扫描添加"}, 13, 0x08, texts(choices::kScan, 2),
                      {{0x08, 0}, {0x00, 1}})
            .withNoMatch(0x00)
            .withCheck(checkColumn<kColScan>),
        Field::mapped("Busy Lock", {"Busy Lock", "繁忙锁定"}, 13, 0x06,
                      texts(choices::kBusyLock, 3), {{0x00, 0}, {0x02, 1}, {0x04, 2}, {0x06, 2}})
            .withNoMatch(0x04)
            .withCheck(checkColumn<kColBusyLock>)
            .with(kNormalises),
        Field::list("PTT ID", {"PTT ID", "PTT ID"}, 12, 0x30, texts(choices::kPttId, 4))
            .withCheck(checkColumn<kColPttId>),
        Field::custom("Shift", {"Shift", "频差方向"}, 13, 1, &kShiftCodec)
            .withMask(0xC0)
            .with(kHidden),
    };
    return t;
}

}  // namespace

bool onFrequencyStep(Freq v) { return v % 500 == 0 || v % 625 == 0; }

namespace {
// The receive frequency a record holds, shown or not; 0 for none.
Freq storedRx(const RadioImage& image, int n) {
    const field::Env wide{false, {{1, kHighestEntry * 20}, {1, kHighestEntry * 20}}, false};
    return freqTextToValue(
        field::show(channelFields().fields[kColRx], image.data() + recordOffset(n), wide));
}
}  // namespace

QList<int> channelsHiddenBy(const RadioImage& image, const Bands& bands) {
    QList<int> out;
    for (int n = 1; n <= kChannelCount; ++n) {
        const Freq rx = storedRx(image, n);
        if (rx > 0 && !bands.contains(rx)) out << n;
    }
    return out;
}

QList<int> channelsOutside(const RadioImage& image, const Bands& bands, const Band& range) {
    QList<int> out;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRow row = decodeChannel(image.data() + recordOffset(n), bands, false);
        if (row[kColRx].isEmpty()) continue;
        const Freq rx = freqTextToValue(row[kColRx]);
        const Freq tx = freqTextToValue(row[kColTx]);
        if (!range.contains(rx) || (tx > 0 && !range.contains(tx))) out << n;
    }
    return out;
}

namespace msg {

QString channelList(const RadioImage& image, const QList<int>& channels, bool chinese) {
    constexpr int kListed = 12;
    QStringList parts;
    for (int i = 0; i < channels.size() && i < kListed; ++i)
        parts << QStringLiteral("%1 (%2)").arg(channelLabel(channels[i]),
                                               freqValueToText(storedRx(image, channels[i])));
    QString text = parts.join(pick(chinese, ", ", "，"));
    if (channels.size() > kListed)
        text += pick(chinese, " and %1 more", " 等另外 %1 个").arg(channels.size() - kListed);
    return text;
}

QString bandsText(const Bands& bands, bool chinese) {
    return pick(chinese, "band 1 %1, band 2 %2", "频段 1 %1，频段 2 %2")
        .arg(mhzRange(bands.band1), mhzRange(bands.band2));
}

QString hiddenChannelsNote(const RadioImage& image, const QList<int>& channels, const Bands& bands,
                           bool afterEdit, bool chinese) {
    QString text =
        pick(chinese,
             "These channels have receive frequencies outside the band limits in use (%1):",
             "以下信道的接收频率超出当前频段范围（%1）：")
            .arg(bandsText(bands, chinese)) +
        QLatin1Char('\n') + channelList(image, channels, chinese) + QLatin1Char('\n') +
        pick(chinese, "They show empty, and the next save or write clears them.",
             "这些信道显示为空，下次保存或写入时将被清除。") +
        QLatin1Char('\n');
    return text + (afterEdit ? pick(chinese, "Undo (Edit menu) brings them back.",
                                    "撤销（编辑菜单）可恢复这些信道。")
                             : pick(chinese,
                                    "Band limits that include them (Software Info, Edit menu) "
                                    "show them again.",
                                    "在“编辑 > 软件信息”中设置包含它们的频段范围即可重新显示。"));
}

}  // namespace msg

const field::Table& channelFields() {
    static const field::Table table = buildChannelTable();
    return table;
}

QString channelLabel(int n) { return n == kFrChannel ? QStringLiteral("Fr") : QString::number(n); }

Freq freqTextToValue(const QString& text) { return scaledDecimal(text, 5); }

QString freqValueToText(Freq value) {
    return QString::asprintf("%3.5f", static_cast<double>(value) / kPerMHz);
}

ChannelRow decodeChannel(const uint8_t* r, const Bands& bands, bool chinese) {
    const field::Table& t = channelFields();
    const Env env{chinese, bands, false};
    ChannelRow row;
    row[kColRx] = field::show(t.fields[kColRx], r, env);
    if (row[kColRx].isEmpty()) return row;
    row[kColTx] = field::show(t.fields[kColTx], r, env);
    const bool noTx = row[kColTx].isEmpty();
    for (int c : {kColDecTone, kColEncTone}) {
        row[c] = field::show(t.fields[c], r, env);
        // Without a transmit frequency no tone shows as nothing at all.
        if (noTx && row[c] == tones::noneText(chinese)) row[c].clear();
    }
    if (noTx) return row;
    for (int c = kColName; c < kColumnCount; ++c) row[c] = field::show(t.fields[c], r, env);
    return row;
}

void encodeChannel(const ChannelRow& row, uint8_t* r, const Bands& bands) {
    const field::Table& t = channelFields();
    const Env env{false, bands, false};
    if (!bands.contains(freqTextToValue(row[kColRx]))) {
        for (int i = 0; i < kRecordSize; ++i) r[i] = 0xFF;
        return;
    }
    for (int c = 0; c < kColumnCount; ++c) field::store(t.fields[c], r, row[c], env);

    // Shift direction compares the two texts as plain decimal numbers.
    const double rxNum = leadingNumber(row[kColRx]);
    const double txNum = leadingNumber(row[kColTx]);
    uint8_t b13 = r[13] & ~0xC0;
    if (txNum != 0 && rxNum != 0 && txNum != rxNum) b13 |= txNum > rxNum ? 0x80 : 0x40;
    r[13] = b13;
}

}  // namespace cps
