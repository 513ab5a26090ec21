#include <gtest/gtest.h>

#include "Tones.h"

using namespace cps;

TEST(Tones, ListHas261EntriesInOrder) {
    for (bool chinese : {false, true}) {
        const QStringList& list = tones::list(chinese);
        ASSERT_EQ(list.size(), tones::kCount);
        EXPECT_EQ(list[0], chinese ? QStringLiteral("无") : QStringLiteral("None"));
        EXPECT_EQ(list[1], "67.0");
        EXPECT_EQ(list[50], "254.1");
        EXPECT_EQ(list[51], "D023N");
        EXPECT_EQ(list[155], "D754N");
        EXPECT_EQ(list[156], "D023I");
        EXPECT_EQ(list[260], "D754I");
    }
}

TEST(Tones, EveryListTextSurvivesTheStoredForm) {
    for (bool chinese : {false, true}) {
        for (const QString& text : tones::list(chinese)) {
            const ToneBytes bytes = tones::fromText(text);
            EXPECT_EQ(tones::toText(bytes, chinese), text) << text.toStdString();
        }
    }
}

TEST(Tones, StoredForms) {
    EXPECT_EQ(tones::fromText("88.5"), (ToneBytes{0x85, 0x08}));
    EXPECT_EQ(tones::fromText("254.1"), (ToneBytes{0x41, 0x25}));
    EXPECT_EQ(tones::fromText("D023N"), (ToneBytes{0x23, 0x80}));
    EXPECT_EQ(tones::fromText("D023I"), (ToneBytes{0x23, 0xC0}));
    EXPECT_EQ(tones::fromText("D754I"), (ToneBytes{0x54, 0xC7}));
    EXPECT_EQ(tones::fromText("None"), (ToneBytes{0xFF, 0xFF}));
    EXPECT_EQ(tones::fromText(QStringLiteral("无")), (ToneBytes{0xFF, 0xFF}));
    EXPECT_EQ(tones::fromText(""), (ToneBytes{0xFF, 0xFF}));
    // A tone off the list but typed in tenths still stores exactly.
    EXPECT_EQ(tones::fromText("259.9"), (ToneBytes{0x99, 0x25}));
    EXPECT_EQ(tones::fromText("60.0"), (ToneBytes{0x00, 0x06}));

    EXPECT_EQ(tones::toText({0x12, 0x00}, false), "None");  // H = 0 is no tone whatever L holds
    EXPECT_EQ(tones::toText({0x12, 0xFF}, true), QStringLiteral("无"));
    EXPECT_EQ(tones::toText({0xFF, 0xFF}, false, /*noTransmit=*/true), "");
    EXPECT_EQ(tones::toText({0x00, 0x10}, false), "100.0");
    EXPECT_EQ(tones::toText({0x23, 0x80}, false), "D023N");
    EXPECT_EQ(tones::toText({0x54, 0xC7}, false), "D754I");
}

TEST(Tones, TypedEntries) {
    QString cell = "keep";
    EXPECT_TRUE(tones::checkTyped("", false, &cell));
    EXPECT_EQ(cell, "None");
    EXPECT_TRUE(tones::checkTyped("", true, &cell));
    EXPECT_EQ(cell, QStringLiteral("无"));
    EXPECT_TRUE(tones::checkTyped("d023n", false, &cell));
    EXPECT_EQ(cell, "D023N");
    EXPECT_TRUE(tones::checkTyped("100.55", false, &cell));
    EXPECT_EQ(cell, "100.5");
    EXPECT_TRUE(tones::checkTyped("60", false, &cell));
    EXPECT_EQ(cell, "60.0");
    EXPECT_TRUE(tones::checkTyped("259.99", false, &cell));
    EXPECT_EQ(cell, "259.9");
    // 0.1 Hz precision must not lose a tenth to binary rounding.
    EXPECT_TRUE(tones::checkTyped("69.3", false, &cell));
    EXPECT_EQ(cell, "69.3");

    cell = "keep";
    EXPECT_FALSE(tones::checkTyped("59.9", false, &cell));
    EXPECT_FALSE(tones::checkTyped("260", false, &cell));
    EXPECT_FALSE(tones::checkTyped("abc", false, &cell));
    EXPECT_EQ(cell, "keep");
}
