#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "RadioImage.h"

// Every field of the image described once, as data: where it lives, which bits it owns,
// how its bytes become the text an editor shows and how a typed text goes back. Dialogs,
// the channel grid, printouts and the command line all load and store through this, so
// no editor repeats bit arithmetic and none can skip a check another makes.
namespace cps::field {

// A text in both languages. Either may be matched, whatever language is shown.
struct Text {
    const char* en = "";
    const char* zh = "";
    QString get(bool chinese) const;
    bool matches(const QString& text) const;
};

enum class Kind : uint8_t {
    Index,   // list item n stored as the value n of the owned bits
    Mapped,  // list item from a table of raw values (several raw values may show one item)
    Flag,    // check box: the owned bit set (or clear, when inverted) means "On"
    Number,  // unsigned integer over `width` bytes, shown scaled, clamped on entry
    Ascii,   // text of up to `width` bytes, 0xFF after it, limited to a character set
    Custom,  // a codec of its own (frequencies, tones, band limits, ...)
};

// Mapped: the raw value of the owned bits (already masked, not shifted) and its item.
struct Code {
    uint8_t raw;
    int item;
};

// What the conversions may need besides the bytes.
struct Env {
    bool chinese = false;
    Bands bands;          // the band limits in use, for frequency checks
    bool strict = false;  // refuse what typing would silently drop or cut (file imports)
};

// The outcome of reading a typed text: the text the field shows after the field is left,
// or why it is refused.
struct Parsed {
    bool ok = false;
    QString text;
    QString why;           // set when refused
    bool changed = false;  // the entry was altered beyond formatting (clamped, cut, snapped)

    static Parsed accept(const QString& t, bool altered = false) { return {true, t, {}, altered}; }
    static Parsed refuse(const QString& reason) { return {false, {}, reason, false}; }
};

struct Field;

struct Codec {
    QString (*show)(const Field&, const uint8_t* base, const Env&) = nullptr;
    void (*store)(const Field&, uint8_t* base, const QString& text, const Env&) = nullptr;
    Parsed (*parse)(const Field&, const QString& typed, const Env&) = nullptr;
    QStringList (*items)(const Field&, bool chinese) = nullptr;  // a list of its own, if any
};

// A byte a field owns besides its main range (custom codecs that spread over the image).
struct Extra {
    int offset;
    uint8_t mask;
};

// Flags of a field.
enum : unsigned {
    kShared = 1u << 0,         // owns bits another field of the table owns too (declared overlap)
    kNormalises = 1u << 1,     // load then store may rewrite its bytes (documented normalisation)
    kHidden = 1u << 2,         // derived on store, never shown by an editor
    kUpper = 1u << 3,          // Ascii: typed letters become capitals
    kEndsAtForeign = 1u << 4,  // Ascii: the text ends at the first byte outside the charset
};

struct Field {
    const char* key = "";  // stable English label: dialogs, `cps show/set`, printouts, tests
    Text label;
    int offset = 0;  // relative to the record when the table repeats
    int width = 1;   // bytes
    uint8_t mask = 0xFF;
    Kind kind = Kind::Index;
    std::vector<Text> items;     // Index, Mapped
    std::vector<Code> codes;     // Mapped
    int fallback = -1;           // item shown for a value that is no item; -1 shows nothing
    int noMatch = -1;            // raw value stored for a text that is no item; -1 keeps the bits
    bool invert = false;         // Flag
    bool bigEndian = false;      // Number
    long long min = 0, max = 0;  // Number: raw range (entries are clamped to it)
    long long mul = 1, div = 1;  // Number: shown value = raw * mul / div
    int decimals = 0;            // Number: digits after the point
    QString charset;             // Ascii: allowed characters; empty means printable ASCII
    const Codec* codec = nullptr;
    // A rule of its own for typed text, in place of the kind's (the channel cells, whose
    // rules the grid, the paste and the imports share).
    Parsed (*check)(const Field&, const QString& typed, const Env&) = nullptr;
    std::vector<Extra> extra;
    const char* newText = nullptr;  // English text a new image shows; null when not stated
    unsigned flags = 0;

    // Builders, so tables read as one line per field.
    static Field list(const char* key, Text label, int offset, uint8_t mask,
                      std::vector<Text> items);
    static Field mapped(const char* key, Text label, int offset, uint8_t mask,
                        std::vector<Text> items, std::vector<Code> codes);
    static Field flag(const char* key, Text label, int offset, uint8_t bit, bool inverted = false);
    static Field number(const char* key, Text label, int offset, int width, long long min,
                        long long max);
    static Field ascii(const char* key, Text label, int offset, int width, QString charset = {});
    static Field custom(const char* key, Text label, int offset, int width, const Codec* codec);

    Field& withFallback(int item) {
        fallback = item;
        return *this;
    }
    Field& withNoMatch(int raw) {
        noMatch = raw;
        return *this;
    }
    Field& scaled(long long m, long long d, int places) {
        mul = m;
        div = d;
        decimals = places;
        return *this;
    }
    Field& bigEnd() {
        bigEndian = true;
        return *this;
    }
    Field& withExtra(std::vector<Extra> e) {
        extra = std::move(e);
        return *this;
    }
    Field& newImage(const char* text) {
        newText = text;
        return *this;
    }
    Field& with(unsigned f) {
        flags |= f;
        return *this;
    }
    Field& withCheck(Parsed (*rule)(const Field&, const QString&, const Env&)) {
        check = rule;
        return *this;
    }
    Field& withMask(uint8_t m) {
        mask = m;
        return *this;
    }
};

// A dialog's or a record's fields. Flat tables (count 1) use image offsets; repeated
// records (the channels) use offsets inside the record.
struct Form;
struct Table {
    const char* section = "";  // `cps show` section name
    Text title;
    std::vector<Field> fields;
    int base = 0;
    int stride = 0;
    int count = 1;
    bool needsAccessCode = false;  // opened only through the service Password dialog

    // Rules that span fields: run after the fields load, after one field is set (with its
    // index), and after the fields store.
    void (*afterLoad)(Form&, const RadioImage&) = nullptr;
    void (*afterSet)(Form&, int index) = nullptr;
    void (*afterStore)(const Form&, RadioImage&) = nullptr;

    int indexOf(const QString& key) const;  // -1 when absent (key compared ignoring case)
    const Field* find(const QString& key) const;
    int recordOffset(int record) const { return base + record * stride; }
};

// One field ---------------------------------------------------------------------------

QString show(const Field& f, const uint8_t* base, const Env& env);
void store(const Field& f, uint8_t* base, const QString& text, const Env& env);
// A typed text (either language) to what the field shows once it is left.
Parsed parse(const Field& f, const QString& typed, const Env& env);
// The items of a list field in a language; empty for other kinds.
QStringList items(const Field& f, bool chinese);
// Index of the item text matches (either language, exact), or -1.
int itemIndex(const Field& f, const QString& text);
// The bits the field owns, relative to base, as (offset, mask) pairs.
std::vector<Extra> ownedBits(const Field& f);

// The value of the owned bits, shifted down (Index, Mapped before lookup, Flag).
unsigned rawBits(const Field& f, const uint8_t* base);
void setRawBits(const Field& f, uint8_t* base, unsigned value);

// A dialog's state: the text of every field as its control shows it ------------------

struct Form {
    const Table* table = nullptr;
    Env env;
    int record = 0;
    QStringList values;

    const QString& value(const QString& key) const;
    int index(const QString& key) const { return table->indexOf(key); }
};

Form load(const Table& t, const RadioImage& image, const Env& env, int record = 0);
// Sets one field as a user typing text and leaving the field would.
Parsed set(Form& form, int index, const QString& typed);
void store(const Form& form, RadioImage& image);

// Every table the generic checks and the command line know, in `cps show` order.
const std::vector<const Table*>& registry();
const Table* findTable(const QString& section);
// The sections of `cps show` and `cps set` and of the configuration file: every table of one
// record. The channel rows, a table of many, go their own way (`cps channels`).
const std::vector<const Table*>& sections();

}  // namespace cps::field
