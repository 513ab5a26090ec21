#include "SoftwareInfoFields.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Decimal.h"

namespace cps {

namespace {

using field::Env;
using field::Field;
using field::Form;
using field::Parsed;

enum Index { kCompany, kBand, kLow1, kHigh1, kLow2, kHigh2, kShownBand };

struct Rule {
    int low, high;  // accepted range in MHz
    int resetLow, resetHigh;
};
constexpr int kVLow = static_cast<int>(kVSectionBand.low / kPerMHz);
constexpr int kVHigh = static_cast<int>(kVSectionBand.high / kPerMHz);
const Rule kRules[3] = {{kVLow, kVHigh, kVLow, kVHigh}, {350, 520, 400, 520}, {330, 400, 330, 400}};
const Rule& rule(FreqBand b) { return kRules[static_cast<int>(b)]; }

long long wholeNumber(const QString& text) {
    const double v = leadingNumber(text);
    if (std::isnan(v)) return 0;
    return static_cast<long long>(std::clamp(v, -1e9, 1e9));
}

// Limits: the 16-bit value at offset; the packed hundreds and tens byte is extra[0], the
// units nibble extra[1] (its mask says which nibble).
QString showLimit(const Field& f, const uint8_t* base, const Env&) {
    const uint8_t a = base[f.extra[0].offset];
    const uint8_t c = base[f.extra[1].offset];
    const int units = f.extra[1].mask == 0xF0 ? c >> 4 : c & 0x0F;
    return QString::number(100 * (a >> 4) + 10 * (a & 0x0F) + units);
}

void storeLimit(const Field& f, uint8_t* base, const QString& text, const Env&) {
    // Packed digits hold 0 to 999, as the band limits of the channel grid do; the 16-bit
    // copy holds the same number, so the radio finds one range in both.
    const int m = static_cast<int>(std::llabs(wholeNumber(text)) % 1000);
    base[f.offset] = static_cast<uint8_t>(m & 0xFF);
    base[f.offset + 1] = static_cast<uint8_t>(m >> 8);
    base[f.extra[0].offset] = static_cast<uint8_t>(((m / 100) << 4) | ((m / 10) % 10));
    uint8_t& c = base[f.extra[1].offset];
    const uint8_t units = static_cast<uint8_t>(m % 10);
    c = f.extra[1].mask == 0xF0 ? static_cast<uint8_t>((c & 0x0F) | (units << 4))
                                : static_cast<uint8_t>((c & 0xF0) | units);
}

// The edits take digits only.
Parsed parseLimit(const Field&, const QString& typed, const Env&) {
    QString digits;
    for (QChar ch : typed)
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) digits.append(ch);
    const QString text = digits.isEmpty() ? QString() : QString::number(wholeNumber(digits));
    return Parsed::accept(text, text != typed);
}

// The band the dialog remembers as current: a band change is a choice of another band.
QString showBandIndex(const Field& f, const uint8_t* base, const Env&) {
    switch (base[f.offset]) {
        case 2:
            return QStringLiteral("1");
        case 4:
            return QStringLiteral("2");
        default:
            return QStringLiteral("0");
    }
}
void storeNothing(const Field&, uint8_t*, const QString&, const Env&) {}

const field::Codec kLimit{showLimit, storeLimit, parseLimit, nullptr};
const field::Codec kShownBandCodec{showBandIndex, storeNothing, nullptr, nullptr};

int number(const Form& form, int i) { return static_cast<int>(wholeNumber(form.values[i])); }

void setPair(Form& form, int low, int lowValue, int highValue) {
    form.values[low] = QString::number(lowValue);
    form.values[low + 1] = QString::number(highValue);
}

void setAll(Form& form, int low, int high) {
    setPair(form, kLow1, low, high);
    setPair(form, kLow2, low, high);
}

bool pairInside(const Form& form, int low, const Rule& r) {
    const int l = number(form, low);
    const int h = number(form, low + 1);
    return l >= r.low && h <= r.high && h >= l;
}

// The load check: the band's editable pair must look like a range of it, with room up to
// 520 MHz on V.
void loadCheck(Form& form, const RadioImage&) {
    const FreqBand band = bandOf(form);
    if (band == FreqBand::V) {
        if (number(form, kLow1) < kVLow || number(form, kHigh1) > 520) setAll(form, kVLow, kVHigh);
    } else {
        const Rule& r = rule(band);
        const int highest = band == FreqBand::U ? 520 : r.high;
        if (number(form, kLow2) < r.low || number(form, kHigh2) > highest)
            setAll(form, r.resetLow, r.resetHigh);
    }
}

void afterSet(Form& form, int index) {
    const FreqBand band = bandOf(form);
    const Rule& r = rule(band);
    const Rule& v = rule(FreqBand::V);
    const Rule& u = rule(FreqBand::U);
    switch (index) {
        case kBand:
            if (form.values[kShownBand] != QString::number(static_cast<int>(band))) {
                setAll(form, r.resetLow, r.resetHigh);
                form.values[kShownBand] = QString::number(static_cast<int>(band));
            }
            break;
        case kLow1:
        case kHigh1:
            if (band == FreqBand::V) {
                if (!pairInside(form, kLow1, v)) {
                    setAll(form, v.resetLow, v.resetHigh);
                } else {
                    form.values[index + 2] = form.values[index];
                }
            } else if (!pairInside(form, kLow1, v)) {
                setPair(form, kLow1, v.resetLow, v.resetHigh);
            }
            break;
        case kLow2:
        case kHigh2:
            if (band == FreqBand::V) {
                if (!pairInside(form, kLow2, u)) setPair(form, kLow2, u.resetLow, u.resetHigh);
            } else if (!pairInside(form, kLow2, r)) {
                if (index == kLow2) {
                    setAll(form, r.resetLow, r.resetHigh);
                } else {
                    setPair(form, kLow2, r.resetLow, r.resetHigh);
                }
            } else {
                form.values[index - 2] = form.values[index];
            }
            break;
        default:
            break;
    }
}

Field limit(const char* key, field::Text label, int offset, int packed, int units,
            uint8_t unitsMask, const char* newText) {
    return Field::custom(key, label, offset, 2, &kLimit)
        .withExtra({{packed, 0xFF}, {units, unitsMask}})
        .with(field::kNormalises)
        .newImage(newText);
}

field::Table buildTable() {
    field::Table t;
    t.section = "info";
    t.title = {"Software Infomation", "软件信息"};
    const int p = addr::kBandLimitsPacked;
    // A new image shows the V section's range in both bands (the table lives as long as these).
    static const QByteArray low = QByteArray::number(kVLow);
    static const QByteArray high = QByteArray::number(kVHigh);
    t.fields = {
        Field::list("Company", {"Company", "公司"}, addr::kModelIndex, 0xFF,
                    {{"QM417 PLUS", "QM417 PLUS"}})
            .withFallback(0)
            .withNoMatch(0)
            .with(field::kNormalises)
            .newImage("QM417 PLUS"),
        Field::mapped(
            "Freq Band", {"Freq Band", "频段"}, addr::kBandCode, 0xFF,
            {{"V Section", "V Section"}, {"U Section", "U Section"}, {"M Section", "M Section"}},
            {{1, 0}, {2, 1}, {4, 2}})
            .withFallback(0)
            .withNoMatch(1)
            .with(field::kNormalises)
            .newImage("V Section"),
        limit("Low Freq 1", {"Low Freq 1", "低端频率 1"}, 0xFD4, p, p + 2, 0xF0, low.constData()),
        limit("High Freq 1", {"High Freq 1", "高端频率 1"}, 0xFD6, p + 1, p + 2, 0x0F,
              high.constData()),
        limit("Low Freq 2", {"Low Freq 2", "低端频率 2"}, 0xFD8, p + 3, p + 5, 0xF0,
              low.constData()),
        limit("High Freq 2", {"High Freq 2", "高端频率 2"}, 0xFDA, p + 4, p + 5, 0x0F,
              high.constData()),
        Field::custom("shown band", {"shown band", "当前频段"}, addr::kBandCode, 1,
                      &kShownBandCodec)
            .withMask(0)
            .with(field::kHidden),
    };
    t.afterLoad = loadCheck;
    t.afterSet = afterSet;
    return t;
}

}  // namespace

FreqBand bandOf(const Form& form) {
    const Field& f = form.table->fields[kBand];
    const int i = field::itemIndex(f, form.values[kBand]);
    return i == 1 ? FreqBand::U : i == 2 ? FreqBand::M : FreqBand::V;
}

Bands formBands(const Form& form) {
    auto mhz = [&](int i) { return static_cast<Freq>(number(form, i)) * kPerMHz; };
    return Bands{{mhz(kLow1), mhz(kHigh1)}, {mhz(kLow2), mhz(kHigh2)}};
}

const field::Table& softwareInfoFields() {
    static const field::Table table = buildTable();
    return table;
}

}  // namespace cps
