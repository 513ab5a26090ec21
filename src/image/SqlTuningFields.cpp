#include "SqlTuningFields.h"

#include "ParamAdjustFields.h"

namespace cps {

namespace {

using field::Env;
using field::Field;
using field::Parsed;

constexpr int kFiller = 0xFA5;  // 0xFA5 and 0xFA6
constexpr uint8_t kFillerValue = 26;

struct Segment {
    const char* heading;
    int offset;
    int fallback;
};
const Segment kSegments[kSqlSegments] = {
    {"130-139", 0xFA0, 37}, {"140-149", 0xFA1, 37}, {"150-159", 0xFA2, 38}, {"160-169", 0xFA3, 39},
    {"170-179", 0xFA4, 37}, {"400-409", 0xFA7, 27}, {"410-419", 0xFA8, 25}, {"420-429", 0xFA9, 24},
    {"430-439", 0xFAA, 23}, {"440-449", 0xFAB, 23}, {"450-459", 0xFAC, 23}, {"460-469", 0xFAD, 22},
    {"470-479", 0xFAE, 22}, {"480-489", 0xFAF, 21}, {"490-499", 0xFB0, 20}, {"500-509", 0xFB1, 19},
    {"510-519", 0xFB2, 17}, {"520-529", 0xFB3, 19},
};

bool inRange(long long v) { return v >= kLevelMin && v <= kLevelMax; }

// A level outside 5 to 100 shows, and stores, the segment's default (kept in noMatch).
QString showLevel(const Field& f, const uint8_t* base, const Env&) {
    const int b = base[f.offset];
    return QString::number(inRange(b) ? b : f.noMatch);
}

void storeLevel(const Field& f, uint8_t* base, const QString& text, const Env&) {
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok);
    base[f.offset] = static_cast<uint8_t>(ok && inRange(v) ? v : f.noMatch);
}

// The grid's edit takes three characters.
Parsed parseLevel(const Field&, const QString& typed, const Env&) {
    const QString cut = typed.trimmed().left(3);
    const QString text = QString::number(clampedLevel(cut));
    return Parsed::accept(text, text != typed.trimmed());
}

// The two bytes between the groups belong to the table; no control shows them.
QString showNothing(const Field&, const uint8_t*, const Env&) { return {}; }
void storeNothing(const Field&, uint8_t*, const QString&, const Env&) {}

const field::Codec kLevel{showLevel, storeLevel, parseLevel, nullptr};
const field::Codec kFillerCodec{showNothing, storeNothing, nullptr, nullptr};

void setFiller(const field::Form&, RadioImage& image) {
    image.set(kFiller, kFillerValue);
    image.set(kFiller + 1, kFillerValue);
}

field::Table buildTable() {
    field::Table t;
    t.section = "sql";
    t.title = {"SQL Tuning", "静噪微调"};
    for (const Segment& s : kSegments) {
        Field f = Field::custom(s.heading, {s.heading, s.heading}, s.offset, 1, &kLevel);
        f.noMatch = s.fallback;
        t.fields.push_back(f.with(field::kNormalises));
    }
    t.fields.push_back(Field::custom("filler", {"filler", "填充"}, kFiller, 2, &kFillerCodec)
                           .with(field::kHidden));
    t.afterStore = setFiller;
    return t;
}

}  // namespace

void stepSqlLevels(field::Form& form, int delta) {
    for (int i = 0; i < kSqlSegments; ++i) {
        bool ok = false;
        long long v = form.values[i].toLongLong(&ok) + delta;
        if (!ok || !inRange(v)) v = delta > 0 ? kLevelMin : kLevelMax;
        form.values[i] = QString::number(v);
    }
}

const field::Table& sqlTuningFields() {
    static const field::Table table = buildTable();
    return table;
}

}  // namespace cps
