#include "TwoToneFields.h"

#include <QStringList>
#include <algorithm>
#include <deque>
#include <string>

#include "Decimal.h"
#include "Pick.h"
#include "TwoTone.h"

namespace cps::twotone {

namespace {

using field::Env;
using field::Field;
using field::Form;
using field::Parsed;
using field::Table;

// Keys and labels are built once and live as long as the tables.
const char* keep(const QString& text) {
    static std::deque<std::string> store;
    store.push_back(text.toStdString());
    return store.back().c_str();
}

unsigned read16(const uint8_t* p) { return (unsigned(p[0]) << 8) | p[1]; }
void write16(uint8_t* p, long long v) {
    const auto u = static_cast<unsigned>(std::clamp(v, 0LL, 0xFFFFLL));
    p[0] = static_cast<uint8_t>(u >> 8);
    p[1] = static_cast<uint8_t>(u & 0xFF);
}
void write8(uint8_t* p, long long v) { *p = static_cast<uint8_t>(std::clamp(v, 0LL, 0xFFLL)); }

// Codecs --------------------------------------------------------------------------------

template <Rule R>
Parsed parseRule(const Field&, const QString& text, const Env&) {
    const QString t = typed(R, text);
    const QString out = leave(R, t);
    const bool altered =
        t != text || t.isEmpty() != out.isEmpty() || scaledDecimal(out, 4) != scaledDecimal(t, 4);
    return Parsed::accept(out, altered);
}

// A tone in tenths of a hertz, 16 bits, "%4.1f".
QString showTone(const Field& f, const uint8_t* base, const Env&) {
    return fixed(read16(base + f.offset), 1, 4);
}
void storeTone(const Field& f, uint8_t* base, const QString& text, const Env&) {
    write16(base + f.offset, toneTenths(text));
}

// A time of one byte in tenths of a second, "%2.1f".
QString showTime(const Field& f, const uint8_t* base, const Env&) {
    return fixed(base[f.offset], 1, 2);
}
void storeTime(const Field& f, uint8_t* base, const QString& text, const Env&) {
    write8(base + f.offset, timeTenths(text));
}

// A time of 16 bits in 50 ms units: the tone interval shows tenths, the Tx rise hundredths.
QString showInterval(const Field& f, const uint8_t* base, const Env&) {
    return printfFixed(read16(base + f.offset) / 20.0, 1, 2);
}
QString showTxRise(const Field& f, const uint8_t* base, const Env&) {
    return fixed(read16(base + f.offset) * 5, 2, 3);
}
void storeTwentieths(const Field& f, uint8_t* base, const QString& text, const Env&) {
    write16(base + f.offset, timeTwentieths(text));
}

// A code-table cell: FF FF is an empty cell; the timer form follows on every store.
QString showCell(const Field& f, const uint8_t* base, const Env&) {
    const unsigned v = read16(base + f.offset);
    return v == 0xFFFF ? QString() : fixed(v, 1, 4);
}
void storeCell(const Field& f, uint8_t* base, const QString& text, const Env&) {
    uint8_t* timer = base + f.offset + kTimerOffset;
    if (text.trimmed().isEmpty()) {
        write16(base + f.offset, 0xFFFF);
        write16(timer, 0);
        return;
    }
    const long long tenths = std::clamp(toneTenths(text), 0LL, 0xFFFELL);
    write16(base + f.offset, tenths);
    write16(timer, timerCount(tenths, kEncodeClock));
}

QString showBeep(const Field& f, const uint8_t* base, const Env&) {
    return base[f.offset] != 0 ? QStringLiteral("On") : QStringLiteral("Off");
}
void storeBeep(const Field& f, uint8_t* base, const QString& text, const Env&) {
    base[f.offset] = text.compare(QLatin1String("On"), Qt::CaseInsensitive) == 0 ? 1 : 0;
}
Parsed parseBeep(const Field&, const QString& text, const Env& env) {
    for (const char* s : {"On", "Off"})
        if (text.compare(QLatin1String(s), Qt::CaseInsensitive) == 0)
            return Parsed::accept(QString::fromLatin1(s));
    return Parsed::refuse(
        pick(env.chinese, "\"%1\" is not one of: On, Off", "\"%1\" 不是 On 或 Off").arg(text));
}

QString showNothing(const Field&, const uint8_t*, const Env&) { return {}; }
void storeNothing(const Field&, uint8_t*, const QString&, const Env&) {}

const field::Codec kDecodeTone{showTone, storeTone, parseRule<Rule::DecodeTone>, nullptr};
const field::Codec kDecodeDelay{showTime, storeTime, parseRule<Rule::DecodeDelay>, nullptr};
const field::Codec kDecodeInterval{showTime, storeTime, parseRule<Rule::DecodeInterval>, nullptr};
const field::Codec kEncodeDelay{showTime, storeTime, parseRule<Rule::EncodeDelay>, nullptr};
const field::Codec kEncodeInterval{showInterval, storeTwentieths, parseRule<Rule::EncodeInterval>,
                                   nullptr};
const field::Codec kTxRise{showTxRise, storeTwentieths, parseRule<Rule::TxRise>, nullptr};
const field::Codec kCell{showCell, storeCell, parseRule<Rule::Cell>, nullptr};
const field::Codec kBeep{showBeep, storeBeep, parseBeep, nullptr};
const field::Codec kPages{showNothing, storeNothing, nullptr, nullptr};

// A hidden field of both sections: the pages a store of the form stores, "E" for the Encode
// page and 1..8 for the decode pages.
const char* const kPagesKey = "Pages stored";

Field pagesField() {
    return Field::custom(kPagesKey, {"Pages stored", "存储的页"}, 0, 0, &kPages)
        .with(field::kHidden);
}

QStringList pagesOf(const Form& form) {
    return form.value(QString::fromLatin1(kPagesKey)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void setPages(Form& form, const QStringList& pages) {
    const int i = form.index(QString::fromLatin1(kPagesKey));
    if (i >= 0) form.values[i] = pages.join(QLatin1Char(' '));
}

// Every opening shows the Encode page and decode page 1, and each stores once hidden.
void pagesOfAnOpening(Form& form, const RadioImage&) {
    setPages(form, {QStringLiteral("E"), QStringLiteral("1")});
}

// Showing decode page k and hiding it again: it reads its entry and stores it.
void runDecodePages(const Form& form, RadioImage& image) {
    for (const QString& p : pagesOf(form)) {
        bool ok = false;
        const int k = p.toInt(&ok);
        if (!ok || k < 1 || k > kDecodeEntries) continue;
        field::store(field::load(entryFields(), image, form.env, k - 1), image);
    }
}

void afterEncodeStore(const Form& form, RadioImage& image) { runDecodePages(form, image); }

void afterDecodeSet(Form& form, int index) {
    if (index < 0 || index >= kDecodeEntries * kDecodeFieldsPerEntry) return;
    QStringList pages = pagesOf(form);
    const QString page = QString::number(index / kDecodeFieldsPerEntry + 1);
    if (!pages.contains(page)) pages << page;
    setPages(form, pages);
}

void afterDecodeStore(const Form& form, RadioImage& image) {
    runDecodePages(form, image);
    if (pagesOf(form).contains(QStringLiteral("E"))) {
        Form encode = field::load(encodeFields(), image, form.env);
        storeThisPageOnly(encode);
        field::store(encode, image);
    }
}

// A decode page's timer record, from the texts it stores.
void afterEntryStore(const Form& form, RadioImage& image) {
    const int timer = kDecodeRecords + 8 * form.record + kTimerOffset;
    if (timer + 8 > kCalibrationStart) return;
    uint8_t* t = image.data() + timer;
    write16(t, timerCount(toneTenths(form.values[0]), kDecodeClock));
    write16(t + 2, timerCount(toneTenths(form.values[1]), kDecodeClock));
    for (int i = 2; i < kDecodeFieldsPerEntry; ++i)
        write8(t + 2 + i, timeTwentieths(form.values[i]));
}

Table buildEncode() {
    using field::kNormalises;
    Table t;
    t.section = "2tone-encode";
    t.title = {"2-Tone Encode", "两音编码"};
    t.fields = {
        Field::custom("The first delay time(s)", {"The first delay time(s)", "第一延迟时间(秒)"},
                      kCommon, 1, &kEncodeDelay)
            .newImage("0.5"),
        Field::custom("The second delay time(s)", {"The second delay time(s)", "第二延迟时间(秒)"},
                      kCommon + 1, 1, &kEncodeDelay)
            .newImage("0.5"),
        Field::custom("Long tone delay time(s)", {"Long tone delay time(s)", "长音延迟时间(秒)"},
                      kCommon + 2, 1, &kEncodeDelay)
            .newImage("1.0"),
        Field::custom("Tone interval time(ms)", {"Tone interval time(ms)", "音调间隔时间(ms)"},
                      kCommon + 3, 2, &kEncodeInterval)
            .with(kNormalises)  // an odd count of 50 ms shows rounded to a tenth
            .newImage("1.0"),
        Field::custom("Tx rise delay time(ms)", {"Tx rise delay time(ms)", "发射上升延迟时间(ms)"},
                      kCommon + 5, 2, &kTxRise)
            .newImage("0.10"),
        Field::custom("Short beep tone", {"Short beep tone", "短提示音"}, kCommon + 7, 1, &kBeep)
            .with(kNormalises)  // any value but 0 is on, stored as 1
            .newImage("Off"),
    };
    for (int n = 1; n <= kCodeEntries; ++n) {
        for (int tone = 0; tone < 2; ++tone) {
            const int at = kCodeTable + 4 * (n - 1) + 2 * tone;
            t.fields.push_back(
                Field::custom(cellKey(n, tone),
                              {keep(QStringLiteral("Tone%1 Fre %2").arg(tone + 1).arg(n)),
                               keep(QStringLiteral("音频%1 %2").arg(tone + 1).arg(n))},
                              at, 2, &kCell)
                    .withExtra({{at + kTimerOffset, 0xFF}, {at + kTimerOffset + 1, 0xFF}})
                    .with(kNormalises)  // the timer form is derived again
                    .newImage(tone == 0 ? "2000.0" : "1000.0"));
        }
    }
    t.fields.push_back(pagesField());
    t.afterLoad = pagesOfAnOpening;
    t.afterStore = afterEncodeStore;
    return t;
}

std::vector<Field> entryFieldList() {
    return {
        Field::custom("A Tone(HZ)", {"A Tone(HZ)", "A音频(HZ)"}, 0, 2, &kDecodeTone)
            .newImage("2000.0"),
        Field::custom("B Tone(HZ)", {"B Tone(HZ)", "B音频(HZ)"}, 2, 2, &kDecodeTone)
            .newImage("1000.0"),
        Field::custom("The first delay time(s)", {"The first delay time(s)", "第一延迟时间(秒)"}, 4,
                      1, &kDecodeDelay)
            .newImage("0.5"),
        Field::custom("The second delay time(s)", {"The second delay time(s)", "第二延迟时间(秒)"},
                      5, 1, &kDecodeDelay)
            .newImage("0.5"),
        Field::custom("Interval time(s)", {"Interval time(s)", "间隔时间(秒)"}, 6, 1,
                      &kDecodeInterval)
            .newImage("1.0"),
        Field::custom("Long tone delay time(s)", {"Long tone delay time(s)", "长音延迟时间(秒)"}, 7,
                      1, &kDecodeDelay)
            .newImage("0.5"),
    };
}

Table buildEntry() {
    Table t;
    t.section = "2tone-entry";
    t.title = {"2-Tone Decode", "两音解码"};
    t.fields = entryFieldList();
    t.base = kDecodeRecords;
    t.stride = 8;
    t.count = kDecodeEntries;
    t.afterStore = afterEntryStore;
    return t;
}

Table buildDecode() {
    Table t;
    t.section = "2tone-decode";
    t.title = {"2-Tone Decode", "两音解码"};
    const std::vector<Field> entry = entryFieldList();
    for (int k = 1; k <= kDecodeEntries; ++k) {
        for (int i = 0; i < kDecodeFieldsPerEntry; ++i) {
            Field f = entry[static_cast<size_t>(i)];
            f.key = decodeKey(k, i);
            f.label = {f.key, keep(QStringLiteral("2-Tone%1 %2").arg(k).arg(f.label.get(true)))};
            f.offset += kDecodeRecords + 8 * (k - 1);
            t.fields.push_back(f);
        }
    }
    t.fields.push_back(pagesField());
    t.afterLoad = pagesOfAnOpening;
    t.afterSet = afterDecodeSet;
    t.afterStore = afterDecodeStore;
    return t;
}

}  // namespace

const char* cellKey(int entry, int tone) {
    static const std::vector<const char*> keys = [] {
        std::vector<const char*> out;
        for (int n = 1; n <= kCodeEntries; ++n)
            for (int t = 1; t <= 2; ++t)
                out.push_back(keep(QStringLiteral("Tone%1 Fre %2").arg(t).arg(n)));
        return out;
    }();
    return keys.at(static_cast<size_t>(2 * (entry - 1) + tone));
}

const char* decodeKey(int entry, int fieldIndex) {
    static const std::vector<const char*> keys = [] {
        std::vector<const char*> out;
        const std::vector<Field> fields = entryFieldList();
        for (int k = 1; k <= kDecodeEntries; ++k)
            for (const Field& f : fields)
                out.push_back(
                    keep(QStringLiteral("2-Tone%1 %2").arg(k).arg(QString::fromUtf8(f.key))));
        return out;
    }();
    return keys.at(static_cast<size_t>(kDecodeFieldsPerEntry * (entry - 1) + fieldIndex));
}

const Table& encodeFields() {
    static const Table table = buildEncode();
    return table;
}

const Table& entryFields() {
    static const Table table = buildEntry();
    return table;
}

const Table& decodeFields() {
    static const Table table = buildDecode();
    return table;
}

void storeThisPageOnly(Form& form) {
    if (form.table == &encodeFields())
        setPages(form, {QStringLiteral("E")});
    else
        setPages(form, {});
}

}  // namespace cps::twotone
