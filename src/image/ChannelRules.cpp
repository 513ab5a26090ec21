#include "ChannelRules.h"

#include "Pick.h"
#include "Tones.h"

namespace cps {

namespace msg {
const field::Text kCaution{"Caution", "注意"};
const field::Text kOutOfRange{"Out of range, please input again.", "超出范围，请重新输入。"};
const field::Text kBadFormat{"Error Data Format, please input again.",
                             "数据格式错误，请重新输入。"};
const field::Text kBadStep{"Error data Value, please input according the step value(6.25K/5k).",
                           "数据值错误，请按步进值(6.25K/5K)输入。"};
}  // namespace msg

namespace {

CellVerdict accept(int column, const QString& text, bool changed = false) {
    CellVerdict v;
    v.column = column;
    v.text = text;
    v.changed = changed;
    return v;
}

CellVerdict refuse(int column, Notice notice, char16_t character = 0) {
    CellVerdict v;
    v.column = column;
    v.notice = notice;
    v.character = character;
    return v;
}

// Tone texts name the same stored tone ("d023n" and "D023N", "" and "None" do).
bool sameTone(const QString& a, const QString& b) {
    return tones::fromText(a.toUpper()) == tones::fromText(b.toUpper());
}

struct Items {
    const choices::Pair* pairs = nullptr;
    int count = 0;
};

Items listOf(int column) {
    switch (column) {
        case kColPower:
            return {choices::kPower, 3};
        case kColBandwidth:
            return {choices::kBandwidth, 2};
        case kColScan:
            return {choices::kScan, 2};
        case kColBusyLock:
            return {choices::kBusyLock, 3};
        case kColPttId:
            return {choices::kPttId, 4};
        default:
            return {};
    }
}

QStringList itemTexts(int column, bool chinese) {
    const Items items = listOf(column);
    QStringList out;
    for (int i = 0; i < items.count; ++i) out << choices::text(items.pairs[i], chinese);
    return out;
}

int findItem(int column, const QString& text, bool chinese) {
    for (bool zh : {chinese, !chinese}) {
        const QStringList list = itemTexts(column, zh);
        for (int i = 0; i < list.size(); ++i)
            if (list[i].compare(text, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

CellVerdict checkFrequency(int column, const QString& typed, const Bands& bands) {
    if (typed.isEmpty()) return accept(column, {});
    if (!frequencyForm(typed)) return refuse(column, Notice::BadFormat);
    const Freq v = freqTextToValue(typed);
    if (column == kColTx) {
        // Outside the bands it silently becomes band 1's lower limit.
        if (bands.contains(v)) return accept(column, freqValueToText(v));
        return accept(column, freqValueToText(bands.band1.low), true);
    }
    if (v < kLowestEntry || v > kHighestEntry) return refuse(column, Notice::BadFormat);
    if (!onFrequencyStep(v)) return refuse(column, Notice::BadStep);
    if (!bands.contains(v)) return refuse(column, Notice::OutOfRange);
    return accept(column, freqValueToText(v));
}

}  // namespace

bool frequencyForm(const QString& text) {
    int points = 0;
    int digits = 0;
    for (QChar c : text) {
        if (c == QLatin1Char('.')) {
            if (++points > 1) return false;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ++digits;
        } else {
            return false;
        }
    }
    return digits > 0;
}

CellVerdict checkCell(int column, const QString& typed, const Bands& bands, bool chinese) {
    if (column == kColRx || column == kColTx) return checkFrequency(column, typed, bands);
    if (column == kColDecTone || column == kColEncTone) {
        QString shown;
        if (!tones::checkTyped(typed, chinese, &shown)) return refuse(column, Notice::NoTone);
        return accept(column, shown, !sameTone(typed, shown));
    }
    if (column == kColName) {
        if (typed.size() > kNameBytes) return refuse(column, Notice::NameTooLong);
        // A name byte is anything but the two values that end the name in the record: what
        // a radio holds comes back through a copy and a paste, whatever it is.
        for (QChar c : typed)
            if (c.unicode() == 0x00 || c.unicode() >= 0xFF)
                return refuse(column, Notice::NameCharacter, c.unicode());
        return accept(column, typed);
    }
    // An empty list cell is what a channel without transmit frequency shows.
    if (typed.isEmpty()) return accept(column, {});
    const int i = findItem(column, typed, chinese);
    if (i < 0) return refuse(column, Notice::NoItem);
    return accept(column, itemTexts(column, chinese).at(i));
}

QStringList columnItems(int column, bool chinese) {
    if (column == kColDecTone || column == kColEncTone) return tones::list(chinese);
    return itemTexts(column, chinese);
}

int findColumnItem(int column, const QString& text, bool chinese) {
    if (column == kColDecTone || column == kColEncTone) {
        for (bool zh : {chinese, !chinese}) {
            const QStringList& list = tones::list(zh);
            for (int i = 0; i < list.size(); ++i)
                if (list[i].compare(text, Qt::CaseInsensitive) == 0) return i;
        }
        return -1;
    }
    return findItem(column, text, chinese);
}

QString refusalText(const CellVerdict& v, bool chinese) {
    switch (v.notice) {
        case Notice::None:
            break;
        case Notice::OutOfRange:
            return msg::kOutOfRange.get(chinese);
        case Notice::BadFormat:
            return msg::kBadFormat.get(chinese);
        case Notice::BadStep:
            return msg::kBadStep.get(chinese);
        case Notice::NameTooLong:
            return pick(chinese, "longer than the %1 characters the record holds",
                        "超过记录可存的 %1 个字符")
                .arg(kNameBytes);
        case Notice::NameCharacter:
            return pick(chinese, "'%1' cannot be stored in a name (single-byte characters only)",
                        "'%1' 无法存入信道名字（只能是单字节字符）")
                .arg(v.character < 0x20
                         ? QStringLiteral("\\x%1").arg(int(v.character), 2, 16, QLatin1Char('0'))
                         : QString(QChar(v.character)));
        case Notice::NoTone:
            return pick(chinese,
                        "not None, a tone from 60.0 to 259.9 or a code of the tone list such as "
                        "D023N",
                        "不是 无、60.0 到 259.9 的亚音或亚音表中的数字码（如 D023N）");
        case Notice::NoItem:
            return pick(chinese, "not an item of the list: %1", "不是列表中的项：%1")
                .arg(itemTexts(v.column, chinese)
                         .join(chinese ? QStringLiteral("、") : QStringLiteral(", ")));
    }
    return {};
}

QString refusalDetail(Notice notice, const Bands& bands, bool chinese) {
    switch (notice) {
        case Notice::OutOfRange:
            return msg::outOfRangeDetail(bands, chinese);
        case Notice::BadFormat:
            return msg::badFormatDetail(bands, chinese);
        case Notice::BadStep:
            return msg::badStepDetail(bands, chinese);
        default:
            return {};
    }
}

}  // namespace cps
