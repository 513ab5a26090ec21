#include "Field.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QLocale>
#include <algorithm>

#include "Decimal.h"
#include "Pick.h"

namespace cps::field {

namespace {

int lowestBit(uint8_t mask) {
    int shift = 0;
    while (shift < 8 && !(mask & (1u << shift))) ++shift;
    return shift;
}

const QString& onText() {
    static const QString t = QStringLiteral("On");
    return t;
}
const QString& offText() {
    static const QString t = QStringLiteral("Off");
    return t;
}

long long readNumber(const Field& f, const uint8_t* base) {
    long long v = 0;
    for (int i = 0; i < f.width; ++i) {
        const int at = f.bigEndian ? i : f.width - 1 - i;
        v = (v << 8) | base[f.offset + at];
    }
    return v;
}

void writeNumber(const Field& f, uint8_t* base, long long v) {
    for (int i = 0; i < f.width; ++i) {
        const int at = f.bigEndian ? f.width - 1 - i : i;
        base[f.offset + at] = static_cast<uint8_t>(v & 0xFF);
        v >>= 8;
    }
}

QString formatNumber(const Field& f, long long raw) {
    if (f.decimals == 0 && f.div == 1) return QString::number(raw * f.mul);
    const double shown = static_cast<double>(raw * f.mul) / static_cast<double>(f.div);
    return printfFixed(shown, f.decimals);
}

// The raw value a typed number stands for: the exact decimal cut to the places shown, then
// to whole raw steps. False when the text is no number at all.
bool numberRaw(const Field& f, const QString& typed, long long* raw) {
    bool ok = false;
    QLocale::c().toDouble(typed.trimmed(), &ok);
    if (!ok) return false;
    long long unit = f.mul;
    for (int d = 0; d < f.decimals; ++d) unit *= 10;
    *raw = unit == 0 ? 0 : scaledDecimal(typed, f.decimals) * f.div / unit;
    return true;
}

// What every builder starts from: the field's name, label, place and kind.
Field placed(const char* key, Text label, int offset, Kind kind) {
    Field f;
    f.key = key;
    f.label = label;
    f.offset = offset;
    f.kind = kind;
    return f;
}

bool allowedChar(const Field& f, QChar c) {
    if (f.charset.isEmpty()) return c.unicode() >= 0x20 && c.unicode() < 0x7F;
    return f.charset.contains(c);
}

}  // namespace

QString Text::get(bool chinese) const { return QString::fromUtf8(chinese ? zh : en); }

bool Text::matches(const QString& text) const {
    // Compared in place: stores run this for every list field of every channel.
    return QAnyStringView::equal(text, QUtf8StringView(en)) ||
           QAnyStringView::equal(text, QUtf8StringView(zh));
}

// Builders ----------------------------------------------------------------------------

Field Field::list(const char* key, Text label, int offset, uint8_t mask, std::vector<Text> items) {
    Field f = placed(key, label, offset, Kind::Index);
    f.mask = mask;
    f.items = std::move(items);
    return f;
}

Field Field::mapped(const char* key, Text label, int offset, uint8_t mask, std::vector<Text> items,
                    std::vector<Code> codes) {
    Field f = list(key, label, offset, mask, std::move(items));
    f.kind = Kind::Mapped;
    f.codes = std::move(codes);
    return f;
}

Field Field::flag(const char* key, Text label, int offset, uint8_t bit, bool inverted) {
    Field f = placed(key, label, offset, Kind::Flag);
    f.mask = bit;
    f.invert = inverted;
    return f;
}

Field Field::number(const char* key, Text label, int offset, int width, long long min,
                    long long max) {
    Field f = placed(key, label, offset, Kind::Number);
    f.width = width;
    f.min = min;
    f.max = max;
    return f;
}

Field Field::ascii(const char* key, Text label, int offset, int width, QString charset) {
    Field f = placed(key, label, offset, Kind::Ascii);
    f.width = width;
    f.charset = std::move(charset);
    return f;
}

Field Field::custom(const char* key, Text label, int offset, int width, const Codec* codec) {
    Field f = placed(key, label, offset, Kind::Custom);
    f.width = width;
    f.codec = codec;
    return f;
}

// One field ---------------------------------------------------------------------------

unsigned rawBits(const Field& f, const uint8_t* base) {
    return static_cast<unsigned>(base[f.offset] & f.mask) >> lowestBit(f.mask);
}

void setRawBits(const Field& f, uint8_t* base, unsigned value) {
    const int shift = lowestBit(f.mask);
    uint8_t& b = base[f.offset];
    b = static_cast<uint8_t>((b & ~f.mask) | ((value << shift) & f.mask));
}

QStringList items(const Field& f, bool chinese) {
    if (f.codec && f.codec->items) return f.codec->items(f, chinese);
    QStringList out;
    for (const Text& t : f.items) out << t.get(chinese);
    return out;
}

int itemIndex(const Field& f, const QString& text) {
    if (f.codec && f.codec->items) {
        for (bool zh : {false, true}) {
            const int i = f.codec->items(f, zh).indexOf(text);
            if (i >= 0) return i;
        }
        return -1;
    }
    for (size_t i = 0; i < f.items.size(); ++i)
        if (f.items[i].matches(text)) return static_cast<int>(i);
    return -1;
}

QString show(const Field& f, const uint8_t* base, const Env& env) {
    auto item = [&](int i) {
        if (i >= 0 && i < static_cast<int>(f.items.size())) return f.items[i].get(env.chinese);
        if (f.fallback >= 0) return f.items[f.fallback].get(env.chinese);
        return QString();
    };
    switch (f.kind) {
        case Kind::Index:
            return item(static_cast<int>(rawBits(f, base)));
        case Kind::Mapped: {
            const uint8_t raw = base[f.offset] & f.mask;
            for (const Code& c : f.codes)
                if (c.raw == raw) return item(c.item);
            return item(-1);
        }
        case Kind::Flag:
            return ((base[f.offset] & f.mask) != 0) != f.invert ? onText() : offText();
        case Kind::Number:
            return formatNumber(f, readNumber(f, base));
        case Kind::Ascii: {
            QByteArray text;
            for (int i = 0; i < f.width; ++i) {
                const uint8_t c = base[f.offset + i];
                if (c == 0xFF || c == 0x00) break;
                if ((f.flags & kEndsAtForeign) && !allowedChar(f, QChar(static_cast<ushort>(c))))
                    break;
                text.append(static_cast<char>(c));
            }
            return QString::fromLatin1(text);
        }
        case Kind::Custom:
            return f.codec->show(f, base, env);
    }
    return {};
}

void store(const Field& f, uint8_t* base, const QString& text, const Env& env) {
    switch (f.kind) {
        case Kind::Index: {
            const int i = itemIndex(f, text);
            if (i >= 0) {
                setRawBits(f, base, static_cast<unsigned>(i));
            } else if (f.noMatch >= 0) {
                setRawBits(f, base, static_cast<unsigned>(f.noMatch));
            }
            return;
        }
        case Kind::Mapped: {
            const int i = itemIndex(f, text);
            int raw = f.noMatch;
            for (const Code& c : f.codes) {
                if (i >= 0 && c.item == i) {
                    raw = c.raw;
                    break;
                }
            }
            if (raw >= 0) {
                uint8_t& b = base[f.offset];
                b = static_cast<uint8_t>((b & ~f.mask) | (raw & f.mask));
            }
            return;
        }
        case Kind::Flag: {
            const bool on = text.compare(onText(), Qt::CaseInsensitive) == 0;
            uint8_t& b = base[f.offset];
            b = (on != f.invert) ? (b | f.mask) : (b & ~f.mask);
            return;
        }
        case Kind::Number: {
            long long raw = 0;
            if (numberRaw(f, text, &raw)) writeNumber(f, base, std::clamp(raw, f.min, f.max));
            return;
        }
        case Kind::Ascii: {
            const QByteArray bytes = text.toLatin1();
            for (int i = 0; i < f.width; ++i)
                base[f.offset + i] = i < bytes.size() ? static_cast<uint8_t>(bytes[i]) : 0xFF;
            return;
        }
        case Kind::Custom:
            f.codec->store(f, base, text, env);
            return;
    }
}

Parsed parse(const Field& f, const QString& typed, const Env& env) {
    if (f.check) return f.check(f, typed, env);
    switch (f.kind) {
        case Kind::Index:
        case Kind::Mapped: {
            const int i = itemIndex(f, typed);
            if (i < 0) {
                QStringList allowed = items(f, env.chinese);
                return Parsed::refuse(
                    pick(env.chinese, "\"%1\" is not one of: %2", "\"%1\" 不是以下之一：%2")
                        .arg(typed, allowed.join(QStringLiteral(", "))));
            }
            return Parsed::accept(items(f, env.chinese).value(i));
        }
        case Kind::Flag:
            if (typed.compare(onText(), Qt::CaseInsensitive) == 0) return Parsed::accept(onText());
            if (typed.compare(offText(), Qt::CaseInsensitive) == 0)
                return Parsed::accept(offText());
            return Parsed::refuse(
                pick(env.chinese, "\"%1\" is not one of: On, Off", "\"%1\" 不是 On 或 Off")
                    .arg(typed));
        case Kind::Number: {
            long long raw = 0;
            if (!numberRaw(f, typed, &raw))
                return Parsed::refuse(
                    pick(env.chinese, "\"%1\" is not a number", "\"%1\" 不是数字").arg(typed));
            const long long clamped = std::clamp(raw, f.min, f.max);
            const QString text = formatNumber(f, clamped);
            const int fine = f.decimals + 3;
            const bool altered =
                clamped != raw || scaledDecimal(text, fine) != scaledDecimal(typed, fine);
            return Parsed::accept(text, altered);
        }
        case Kind::Ascii: {
            QString out;
            bool altered = false;
            for (QChar c : typed) {
                if (f.flags & kUpper) c = c.toUpper();
                if (!allowedChar(f, c)) {
                    if (env.strict)
                        return Parsed::refuse(pick(env.chinese,
                                                   "character '%1' is not allowed here",
                                                   "此处不允许字符 '%1'")
                                                  .arg(c));
                    altered = true;
                    continue;
                }
                out.append(c);
            }
            if (out.size() > f.width) {
                if (env.strict)
                    return Parsed::refuse(
                        pick(env.chinese, "longer than %1 characters", "超过 %1 个字符")
                            .arg(f.width));
                out.truncate(f.width);
                altered = true;
            }
            return Parsed::accept(out, altered);
        }
        case Kind::Custom:
            if (f.codec->parse) return f.codec->parse(f, typed, env);
            return Parsed::accept(typed);
    }
    return Parsed::refuse(QStringLiteral("unknown field kind"));
}

std::vector<Extra> ownedBits(const Field& f) {
    std::vector<Extra> bits;
    for (int i = 0; i < f.width; ++i)
        bits.push_back({f.offset + i, f.width == 1 ? f.mask : uint8_t(0xFF)});
    bits.insert(bits.end(), f.extra.begin(), f.extra.end());
    return bits;
}

// Tables and forms ----------------------------------------------------------------------

int Table::indexOf(const QString& key) const {
    for (size_t i = 0; i < fields.size(); ++i)
        if (key.compare(QString::fromUtf8(fields[i].key), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

const Field* Table::find(const QString& key) const {
    const int i = indexOf(key);
    return i < 0 ? nullptr : &fields[static_cast<size_t>(i)];
}

const QString& Form::value(const QString& key) const {
    static const QString none;
    const int i = index(key);
    return i < 0 ? none : values[i];
}

Form load(const Table& t, const RadioImage& image, const Env& env, int record) {
    Form form;
    form.table = &t;
    form.env = env;
    form.record = record;
    const uint8_t* base = image.data() + t.recordOffset(record);
    for (const Field& f : t.fields) form.values << show(f, base, env);
    if (t.afterLoad) t.afterLoad(form, image);
    return form;
}

Parsed set(Form& form, int index, const QString& typed) {
    if (index < 0 || index >= form.values.size())
        return Parsed::refuse(pick(form.env.chinese, "no such field", "没有此字段"));
    const Parsed p = parse(form.table->fields[static_cast<size_t>(index)], typed, form.env);
    if (!p.ok) return p;
    form.values[index] = p.text;
    if (form.table->afterSet) form.table->afterSet(form, index);
    return p;
}

void store(const Form& form, RadioImage& image) {
    uint8_t* base = image.data() + form.table->recordOffset(form.record);
    for (size_t i = 0; i < form.table->fields.size(); ++i) {
        const Field& f = form.table->fields[i];
        if (f.flags & kHidden) continue;
        store(f, base, form.values[static_cast<int>(i)], form.env);
    }
    if (form.table->afterStore) form.table->afterStore(form, image);
}

const std::vector<const Table*>& sections() {
    static const std::vector<const Table*> flat = [] {
        std::vector<const Table*> out;
        for (const Table* t : registry())
            if (t->count == 1) out.push_back(t);
        return out;
    }();
    return flat;
}

const Table* findTable(const QString& section) {
    for (const Table* t : registry())
        if (section.compare(QString::fromUtf8(t->section), Qt::CaseInsensitive) == 0) return t;
    return nullptr;
}

}  // namespace cps::field
