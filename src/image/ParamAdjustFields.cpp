#include "ParamAdjustFields.h"

#include <algorithm>
#include <cmath>

#include "Decimal.h"
#include "Pick.h"

namespace cps {

namespace {

using field::Env;
using field::Field;
using field::Parsed;
using field::Text;

long long wholeNumber(const QString& text) {
    const double v = leadingNumber(text);
    if (std::isnan(v)) return 0;
    return static_cast<long long>(std::clamp(v, -1e9, 1e9));
}

long long readLowFirst(const Field& f, const uint8_t* base) {
    long long v = 0;
    for (int i = f.width - 1; i >= 0; --i) v = (v << 8) | base[f.offset + i];
    return v;
}

void writeLowFirst(const Field& f, uint8_t* base, long long v) {
    for (int i = 0; i < f.width; ++i)
        base[f.offset + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

// Numeric lists: the numbers of [min, max] as items; noMatch holds the default.
QStringList numberItems(const Field& f, bool) {
    QStringList out;
    for (long long v = f.min; v <= f.max; ++v) out << QString::number(v);
    return out;
}

// The list selects by text: the first item that begins with the stored digits, so a stored
// 3 in a list from 30 selects "30". A value that no item begins with would leave the list
// empty and be stored as 0; it takes the default instead, as every other value outside the
// range does.
QString showNumberList(const Field& f, const uint8_t* base, const Env&) {
    const QString digits = QString::number(readLowFirst(f, base));
    for (long long v = f.min; v <= f.max; ++v) {
        const QString item = QString::number(v);
        if (item.startsWith(digits)) return item;
    }
    return QString::number(f.noMatch);
}

void storeNumberList(const Field& f, uint8_t* base, const QString& text, const Env&) {
    long long v = f.noMatch;
    if (!text.trimmed().isEmpty()) {
        v = wholeNumber(text);
        if (v < f.min || v > f.max) v = f.noMatch;
    }
    writeLowFirst(f, base, v);
}

Parsed parseListItem(const Field& f, const QString& typed, const Env& env) {
    bool ok = false;
    const long long v = typed.trimmed().toLongLong(&ok);
    if (!ok || v < f.min || v > f.max)
        return Parsed::refuse(
            pick(env.chinese, "\"%1\" is not one of: %2 to %3", "\"%1\" 不在 %2 到 %3 之间")
                .arg(typed)
                .arg(f.min)
                .arg(f.max));
    return Parsed::accept(QString::number(v));
}

// Sign and magnitude: bit 7 set for a negative number, bits 0-6 its absolute value.
QString showSignMagnitude(const Field& f, const uint8_t* base, const Env&) {
    const uint8_t b = base[f.offset];
    const int v = (b & 0x80) ? -(b & 0x7F) : (b & 0x7F);
    return QString::number(v >= f.min && v <= f.max ? v : f.min);
}

void storeSignMagnitude(const Field& f, uint8_t* base, const QString& text, const Env&) {
    const long long v =
        text.trimmed().isEmpty() ? f.noMatch : std::clamp(wholeNumber(text), -127LL, 127LL);
    base[f.offset] = static_cast<uint8_t>((v < 0 ? 0x80 : 0x00) | std::llabs(v));
}

// Grid cells: a byte above 128 shows (and stores) the cell's default; a typed value is
// limited to 5 to 100 when the edit is left.
QString showCell(const Field& f, const uint8_t* base, const Env&) {
    const int b = base[f.offset];
    return QString::number(b > 128 ? f.noMatch : b);
}

void storeCell(const Field& f, uint8_t* base, const QString& text, const Env&) {
    long long v = text.trimmed().isEmpty() ? f.noMatch : wholeNumber(text);
    if (v < 0 || v > 128) v = f.noMatch;
    base[f.offset] = static_cast<uint8_t>(v);
}

Parsed parseLevel(const Field&, const QString& typed, const Env&) {
    const QString text = QString::number(clampedLevel(typed));
    return Parsed::accept(text, text != typed.trimmed());
}

const field::Codec kNumberList{showNumberList, storeNumberList, parseListItem, numberItems};
const field::Codec kSignMagnitude{showSignMagnitude, storeSignMagnitude, parseListItem,
                                  numberItems};
const field::Codec kCell{showCell, storeCell, parseLevel, nullptr};

// The default, shown for a byte out of range, is also what a new image holds.
Field numberList(const char* key, Text label, int offset, int width, int min, int max,
                 const char* byDefault, const field::Codec* codec = &kNumberList) {
    Field f = Field::custom(key, label, offset, width, codec);
    f.min = min;
    f.max = max;
    f.noMatch = QByteArray(byDefault).toInt();
    return f.with(field::kNormalises).newImage(byDefault);
}

const Text kRows[kDetectRows] = {{"sql detect 1", "静噪检测 1"},
                                 {"sql detect 2", "静噪检测 2"},
                                 {"sql detect 3", "静噪检测 3"},
                                 {"sql detect 4", "静噪检测 4"}};
const Text kCols[kDetectCols] = {{"narrow low", "窄带 低"},
                                 {"narrow high", "窄带 高"},
                                 {"wide low", "宽带 低"},
                                 {"wide high", "宽带 高"}};
const int kCellDefaults[kDetectRows][kDetectCols] = {
    {62, 65, 65, 66}, {30, 30, 44, 46}, {80, 81, 82, 83}, {30, 32, 30, 32}};

// Keys and labels live as long as the table.
struct CellNames {
    QByteArray key[kDetectRows][kDetectCols];
    QByteArray zh[kDetectRows][kDetectCols];
    CellNames() {
        for (int d = 0; d < kDetectRows; ++d)
            for (int c = 0; c < kDetectCols; ++c) {
                key[d][c] = QByteArray(kRows[d].en) + ' ' + kCols[c].en;
                zh[d][c] = QByteArray(kRows[d].zh) + ' ' + kCols[c].zh;
            }
    }
};

const CellNames& cellNames() {
    static const CellNames names;
    return names;
}

field::Table buildTable() {
    field::Table t;
    t.section = "param";
    t.title = {"Param Adjust", "参数调节"};
    t.needsAccessCode = true;
    t.fields = {
        Field::flag("Narrow detect 1", {"Narrow detect 1", "窄带检测 1"}, 0xFB4, 0x01)
            .newImage("Off"),
        Field::flag("Narrow detect 2", {"Narrow detect 2", "窄带检测 2"}, 0xFB4, 0x02)
            .newImage("On"),
        Field::flag("Wide detect 1", {"Wide detect 1", "宽带检测 1"}, 0xFB4, 0x04).newImage("On"),
        Field::flag("Wide detect 2", {"Wide detect 2", "宽带检测 2"}, 0xFB4, 0x08).newImage("On"),
        numberList("Sql detect set low", {"Sql detect set low", "静噪检测设置 低"}, 0xFB5, 1, 0,
                   255, "219"),
        numberList("Sql detect set high", {"Sql detect set high", "静噪检测设置 高"}, 0xFB6, 1, 0,
                   127, "14"),
        numberList("Mic input gain (ana)", {"Mic input gain (ana)", "麦克风输入增益 (模拟)"}, 0xFC7,
                   1, 0, 31, "5"),
        numberList("Mic input gain (digit)", {"Mic input gain (digit)", "麦克风输入增益 (数字)"},
                   0xFC8, 1, 0, 127, "45"),
        numberList("Mic amp gain", {"Mic amp gain", "麦克风放大增益"}, 0xFC9, 1, 0, 15, "6"),
        numberList("Max amp offset", {"Max amp offset", "最大放大偏移"}, 0xFCA, 2, 30, 150, "43"),
        numberList("Tone amp offset (ana)", {"Tone amp offset (ana)", "音调放大偏移 (模拟)"}, 0xFCC,
                   1, 5, 30, "13"),
        numberList("Tone amp offset (digit)", {"Tone amp offset (digit)", "音调放大偏移 (数字)"},
                   0xFCD, 1, 5, 30, "10"),
        numberList("W/N Sql Difference", {"W/N Sql Difference", "宽/窄 静噪差值"}, 0xFCE, 1, -10,
                   10, "4", &kSignMagnitude),
    };
    const CellNames& names = cellNames();
    for (int d = 0; d < kDetectRows; ++d) {
        for (int c = 0; c < kDetectCols; ++c) {
            const char* key = names.key[d][c].constData();
            Field f = Field::custom(key, {key, names.zh[d][c].constData()},
                                    0xFB7 + d * kDetectCols + c, 1, &kCell);
            f.noMatch = kCellDefaults[d][c];
            t.fields.push_back(f.with(field::kNormalises));
        }
    }
    return t;
}

}  // namespace

int clampedLevel(const QString& typed) {
    return static_cast<int>(std::clamp<long long>(wholeNumber(typed), kLevelMin, kLevelMax));
}

field::Text detectRowHeading(int detect) { return kRows[std::clamp(detect, 1, kDetectRows) - 1]; }
field::Text detectColHeading(int column) { return kCols[std::clamp(column, 1, kDetectCols) - 1]; }

QString detectCellKey(int detect, int column) {
    return QString::fromUtf8(cellNames().key[std::clamp(detect, 1, kDetectRows) - 1]
                                            [std::clamp(column, 1, kDetectCols) - 1]);
}

const field::Table& paramAdjustFields() {
    static const field::Table table = buildTable();
    return table;
}

}  // namespace cps
