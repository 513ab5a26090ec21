// The generic conversions of each field kind, on small hand-made fields.
#include <gtest/gtest.h>

#include "Field.h"

using namespace cps;
using namespace cps::field;

namespace {

struct Bytes {
    uint8_t b[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
};

const Env kEn{};
const Env kZh{true, {}, false};

}  // namespace

TEST(Field, ListsShowTheirItemAFallbackOrNothing) {
    Field f = Field::list("L", {"L", "列"}, 0, 0x0C, {{"A", "甲"}, {"B", "乙"}, {"C", "丙"}});
    Bytes x;
    x.b[0] = 0x08 | 0x03;
    EXPECT_EQ(show(f, x.b, kEn), "C");
    EXPECT_EQ(show(f, x.b, kZh), "丙");
    x.b[0] = 0x0C;  // 3: no item
    EXPECT_EQ(show(f, x.b, kEn), "");
    f.withFallback(1);
    EXPECT_EQ(show(f, x.b, kEn), "B");

    x.b[0] = 0xFF;
    store(f, x.b, QStringLiteral("甲"), kEn);  // either language stores
    EXPECT_EQ(x.b[0], 0xF3);
    store(f, x.b, QStringLiteral("nothing"), kEn);  // no item, no rule: bits kept
    EXPECT_EQ(x.b[0], 0xF3);
    f.withNoMatch(2);
    store(f, x.b, QStringLiteral("nothing"), kEn);
    EXPECT_EQ(x.b[0], 0xFB);

    const Parsed bad = parse(f, QStringLiteral("D"), kEn);
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.why.indexOf("A, B, C"), -1) << bad.why.toStdString();
}

TEST(Field, MappedCodesAndInvertedFlags) {
    Field m = Field::mapped("M", {"M", "映"}, 0, 0xFF, {{"Stun", "遥晕"}, {"Normal", "正常"}},
                            {{0xA5, 0}, {0xFF, 1}});
    Bytes x;
    EXPECT_EQ(show(m, x.b, kEn), "Normal");
    store(m, x.b, QStringLiteral("遥晕"), kEn);
    EXPECT_EQ(x.b[0], 0xA5);

    Field f = Field::flag("F", {"F", "旗"}, 1, 0x40, /*inverted=*/true);
    EXPECT_EQ(show(f, x.b, kEn), "Off");
    store(f, x.b, QStringLiteral("On"), kEn);
    EXPECT_EQ(x.b[1], 0xBF);
    EXPECT_FALSE(parse(f, QStringLiteral("yes"), kEn).ok);
    EXPECT_EQ(parse(f, QStringLiteral("on"), kEn).text, "On");
}

TEST(Field, NumbersScaleClampAndSayWhenAltered) {
    // Tenths of a second in one byte, 0.5 to 25.0 s.
    Field f = Field::number("N", {"N", "数"}, 0, 1, 5, 250).scaled(1, 10, 1);
    Bytes x;
    x.b[0] = 35;
    EXPECT_EQ(show(f, x.b, kEn), "3.5");
    Parsed p = parse(f, QStringLiteral("12.34"), kEn);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.text, "12.3");
    EXPECT_TRUE(p.changed);
    p = parse(f, QStringLiteral("99"), kEn);
    EXPECT_EQ(p.text, "25.0");
    EXPECT_TRUE(p.changed);
    p = parse(f, QStringLiteral("2.0"), kEn);
    EXPECT_EQ(p.text, "2.0");
    EXPECT_FALSE(p.changed);
    EXPECT_FALSE(parse(f, QStringLiteral("abc"), kEn).ok);
    store(f, x.b, QStringLiteral("0"), kEn);
    EXPECT_EQ(x.b[0], 5);

    // 16 bits, high byte first.
    Field w = Field::number("W", {"W", "宽"}, 2, 2, 0, 65535).bigEnd();
    store(w, x.b, QStringLiteral("4660"), kEn);
    EXPECT_EQ(x.b[2], 0x12);
    EXPECT_EQ(x.b[3], 0x34);
    EXPECT_EQ(show(w, x.b, kEn), "4660");
}

TEST(Field, TextsFilterWhenTypedAndRefuseWhenStrict) {
    Field f = Field::ascii("T", {"T", "文"}, 0, 4, QStringLiteral("0123456789ABCD*#")).with(kUpper);
    Parsed p = parse(f, QStringLiteral("1a-b23"), kEn);
    EXPECT_EQ(p.text, "1AB2");  // '-' dropped, cut to 4
    EXPECT_TRUE(p.changed);
    Env strict;
    strict.strict = true;
    EXPECT_FALSE(parse(f, QStringLiteral("1-2"), strict).ok);
    EXPECT_FALSE(parse(f, QStringLiteral("12345"), strict).ok);

    Bytes x;
    x.b[4] = 0x41;
    store(f, x.b, QStringLiteral("12"), kEn);
    EXPECT_EQ(x.b[0], '1');
    EXPECT_EQ(x.b[2], 0xFF);
    EXPECT_EQ(x.b[4], 0x41);  // past the field
    x.b[1] = 0x00;            // a zero ends the text as 0xFF does
    EXPECT_EQ(show(f, x.b, kEn), "1");
}

TEST(Field, FormsRunTheirCrossFieldRules) {
    static Table t;
    t.section = "t";
    t.fields = {Field::list("A", {"A", "甲"}, 0, 0x01, {{"Off", "关"}, {"On", "开"}}),
                Field::number("B", {"B", "乙"}, 1, 1, 0, 9)};
    // Switching A on resets B, as a dialog's linked controls would.
    t.afterSet = [](Form& form, int index) {
        if (index == 0) form.values[1] = QStringLiteral("0");
    };
    RadioImage image;
    Form form = load(t, image, kEn);
    EXPECT_EQ(form.values, QStringList({"On", "255"}));
    EXPECT_TRUE(set(form, 1, QStringLiteral("7")).ok);
    EXPECT_TRUE(set(form, 0, QStringLiteral("关")).ok);
    EXPECT_EQ(form.value("b"), "0");
    EXPECT_FALSE(set(form, 0, QStringLiteral("maybe")).ok);
    store(form, image);
    EXPECT_EQ(image.at(0), 0xFE);
    EXPECT_EQ(image.at(1), 0);
}
