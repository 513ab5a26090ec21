// The service tables' own rules, through load, set and store as the dialogs and
// `cps set` use them.
#include <gtest/gtest.h>

#include "ParamAdjustFields.h"
#include "RadioImage.h"
#include "SoftwareInfoFields.h"
#include "SqlTuningFields.h"

using namespace cps;
using namespace cps::field;

namespace {

Form open(const Table& t, const RadioImage& image) { return load(t, image, Env{}); }

void setBytes(RadioImage& image, int offset, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) image.set(offset++, b);
}

QString typed(Form& form, const char* key, const QString& text) {
    const Parsed p = set(form, form.index(QString::fromUtf8(key)), text);
    EXPECT_TRUE(p.ok) << key << ": " << p.why.toStdString();
    return p.text;
}

}  // namespace

TEST(ParamAdjust, SignAndMagnitudeDifference) {
    RadioImage image = RadioImage::factory();
    image.set(0xFCE, 0x85);
    Form form = open(paramAdjustFields(), image);
    EXPECT_EQ(form.value("W/N Sql Difference"), "-5");
    store(form, image);
    EXPECT_EQ(image.at(0xFCE), 0x85);
    typed(form, "W/N Sql Difference", "7");
    store(form, image);
    EXPECT_EQ(image.at(0xFCE), 0x07);
    image.set(0xFCE, 0xFF);  // -127: no such entry, the first one is selected
    EXPECT_EQ(open(paramAdjustFields(), image).value("W/N Sql Difference"), "-10");
    EXPECT_FALSE(set(form, form.index("W/N Sql Difference"), "11").ok);
}

TEST(ParamAdjust, ListsSelectByTextAndFallBackToTheirDefaults) {
    RadioImage image = RadioImage::factory();
    setBytes(image, 0xFCA, {0x2B, 0x00});
    EXPECT_EQ(open(paramAdjustFields(), image).value("Max amp offset"), "43");

    // A stored 3 selects the first entry that begins with it, which is in range and kept.
    setBytes(image, 0xFCA, {0x03, 0x00});
    Form form = open(paramAdjustFields(), image);
    EXPECT_EQ(form.value("Max amp offset"), "30");
    store(form, image);
    EXPECT_EQ(image.at(0xFCA), 30);
    EXPECT_EQ(image.at(0xFCB), 0);

    // No entry begins with these: the default, also in lists that start at 0.
    setBytes(image, 0xFCA, {0xE8, 0x03});  // 1000
    image.set(0xFC9, 200);                 // Mic amp gain, 0 to 15
    image.set(0xFCC, 0);                   // Tone amp offset (ana), 5 to 30
    image.set(0xFCD, 2);                   // "20"
    form = open(paramAdjustFields(), image);
    EXPECT_EQ(form.value("Max amp offset"), "43");
    EXPECT_EQ(form.value("Mic amp gain"), "6");
    EXPECT_EQ(form.value("Tone amp offset (ana)"), "13");
    EXPECT_EQ(form.value("Tone amp offset (digit)"), "20");
    store(form, image);
    EXPECT_EQ(image.at(0xFC9), 6);
    EXPECT_EQ(image.at(0xFCA), 43);
    EXPECT_EQ(image.at(0xFCC), 13);
    EXPECT_EQ(image.at(0xFCD), 20);
}

TEST(ParamAdjust, GridCellsAndDetectionBits) {
    RadioImage image = RadioImage::factory();
    image.set(0xFB4, 0xF0);
    image.set(0xFB7 + 5, 200);  // sql detect 2 narrow high
    Form form = open(paramAdjustFields(), image);
    EXPECT_EQ(form.value(detectCellKey(2, 2)), "30");
    EXPECT_EQ(typed(form, detectCellKey(1, 1).toUtf8().constData(), "150"), "100");
    EXPECT_EQ(typed(form, detectCellKey(4, 4).toUtf8().constData(), "2"), "5");
    typed(form, "Wide detect 2", "On");
    store(form, image);
    EXPECT_EQ(image.at(0xFB7 + 5), 30);
    EXPECT_EQ(image.at(0xFB7), 100);
    EXPECT_EQ(image.at(0xFC6), 5);
    EXPECT_EQ(image.at(0xFB4), 0xF8);  // the upper bits kept
    // Cells up to 128 are shown and kept as they are.
    image.set(0xFB8, 120);
    EXPECT_EQ(open(paramAdjustFields(), image).value(detectCellKey(1, 2)), "120");
    EXPECT_TRUE(paramAdjustFields().needsAccessCode);
}

TEST(SqlTuning, LevelsDefaultsAndTheFillerBytes) {
    RadioImage image = RadioImage::factory();
    image.set(0xFAB, 3);
    setBytes(image, 0xFA5, {0x00, 0xFF});
    Form form = open(sqlTuningFields(), image);
    EXPECT_EQ(form.value("440-449"), "23");
    EXPECT_EQ(form.value("130-139"), "37");
    EXPECT_EQ(typed(form, "130-139", "250"), "100");
    EXPECT_EQ(typed(form, "140-149", "0"), "5");
    EXPECT_EQ(typed(form, "150-159", "1234"), "100");  // the edit takes three characters
    store(form, image);
    EXPECT_EQ(image.at(0xFAB), 23);
    EXPECT_EQ(image.at(0xFA0), 100);
    EXPECT_EQ(image.at(0xFA1), 5);
    EXPECT_EQ(image.at(0xFA5), 0x1A);
    EXPECT_EQ(image.at(0xFA6), 0x1A);
}

TEST(SqlTuning, StepsWrapAtBothEnds) {
    RadioImage image = RadioImage::factory();
    image.set(0xFA0, 100);
    image.set(0xFA1, 5);
    Form form = open(sqlTuningFields(), image);
    stepSqlLevels(form, 1);
    EXPECT_EQ(form.value("130-139"), "5");
    EXPECT_EQ(form.value("140-149"), "6");
    EXPECT_EQ(form.value("520-529"), "20");
    stepSqlLevels(form, -1);
    EXPECT_EQ(form.value("130-139"), "100");
    EXPECT_EQ(form.value("140-149"), "5");
    stepSqlLevels(form, -1);
    EXPECT_EQ(form.value("140-149"), "100");
    EXPECT_EQ(form.value("520-529"), "18");
}

TEST(SoftwareInfo, LoadsTheBandAndChecksItsPair) {
    RadioImage image = RadioImage::factory();
    image.set(addr::kBandCode, 2);
    packBands(image, Bands{{400 * kPerMHz, 470 * kPerMHz}, {400 * kPerMHz, 470 * kPerMHz}});
    Form form = open(softwareInfoFields(), image);
    EXPECT_EQ(form.value("Freq Band"), "U Section");
    EXPECT_FALSE(freq1Editable(bandOf(form)));
    EXPECT_EQ(form.value("Low Freq 2"), "400");
    EXPECT_EQ(form.value("High Freq 2"), "470");

    // V with High Freq 1 at 200: the load check allows it, leaving the edit does not.
    image.set(addr::kBandCode, 1);
    packBands(image, Bands{{136 * kPerMHz, 200 * kPerMHz}, {136 * kPerMHz, 174 * kPerMHz}});
    form = open(softwareInfoFields(), image);
    EXPECT_EQ(form.value("High Freq 1"), "200");
    typed(form, "High Freq 1", "200");
    EXPECT_EQ(form.value("Low Freq 1"), "134");
    EXPECT_EQ(form.value("High Freq 1"), "176");
    EXPECT_EQ(form.value("High Freq 2"), "176");

    // An unknown band code is V; an impossible pair is reset.
    image.set(addr::kBandCode, 7);
    packBands(image, Bands{{100 * kPerMHz, 174 * kPerMHz}, {400 * kPerMHz, 470 * kPerMHz}});
    form = open(softwareInfoFields(), image);
    EXPECT_EQ(form.value("Freq Band"), "V Section");
    EXPECT_EQ(form.value("Low Freq 2"), "134");
    EXPECT_EQ(form.value("High Freq 2"), "176");
}

TEST(SoftwareInfo, BandChangeAndLeavingTheLimits) {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    Form form = open(softwareInfoFields(), image);
    typed(form, "Low Freq 1", "140");
    EXPECT_EQ(form.value("Low Freq 2"), "140");
    typed(form, "Freq Band", "V Section");  // the same band: nothing resets
    EXPECT_EQ(form.value("Low Freq 1"), "140");
    typed(form, "Low Freq 1", "120");
    for (const char* k : {"Low Freq 1", "Low Freq 2"}) EXPECT_EQ(form.value(k), "134");
    for (const char* k : {"High Freq 1", "High Freq 2"}) EXPECT_EQ(form.value(k), "176");
    typed(form, "Freq Band", "M Section");
    for (const char* k : {"Low Freq 1", "Low Freq 2"}) EXPECT_EQ(form.value(k), "330");
    for (const char* k : {"High Freq 1", "High Freq 2"}) EXPECT_EQ(form.value(k), "400");
    EXPECT_FALSE(freq1Editable(bandOf(form)));

    typed(form, "Freq Band", "U Section");
    typed(form, "High Freq 2", "470");
    EXPECT_EQ(form.value("High Freq 1"), "470");
    typed(form, "High Freq 2", "530");  // out of range: only pair 2 resets
    EXPECT_EQ(form.value("Low Freq 2"), "400");
    EXPECT_EQ(form.value("High Freq 2"), "520");
    EXPECT_EQ(form.value("High Freq 1"), "470");
    typed(form, "Low Freq 2", "300");  // out of range: all four reset
    EXPECT_EQ(form.value("High Freq 1"), "520");
    EXPECT_EQ(typed(form, "Low Freq 2", "4a1x0"), "410");  // the edit takes digits only
    EXPECT_EQ(form.value("Low Freq 1"), "410");
}

TEST(SoftwareInfo, StoresBothEncodings) {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    Form form = open(softwareInfoFields(), image);
    typed(form, "Low Freq 1", "136");
    typed(form, "High Freq 1", "174");
    store(form, image);
    EXPECT_EQ(image.at(0xFF0), 0x13);
    EXPECT_EQ(image.at(0xFF1), 0x17);
    EXPECT_EQ(image.at(0xFF2), 0x64);
    EXPECT_EQ(image.at(0xFF5), 0x64);
    const uint8_t limits[4] = {0x88, 0x00, 0xAE, 0x00};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(image.at(0xFD4 + i), limits[i]) << i;
    EXPECT_EQ(image.at(addr::kModelIndex), 0);
    EXPECT_EQ(image.at(addr::kBandCode), 1);
    EXPECT_TRUE(formBands(form) == unpackBands(image));
}
