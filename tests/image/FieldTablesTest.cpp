// The same questions asked of every registered field table: a table that answers them
// wrongly would corrupt bytes its editor does not own, or lose a value between load and
// store.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "Field.h"
#include "RadioImage.h"

using namespace cps;
using namespace cps::field;

namespace {

RadioImage newImage() {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    return image;
}

RadioImage randomImage(unsigned seed) {
    std::mt19937 rng(seed);
    RadioImage image;
    for (int i = 0; i < kImageSize; ++i) image.set(i, static_cast<uint8_t>(rng() & 0xFF));
    return image;
}

RadioImage filled(uint8_t value) {
    RadioImage image;
    for (int i = 0; i < kImageSize; ++i) image.set(i, value);
    return image;
}

std::vector<RadioImage> sampleImages() {
    return {newImage(),     RadioImage::factory(), filled(0x00),  filled(0xFF),
            randomImage(1), randomImage(2),        randomImage(3)};
}

Env envFor(const RadioImage& image, bool chinese) {
    Env env;
    env.chinese = chinese;
    env.bands = unpackBands(image);
    return env;
}

std::string where(const Table& t, int record, const Field& f) {
    return std::string(t.section) + "[" + std::to_string(record) + "]." + f.key;
}

// Texts worth storing into a field: its items in both languages, both check box states,
// the range ends of a number, and whatever it shows on the sample images.
QStringList candidates(const Table& t, const Field& f, int record) {
    QStringList out = items(f, false) + items(f, true);
    if (f.kind == Kind::Flag) out << QStringLiteral("On") << QStringLiteral("Off");
    for (const RadioImage& image : sampleImages()) {
        const uint8_t* base = image.data() + t.recordOffset(record);
        out << show(f, base, envFor(image, false)) << show(f, base, envFor(image, true));
    }
    out << QString();
    out.removeDuplicates();
    return out;
}

// Records worth checking: all of a short table, the ends and a middle one of a long one.
std::vector<int> records(const Table& t) {
    if (t.count <= 4) {
        std::vector<int> all;
        for (int r = 0; r < t.count; ++r) all.push_back(r);
        return all;
    }
    return {0, 1, t.count / 2, t.count - 1};
}

}  // namespace

TEST(FieldTables, EveryTableIsRegisteredOnceWithUniqueKeys) {
    std::set<std::string> sections;
    for (const Table* t : registry()) {
        EXPECT_TRUE(sections.insert(t->section).second) << t->section;
        EXPECT_EQ(findTable(QString::fromUtf8(t->section)), t);
        std::set<QString> keys;
        for (const Field& f : t->fields) {
            EXPECT_TRUE(keys.insert(QString::fromUtf8(f.key).toLower()).second)
                << t->section << "." << f.key;
            EXPECT_NE(QString::fromUtf8(f.label.zh), QString()) << f.key << " lacks Chinese";
        }
        EXPECT_GE(t->recordOffset(t->count - 1), 0);
        EXPECT_LE(t->recordOffset(t->count - 1) + t->stride, kImageSize);
    }
}

TEST(FieldTables, ANewImageShowsTheDocumentedValues) {
    const RadioImage image = newImage();
    for (const Table* t : registry()) {
        for (int r : records(*t)) {
            for (const Field& f : t->fields) {
                if (!f.newText) continue;
                EXPECT_EQ(show(f, image.data() + t->recordOffset(r), envFor(image, false)),
                          QString::fromUtf8(f.newText))
                    << where(*t, r, f);
            }
        }
    }
}

TEST(FieldTables, LoadThenStoreChangesNothingButDocumentedNormalisations) {
    for (const RadioImage& original : sampleImages()) {
        for (const Table* t : registry()) {
            for (int r : records(*t)) {
                for (const Field& f : t->fields) {
                    if (f.flags & kHidden) continue;
                    for (bool zh : {false, true}) {
                        const Env env = envFor(original, zh);
                        RadioImage once = original;
                        uint8_t* base = once.data() + t->recordOffset(r);
                        store(f, base, show(f, base, env), env);
                        if (!(f.flags & kNormalises)) {
                            EXPECT_EQ(once, original) << where(*t, r, f) << (zh ? " zh" : " en");
                            continue;
                        }
                        // A normalised value is stable from then on.
                        RadioImage twice = once;
                        uint8_t* b2 = twice.data() + t->recordOffset(r);
                        store(f, b2, show(f, b2, env), env);
                        EXPECT_EQ(twice, once) << where(*t, r, f) << (zh ? " zh" : " en");
                    }
                }
            }
        }
    }
}

TEST(FieldTables, AStoreTouchesNoBitOutsideTheFieldsOwn) {
    for (const Table* t : registry()) {
        for (int r : records(*t)) {
            for (const Field& f : t->fields) {
                if (f.flags & kHidden) continue;
                std::map<int, uint8_t> owned;
                for (const Extra& e : ownedBits(f)) owned[t->recordOffset(r) + e.offset] |= e.mask;
                const QStringList values = candidates(*t, f, r);
                for (const RadioImage& before : {filled(0x00), filled(0xFF), randomImage(7)}) {
                    for (const QString& v : values) {
                        RadioImage after = before;
                        store(f, after.data() + t->recordOffset(r), v, envFor(before, false));
                        for (int i = 0; i < kImageSize; ++i) {
                            const auto it = owned.find(i);
                            const uint8_t keep = it == owned.end() ? 0xFF : uint8_t(~it->second);
                            ASSERT_EQ(after.at(i) & keep, before.at(i) & keep)
                                << where(*t, r, f) << " storing \"" << v.toStdString()
                                << "\" changed byte " << i;
                        }
                    }
                }
            }
        }
    }
}

TEST(FieldTables, NoTwoFieldsOwnOneBitUnlessDeclaredShared) {
    for (const Table* t : registry()) {
        std::map<int, std::pair<uint8_t, const Field*>> owner;
        for (const Field& f : t->fields) {
            for (const Extra& e : ownedBits(f)) {
                auto& slot = owner[e.offset];
                if (slot.second && (slot.first & e.mask) &&
                    !((f.flags & kShared) && (slot.second->flags & kShared)))
                    ADD_FAILURE() << t->section << ": " << f.key << " and " << slot.second->key
                                  << " both own bits of byte " << e.offset;
                slot.first |= e.mask;
                slot.second = &f;
            }
        }
    }
}

TEST(FieldTables, EveryListTextRoundTripsInBothLanguages) {
    for (const Table* t : registry()) {
        for (const Field& f : t->fields) {
            const QStringList en = items(f, false);
            const QStringList zh = items(f, true);
            ASSERT_EQ(en.size(), zh.size()) << f.key;
            for (int i = 0; i < en.size(); ++i) {
                for (bool typedZh : {false, true}) {
                    const QString typed = typedZh ? zh[i] : en[i];
                    for (bool shownZh : {false, true}) {
                        Env env;
                        env.chinese = shownZh;
                        const Parsed p = parse(f, typed, env);
                        ASSERT_TRUE(p.ok)
                            << f.key << " refuses its own item " << typed.toStdString();
                        const QString expected = shownZh ? zh[i] : en[i];
                        // The tone check gives a typed entry of the tone list (261 texts)
                        // in capitals: "None" becomes "NONE".
                        const bool tone = f.kind == Kind::Custom && en.size() == 261;
                        EXPECT_EQ(p.text, tone && typedZh == shownZh ? typed.toUpper() : expected)
                            << f.key;
                        // Stored and shown again, the item comes back (a list that maps two
                        // raw values to one item must store one of them).
                        if (f.kind == Kind::Custom) continue;
                        RadioImage image = randomImage(11);
                        uint8_t* base = image.data() + t->recordOffset(0);
                        store(f, base, typed, env);
                        EXPECT_EQ(show(f, base, env), p.text) << f.key;
                    }
                }
            }
        }
    }
}

TEST(FieldTables, AFormStoredAndLoadedAgainIsStable) {
    for (const RadioImage& original : sampleImages()) {
        for (const Table* t : registry()) {
            for (int r : records(*t)) {
                RadioImage image = original;
                const Env env = envFor(original, false);
                store(load(*t, image, env, r), image);
                RadioImage again = image;
                store(load(*t, again, env, r), again);
                EXPECT_EQ(again, image) << t->section << "[" << r << "]";
            }
        }
    }
}
