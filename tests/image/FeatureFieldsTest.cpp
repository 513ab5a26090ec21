// The feature editors' tables on the cases where their load and store rules differ from a
// plain byte copy: fallbacks, the code-time prefix search, the password, the DTMF and MSK
// filters, and the bytes a store must leave alone.
#include <gtest/gtest.h>

#include "FeatureFields.h"
#include "RadioImage.h"

using namespace cps;
using namespace cps::field;

namespace {

RadioImage newImage() {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    return image;
}

void put(RadioImage& image, int at, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) image.set(at++, b);
}

// Opens the section on image, sets each field as typed, confirms, and returns what the
// dialog showed for the fields after the typing.
Form edit(const Table& t, RadioImage& image,
          std::initializer_list<std::pair<const char*, QString>> typed, bool chinese = false) {
    Env env;
    env.chinese = chinese;
    Form form = load(t, image, env);
    for (const auto& [key, text] : typed) {
        const Parsed p = set(form, t.indexOf(QString::fromUtf8(key)), text);
        EXPECT_TRUE(p.ok) << key << ": " << p.why.toStdString();
    }
    store(form, image);
    return form;
}

QString shown(const Table& t, const RadioImage& image, const char* key, bool chinese = false) {
    Env env;
    env.chinese = chinese;
    return load(t, image, env).value(QString::fromUtf8(key));
}

}  // namespace

TEST(OptionalFeatures, OutOfRangeValuesOpenAsTheirFallbackAndStoreIt) {
    RadioImage image = newImage();
    image.set(feature::kTot, 0x0A);                                     // beyond 270
    image.set(feature::kKeys, (image.at(feature::kKeys) & ~0x03) | 3);  // orange key 3
    image.set(feature::kKeys, image.at(feature::kKeys) | 0x60);         // scan mode 3
    image.set(feature::kDisplay, image.at(feature::kDisplay) | 0xFC);   // three fields at 3
    image.set(feature::kPriority, 129);
    const Table& t = optionalFields();
    EXPECT_EQ(shown(t, image, "TOT (s)"), "Off");
    EXPECT_EQ(shown(t, image, "TOT (s)", true), "关闭");
    EXPECT_EQ(shown(t, image, "Short Press Orange Key"), "Emergency Call");
    EXPECT_EQ(shown(t, image, "Scan Mode"), "TO");
    EXPECT_EQ(shown(t, image, "Back Light"), "Off");
    EXPECT_EQ(shown(t, image, "Back Light Color"), "Light 1");
    EXPECT_EQ(shown(t, image, "Power-on Style"), "Off");
    EXPECT_EQ(shown(t, image, "Priority Channel"), "None");

    const uint8_t display = image.at(feature::kDisplay);
    edit(t, image, {});
    EXPECT_EQ(image.at(feature::kTot), 0);
    EXPECT_EQ(image.at(feature::kKeys) & 0x03, 2);
    EXPECT_EQ(image.at(feature::kKeys) & 0x60, 0);
    EXPECT_EQ(image.at(feature::kPriority), 0);
    // STR Set and bit 1, which no option owns, keep their value.
    EXPECT_EQ(image.at(feature::kDisplay), display & 0x03);
}

TEST(OptionalFeatures, EveryOptionStoresItsBitsAndNoOthers) {
    RadioImage image;
    for (int i = 0; i < kImageSize; ++i) image.set(i, 0x00);
    edit(optionalFields(), image,
         {{"TOT (s)", "270"},
          {"Squelch Level", "9"},
          {"Vox Gain Level", "关"},
          {"Step (k)", "25"},
          {"TOT Pre-Alert (s)", "9"},
          {"Short Press Orange Key", "Send 1750 Singal"},
          {"Key Lock", "Manual"},
          {"Beep", "On"},
          {"Stopwatch", "Off"},
          {"Scan Mode", "SE"},
          {"Tail", "On"},
          {"STR Set", "Manual"},
          {"Power-on Style", "Message"},
          {"Back Light", "On"},
          {"Back Light Color", "Light 3"},
          {"Display Mode", "FREQ"},
          {"Battery Saver", "Off"},
          {"Keypad Lock", "Off"},
          {"Priority Channel", "128"},
          {"MSK Type", "MSK-I"},
          {"Repeater Msk Invert", "On"},
          {"Allow Reset", "Enable"},
          {"Tx Roger", "On"},
          {"Password", "123456"}});
    EXPECT_EQ(image.at(0xC40), 9);
    EXPECT_EQ(image.at(0xC41), 9);
    EXPECT_EQ(image.at(0xC42), 0);
    EXPECT_EQ(image.at(0xC43), 4);
    EXPECT_EQ(image.at(0xC44), 9);
    EXPECT_EQ(image.at(0xC45), 0x01 | 0x04 | 0x08 | 0x40 | 0x80);
    EXPECT_EQ(image.at(0xC46), 0x01 | 0x08 | 0x20 | 0x80);
    EXPECT_EQ(image.at(0xC47), 0x03);
    EXPECT_EQ(image.at(0xC70), 0x80);  // saver off, keypad lock not checked
    EXPECT_EQ(image.at(0xC71), 128);
    EXPECT_EQ(image.at(0xC73), 0x01 | 0x02 | 0x10 | 0x20);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(image.data()) + 0xFE2, 6), "123456");
    // Nothing else in the block moved.
    for (int at : {0xC48, 0xC49, 0xC72, 0xC74, 0xFE0, 0xFE1, 0xFE8})
        EXPECT_EQ(image.at(at), 0) << at;
}

TEST(OptionalFeatures, PasswordShowsLeadingDigitsAndKeepsWhatItCannotShow) {
    RadioImage image = newImage();
    const Table& t = optionalFields();
    put(image, addr::kPassword, {0x31, 0x32, 0x41, 0x34, 0xFF, 0xFF});
    EXPECT_EQ(shown(t, image, "Password"), "12");

    // Confirming for another option leaves the six bytes as the radio has them.
    const RadioImage before = image;
    edit(t, image, {{"Beep", "Off"}});
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(image.at(addr::kPassword + i), before.at(addr::kPassword + i));

    // Typed: digits only, six at most.
    Form f = edit(t, image, {{"Password", "1234567"}});
    EXPECT_EQ(f.value("Password"), "123456");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(image.data()) + 0xFE2, 6), "123456");
    f = edit(t, image, {{"Password", "9a8 7"}});
    EXPECT_EQ(f.value("Password"), "987");
    EXPECT_EQ(image.at(0xFE5), 0xFF);
    edit(t, image, {{"Password", ""}});
    for (int i = 0; i < 6; ++i) EXPECT_EQ(image.at(addr::kPassword + i), 0xFF);

    Env strict;
    strict.strict = true;
    EXPECT_FALSE(parse(*t.find("Password"), "12x", strict).ok);
}

TEST(Dtmf, CodeTimeOpensByPrefixAndStoresTheValueOverTen) {
    const Table& t = dtmfFields();
    const std::pair<uint8_t, const char*> cases[] = {{1, "100"},  {2, "200"},    {3, "300"},
                                                     {0, "100"},  {0xFF, "100"}, {8, "80"},
                                                     {30, "300"}, {31, "100"},   {4, "100"}};
    for (const auto& [raw, text] : cases) {
        RadioImage image = newImage();
        image.set(feature::kCodeTime, raw);
        EXPECT_EQ(shown(t, image, "Dtmf Code Time"), text) << int(raw);
        edit(t, image, {});
        EXPECT_EQ(image.at(feature::kCodeTime), QString::fromLatin1(text).toInt() / 10) << int(raw);
    }
    // An empty selection stores 100 ms.
    RadioImage image = newImage();
    image.set(feature::kCodeTime, 25);
    Form form = load(t, image, Env{});
    form.values[t.indexOf("Dtmf Code Time")].clear();
    store(form, image);
    EXPECT_EQ(image.at(feature::kCodeTime), 10);
}

TEST(Dtmf, StatusGroupCodeAndTheCodes) {
    const Table& t = dtmfFields();
    RadioImage image = newImage();
    Form f = load(t, image, Env{});
    EXPECT_EQ(f.value("Work Status"), "Normal");
    EXPECT_EQ(f.value("Group Code"), "*");

    image.set(feature::kWorkStatus, 0xA5);
    EXPECT_EQ(shown(t, image, "Work Status", true), "遥晕");
    image.set(feature::kWorkStatus, 0x00);
    EXPECT_EQ(shown(t, image, "Work Status"), "Normal");
    edit(t, image, {});
    EXPECT_EQ(image.at(feature::kWorkStatus), 0xFF);
    edit(t, image, {{"Work Status", "Stun"}, {"Turnking", "开"}});
    EXPECT_EQ(image.at(feature::kWorkStatus), 0xA5);
    EXPECT_EQ(image.at(feature::kModes) & 0x20, 0x20);

    image.set(feature::kGroupCode, 0x10);
    EXPECT_EQ(shown(t, image, "Group Code"), "");
    edit(t, image, {});
    EXPECT_EQ(image.at(feature::kGroupCode), 0xFF);
    edit(t, image, {{"Group Code", "D"}});
    EXPECT_EQ(image.at(feature::kGroupCode), 13);

    put(image, feature::kLocalId, {0x31, 0x32, 0x41, 0x2A, 0xFF});
    EXPECT_EQ(shown(t, image, "Local ID"), "12A*");
    put(image, feature::kLocalId, {0x31, 0x32, 0x5A, 0x33});
    EXPECT_EQ(shown(t, image, "Local ID"), "12");

    // Typing: capitals, DTMF symbols only, seven at most; BOT and EOT clear their eighth
    // byte, the local ID leaves the bytes after its seventh.
    image.set(feature::kBot + 7, 0x00);
    image.set(feature::kLocalId + 7, 0x42);
    f = edit(t, image, {{"BOT", "a%e1"}, {"EOT", "1234567"}, {"Local ID", "#*DCBA98"}});
    EXPECT_EQ(f.value("BOT"), "A1");
    EXPECT_EQ(f.value("Local ID"), "#*DCBA9");
    EXPECT_EQ(image.at(feature::kBot), 'A');
    EXPECT_EQ(image.at(feature::kBot + 2), 0xFF);
    EXPECT_EQ(image.at(feature::kBot + 7), 0xFF);
    EXPECT_EQ(image.at(feature::kEot + 6), '7');
    EXPECT_EQ(image.at(feature::kEot + 7), 0xFF);
    EXPECT_EQ(image.at(feature::kLocalId + 6), '9');
    EXPECT_EQ(image.at(feature::kLocalId + 7), 0x42);
}

TEST(Msk, CodesRunOnAcrossRowsAndTakeHexDigitsOnly) {
    const Table& t = mskFields();
    RadioImage image = newImage();
    Form f =
        edit(t, image, {{"Call List 3", "12ab"}, {"Call List 9", "g1F"}, {"ID Code", "fffff"}});
    EXPECT_EQ(f.value("Call List 9"), "1F");
    EXPECT_EQ(f.value("ID Code"), "FFFF");
    const uint8_t entry3[] = {0x31, 0x32, 0x41, 0x42};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(image.at(0xC8C + i), entry3[i]);
    EXPECT_EQ(image.at(0xCA4), '1');
    EXPECT_EQ(image.at(0xCA5), 'F');
    EXPECT_EQ(image.at(0xCA6), 0xFF);
    EXPECT_EQ(image.at(0xCA7), 0xFF);
    EXPECT_EQ(shown(t, image, "Call List 3"), "12AB");
    EXPECT_EQ(shown(t, image, "Call List 2"), "");
}

TEST(KeyAssignment, OptionIStoresThreeMinusIAndKeepsTheUpperBits) {
    const Table& t = keyFields();
    RadioImage image = newImage();
    EXPECT_EQ(image.at(feature::kSideKey), 0xFF);
    edit(t, image, {});
    EXPECT_EQ(image.at(feature::kSideKey), 0xFF);
    image.set(feature::kSideKey, 0xA5);
    EXPECT_EQ(shown(t, image, "Side Key"), "Send 1750Hz Singal");
    edit(t, image, {{"Side Key", "Squelch Off Momentary"}});
    EXPECT_EQ(image.at(feature::kSideKey), 0xA4);
    edit(t, image, {{"Side Key", "紧急呼叫"}});
    EXPECT_EQ(image.at(feature::kSideKey), 0xA6);
}

TEST(Stun, TypeBitAndCodes) {
    const Table& t = stunFields();
    EXPECT_TRUE(t.needsAccessCode);
    RadioImage image = newImage();
    image.set(feature::kStunCode + 7, 0x12);
    Form f = edit(
        t, image,
        {{"Stun Type", "Kill"}, {"Stun/Kill Code", "b1E 2"}, {"Remove Stun/Kill code", "1234567"}});
    EXPECT_EQ(f.value("Stun/Kill Code"), "B12");
    EXPECT_EQ(image.at(feature::kSignalling), 0x41 & ~0x40);
    EXPECT_EQ(image.at(feature::kStunCode + 2), '2');
    EXPECT_EQ(image.at(feature::kStunCode + 3), 0xFF);
    EXPECT_EQ(image.at(feature::kStunCode + 7), 0x12);  // the printout's bytes stay
    EXPECT_EQ(image.at(feature::kRemoveStunCode + 6), '7');
    put(image, feature::kStunCode, {0x31, 0x32, 0x45});
    EXPECT_EQ(shown(t, image, "Stun/Kill Code"), "12");
    EXPECT_EQ(shown(t, image, "Stun Type", true), "遥毙");
}
