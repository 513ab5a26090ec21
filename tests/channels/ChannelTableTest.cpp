#include <gtest/gtest.h>

#include "ChannelTable.h"
#include "Tones.h"

using namespace cps;

namespace {

// Both bands 134-176 MHz unless a test says otherwise.
Bands defaultBands() {
    Bands b;
    b.band1 = {134 * kPerMHz, 176 * kPerMHz};
    b.band2 = b.band1;
    return b;
}

QStringList rowTexts(const ChannelTable& t, int row) {
    QStringList out;
    for (int c = 1; c < ChannelTable::kCols; ++c) out << t.text(row, c);
    return out;
}

class ChannelTableTest : public ::testing::Test {
  protected:
    ChannelTable table{false};
    void SetUp() override { table.setBands(defaultBands()); }
    // Types rx into an empty row and leaves the cell.
    void addChannel(int row, const QString& rx) {
        ASSERT_EQ(table.leaveCell(row, 1, rx).notice, Notice::None);
    }
};

}  // namespace

TEST_F(ChannelTableTest, ReceiveFrequencyInEmptyRowMakesNewChannel) {
    const EditOutcome out = table.leaveCell(3, 1, QStringLiteral("145.5"));
    EXPECT_EQ(out.notice, Notice::None);
    EXPECT_FALSE(out.keepEditor);
    EXPECT_EQ(rowTexts(table, 3), (QStringList{"145.50000", "145.50000", "None", "None", "", "High",
                                               "Wide", "Yes", "Off", "Off"}));
}

TEST(ChannelTableChinese, NewChannelDefaultsAreChinese) {
    ChannelTable table(true);
    table.setBands(defaultBands());
    table.leaveCell(1, 1, QStringLiteral("136.00625"));
    EXPECT_EQ(rowTexts(table, 1), (QStringList{"136.00625", "136.00625", "无", "无", "", "高", "宽",
                                               "是", "关", "关"}));
    EXPECT_EQ(ChannelTable::heading(5, true), QStringLiteral("信道名字"));
    EXPECT_EQ(table.items(EditorKind::PttId), (QStringList{"关", "发射开始", "发射结束", "两者"}));
}

TEST_F(ChannelTableTest, ReceiveFrequencyChecksInOrder) {
    addChannel(1, "145.5");
    // Not on a 5 kHz or 6.25 kHz step: message, and the whole row is gone.
    EditOutcome out = table.leaveCell(1, 1, QStringLiteral("145.503"));
    EXPECT_EQ(out.notice, Notice::BadStep);
    EXPECT_FALSE(out.keepEditor);
    EXPECT_EQ(rowTexts(table, 1), QStringList(10, QString()));

    addChannel(2, "145.5");
    // Beyond 600 MHz: the cell keeps its text and the editor stays open.
    out = table.leaveCell(2, 1, QStringLiteral("600.00001"));
    EXPECT_EQ(out.notice, Notice::BadFormat);
    EXPECT_TRUE(out.keepEditor);
    EXPECT_FALSE(out.clearEditor);
    EXPECT_EQ(table.text(2, 1), QStringLiteral("145.50000"));
    EXPECT_EQ(table.leaveCell(2, 1, QStringLiteral("66.99999")).notice, Notice::BadFormat);
    EXPECT_EQ(table.leaveCell(2, 1, QStringLiteral("abc")).notice, Notice::BadFormat);

    // On step but outside both bands: message, cell unchanged, editor closes.
    out = table.leaveCell(2, 1, QStringLiteral("200"));
    EXPECT_EQ(out.notice, Notice::OutOfRange);
    EXPECT_FALSE(out.keepEditor);
    EXPECT_EQ(table.text(2, 1), QStringLiteral("145.50000"));

    EXPECT_EQ(table.leaveCell(2, 1, QStringLiteral("136.0025")).notice, Notice::BadStep);
}

TEST_F(ChannelTableTest, ChangingReceiveFrequencyKeepsTheRest) {
    addChannel(5, "145.5");
    table.setText(5, 6, QStringLiteral("Low"));
    addChannel(5, "150.0125");  // 6.25 kHz step
    EXPECT_EQ(table.text(5, 1), QStringLiteral("150.01250"));
    EXPECT_EQ(table.text(5, 2), QStringLiteral("145.50000"));
    EXPECT_EQ(table.text(5, 6), QStringLiteral("Low"));
}

TEST_F(ChannelTableTest, SecondBandAccepted) {
    Bands b = defaultBands();
    b.band2 = {400 * kPerMHz, 470 * kPerMHz};
    table.setBands(b);
    addChannel(1, "446.00625");
    EXPECT_EQ(table.text(1, 1), QStringLiteral("446.00625"));
    // Transmit outside both bands falls back to band 1's lower limit.
    table.leaveCell(1, 2, QStringLiteral("300"));
    EXPECT_EQ(table.text(1, 2), QStringLiteral("134.00000"));
}

TEST_F(ChannelTableTest, EmptyReceiveDeletesChannelAndStoreErasesRecord) {
    RadioImage image = RadioImage::factory();
    addChannel(7, "145.5");
    table.store(image);
    EXPECT_NE(image.at(recordOffset(7) + 3), 0xFF);
    table.leaveCell(7, 1, QString());
    EXPECT_EQ(rowTexts(table, 7), QStringList(10, QString()));
    table.store(image);
    for (int i = 0; i < kRecordSize; ++i) EXPECT_EQ(image.at(recordOffset(7) + i), 0xFF) << i;
}

TEST_F(ChannelTableTest, TransmitRules) {
    // No channel: the transmit cell stays empty whatever is typed.
    table.leaveCell(4, 2, QStringLiteral("145.5"));
    EXPECT_EQ(table.text(4, 2), QString());

    addChannel(4, "145.5");
    table.leaveCell(4, 2, QStringLiteral("150"));
    EXPECT_EQ(table.text(4, 2), QStringLiteral("150.00000"));
    table.leaveCell(4, 2, QStringLiteral("300"));
    EXPECT_EQ(table.text(4, 2), QStringLiteral("134.00000"));
    table.leaveCell(4, 2, QString());
    EXPECT_EQ(table.text(4, 2), QString());
}

TEST_F(ChannelTableTest, EnterInFrequencyEditor) {
    addChannel(1, "145.5");
    // Every error empties the editor and keeps it open; the row survives a step error.
    for (const char* typed : {"145.503", "700", "200"}) {
        const EditOutcome out = table.enterFrequency(1, 1, QString::fromLatin1(typed));
        EXPECT_NE(out.notice, Notice::None) << typed;
        EXPECT_TRUE(out.keepEditor) << typed;
        EXPECT_TRUE(out.clearEditor) << typed;
        EXPECT_EQ(table.text(1, 1), QStringLiteral("145.50000")) << typed;
    }
    EXPECT_EQ(table.text(1, 6), QStringLiteral("High"));
    EXPECT_FALSE(table.enterFrequency(1, 1, QStringLiteral("146")).keepEditor);
    EXPECT_EQ(table.text(1, 1), QStringLiteral("146.00000"));
    // Column 2: an empty entry becomes band 1's lower limit.
    table.enterFrequency(1, 2, QString());
    EXPECT_EQ(table.text(1, 2), QStringLiteral("134.00000"));
}

TEST_F(ChannelTableTest, OtherColumnsNeedAChannel) {
    const QStringList typed{"88.5", "None", "ABC", "High", "Wide", "No", "Carrier", "BOT"};
    for (int col = 3; col <= 10; ++col) {
        table.setText(9, col, QStringLiteral("x"));
        const CellEntry entry = table.typeCell(9, col, typed[col - 3]);
        EXPECT_EQ(table.text(9, col), QString()) << col;
        EXPECT_FALSE(entry.refused) << col;
        // Dropped, not just reformatted (no tone and no tone are the same).
        EXPECT_EQ(entry.changed, col != 4) << col;
    }
    addChannel(9, "145.5");
    table.leaveCell(9, 5, QStringLiteral("ABC"));
    EXPECT_EQ(table.text(9, 5), QStringLiteral("ABC"));
    table.leaveCell(9, 3, QStringLiteral("d023n"));
    EXPECT_EQ(table.text(9, 3), QStringLiteral("D023N"));
    table.leaveCell(9, 4, QStringLiteral("88.5"));
    EXPECT_EQ(table.text(9, 4), QStringLiteral("88.5"));
    // A refused tone leaves the cell as it was.
    table.leaveCell(9, 4, QStringLiteral("5000"));
    EXPECT_EQ(table.text(9, 4), QStringLiteral("88.5"));
}

TEST_F(ChannelTableTest, FillAndStoreRoundTrip) {
    RadioImage image = RadioImage::factory();
    packBands(image, defaultBands());
    addChannel(1, "145.5");
    table.leaveCell(1, 5, QStringLiteral("REPEAT1"));
    table.leaveCell(1, 3, QStringLiteral("67.0"));
    table.leaveCell(1, 7, QStringLiteral("Narrow"));
    addChannel(129, "170.0");
    table.store(image);

    ChannelTable again(false);
    again.fill(image, defaultBands());
    for (int row : {1, 2, 129}) EXPECT_EQ(rowTexts(again, row), rowTexts(table, row)) << row;
    RadioImage second = image;
    again.store(second);
    EXPECT_TRUE(second == image);
}

TEST_F(ChannelTableTest, ReplacedBandLimitsAreUsedButStoredAsRead) {
    // Band 2 packed as 00 00 00 is unusable: the grid works with a replacement, and a store
    // (open, then save) leaves the bytes the file held.
    RadioImage image = RadioImage::factory();
    packBands(image, defaultBands());
    const uint8_t unusable[3] = {0x00, 0x00, 0x00};
    for (int i = 0; i < 3; ++i) image.set(addr::kBandLimitsPacked + 3 + i, unusable[i]);
    const RadioImage opened = image;
    ChannelTable t(false);
    t.fill(image);
    ASSERT_FALSE(t.bandsNote().isEmpty());
    EXPECT_GT(t.bands().band2.high, 0);
    t.store(image);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(image.at(addr::kBandLimitsPacked + i), opened.at(addr::kBandLimitsPacked + i))
            << i;
    EXPECT_TRUE(image == opened);

    // The replacement still decides what the grid accepts.
    EXPECT_EQ(t.leaveCell(1, 1, QStringLiteral("145.5")).notice, Notice::None);

    // Limits set explicitly are stored as set.
    t.setBands(defaultBands());
    t.store(image);
    EXPECT_EQ(unpackBands(image), defaultBands());
}

TEST_F(ChannelTableTest, FullEightCharacterNameFromImageShows) {
    RadioImage image;
    addChannel(2, "145.5");
    table.store(image);
    const char* name = "ABCDEFGH";
    for (int i = 0; i < 8; ++i) image.set(recordOffset(2) + 16 + i, static_cast<uint8_t>(name[i]));
    table.fill(image, defaultBands());
    EXPECT_EQ(table.text(2, 5), QStringLiteral("ABCDEFGH"));
    EXPECT_EQ(ChannelTable::kNameMaxLength, 7);
}

TEST_F(ChannelTableTest, OutOfBandRecordShowsEmpty) {
    RadioImage image;
    addChannel(3, "145.5");
    table.store(image);
    Bands narrow;
    narrow.band1 = {400 * kPerMHz, 470 * kPerMHz};
    narrow.band2 = narrow.band1;
    table.fill(image, narrow);
    EXPECT_EQ(rowTexts(table, 3), QStringList(10, QString()));
}

TEST(ChannelTableLayout, HeadingsLabelsAndLists) {
    ChannelTable t(false);
    EXPECT_EQ(ChannelTable::kRows, 130);
    EXPECT_EQ(ChannelTable::kCols, 11);
    EXPECT_EQ(t.text(0, 0), QStringLiteral("CH"));
    EXPECT_EQ(t.text(0, 7), QStringLiteral(" W/N "));
    EXPECT_EQ(t.text(128, 0), QStringLiteral("128"));
    EXPECT_EQ(t.text(129, 0), QStringLiteral("Fr"));
    EXPECT_DOUBLE_EQ(ChannelTable::widthFactor(0), 0.5);
    EXPECT_DOUBLE_EQ(ChannelTable::widthFactor(3), 1.1);
    EXPECT_EQ(t.items(EditorKind::Tone).size(), tones::kCount);
    EXPECT_EQ(t.matchItem(EditorKind::Power, QStringLiteral("mid")), 1);
    EXPECT_EQ(t.matchItem(EditorKind::Tone, QStringLiteral("zzz")), -1);
    EXPECT_EQ(t.matchItem(EditorKind::Scan, QString()), 0);
    EXPECT_EQ(ChannelTable::editorFor(0), EditorKind::Frequency);
    EXPECT_EQ(ChannelTable::editorFor(2), EditorKind::Frequency);
    EXPECT_EQ(ChannelTable::editorFor(4), EditorKind::Tone);
    EXPECT_EQ(ChannelTable::editorFor(9), EditorKind::BusyLock);
}

TEST_F(ChannelTableTest, TypedCellsTheGridRefuses) {
    addChannel(2, "145.5");
    table.leaveCell(2, 3, QStringLiteral("88.5"));
    struct Case {
        int col;
        const char* typed;
        Notice notice;  // None: refused without a message of the grid
    };
    const Case cases[] = {
        {1, "145.503", Notice::BadStep},
        {1, "abc", Notice::BadFormat},
        {1, "200", Notice::OutOfRange},
        {1, "700", Notice::BadFormat},
        {2, "145,5", Notice::BadFormat},
        {2, "-145.5", Notice::BadFormat},
        // Digits and one full stop only: no second point, exponent, blank or sign.
        {1, "145.5.5", Notice::BadFormat},
        {1, "1.455e2", Notice::BadFormat},
        {1, " 145.5", Notice::BadFormat},
        {1, "+145.5", Notice::BadFormat},
        {2, ".", Notice::BadFormat},
        {2, "145.5.5", Notice::BadFormat},
        {3, "999", Notice::None},
        {3, "D02", Notice::None},
        {5, "ABCDEFGHI", Notice::None},
        {5, "名字", Notice::None},
        {5, "A\u00ffB", Notice::None},
        {6, "Hi", Notice::None},
        {7, "W", Notice::None},
        {10, "Both2", Notice::None},
    };
    for (const Case& c : cases) {
        ChannelTable t = table;
        const CellEntry e = t.typeCell(2, c.col, QString::fromUtf8(c.typed));
        EXPECT_TRUE(e.refused) << c.col << " " << c.typed;
        EXPECT_EQ(e.outcome.notice, c.notice) << c.typed;
        if (c.notice == Notice::None) {
            EXPECT_NE(e.verdict.notice, Notice::None) << c.typed;
            // A refusal without a message leaves the cell as it was.
            EXPECT_EQ(t.text(2, c.col), table.text(2, c.col)) << c.typed;
        }
    }
    ChannelTable copy = table;
    EXPECT_EQ(ChannelTable::refusalText(copy.typeCell(2, 1, QStringLiteral("145.503")), false),
              "Error data Value, please input according the step value(6.25K/5k).");
    // The record holds 8 characters, although the editor types only 7.
    EXPECT_FALSE(table.typeCell(2, 5, QStringLiteral("ABCDEFGH")).refused);
    EXPECT_EQ(table.text(2, 5), QStringLiteral("ABCDEFGH"));
}

TEST_F(ChannelTableTest, TypedCellsTellChangesFromReformatting) {
    addChannel(1, "145.5");
    struct Case {
        int col;
        const char* typed;
        const char* shown;
        bool changed;
    };
    const Case cases[] = {
        {1, "145.5", "145.50000", false},
        {2, "1000", "134.00000", true},
        {2, "150.0", "150.00000", false},
        {3, "259.99", "259.9", true},
        {3, "100.55", "100.5", true},
        {3, "88.50", "88.5", false},
        {3, "d023n", "D023N", false},
        {4, "", "None", false},
        {4, "无", "None", false},
        {4, "none", "NONE", false},  // a list entry in any case is taken in capitals
        {3, "None", "NONE", false},
        {6, "high", "High", false},
        {6, "中", "Middle", false},
        {7, "NARROW", "Narrow", false},
        {9, "qt/dqt", "QT/DQT", false},
        {10, "两者", "Both", false},
        {5, "", "", false},
    };
    for (const Case& c : cases) {
        const CellEntry e = table.typeCell(1, c.col, QString::fromUtf8(c.typed));
        EXPECT_FALSE(e.refused) << c.typed;
        EXPECT_EQ(table.text(1, c.col), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(e.changed, c.changed) << c.typed;
    }
    // Clearing the receive frequency deletes the channel; a transmit frequency typed after
    // it is dropped, which is a change.
    table.typeCell(1, 1, QString());
    EXPECT_TRUE(table.typeCell(1, 2, QStringLiteral("145.5")).changed);
    EXPECT_EQ(table.text(1, 2), QString());
}

TEST(ChannelTableLanguages, EitherLanguageTypesTheSameRecord) {
    // One row typed in Chinese texts into a Chinese and into an English grid, and in
    // English texts into an English grid: the same bytes.
    const QStringList zh{"145.5", "150", "无", "D754I", "CALL",
                         "中",    "窄",  "否", "载波",  "发射结束"};
    const QStringList en{"145.5",  "150",    "None", "D754I",   "CALL",
                         "Middle", "Narrow", "No",   "Carrier", "EOT"};
    auto typed = [](bool chinese, const QStringList& texts) {
        ChannelTable t(chinese);
        t.setBands(defaultBands());
        RadioImage image = RadioImage::factory();
        t.fill(image, defaultBands());
        for (int col = 1; col <= 10; ++col)
            EXPECT_FALSE(t.typeCell(4, col, texts[col - 1]).refused) << col;
        t.store(image);
        return image;
    };
    const RadioImage reference = typed(false, en);
    EXPECT_TRUE(typed(true, zh) == reference);
    EXPECT_TRUE(typed(false, zh) == reference);
    EXPECT_TRUE(typed(true, en) == reference);
    EXPECT_EQ(reference.at(recordOffset(4) + 13) & 0x3F, 0x03);  // Middle, Narrow, No, Carrier
}

TEST_F(ChannelTableTest, TypedRowsGoInWholeOrNotAtAll) {
    addChannel(2, QStringLiteral("150"));
    const ChannelRow before = table.row(2);
    ChannelRow good{"145.5", "145.5", "none", "88.5", "A", "low", "wide", "yes", "off", "off"};
    ChannelRow bad = good;
    bad[kColPower] = QStringLiteral("Max");
    RowsEntry e = table.typeRows(1, {good, bad});
    EXPECT_TRUE(e.refused);
    EXPECT_EQ(e.row, 2);
    EXPECT_EQ(e.col, 1 + kColPower);
    EXPECT_EQ(table.row(1), ChannelRow{});
    EXPECT_EQ(table.row(2), before);
    // Past the last row: refused before any cell is typed.
    e = table.typeRows(ChannelTable::kRows - 1, {good, good});
    EXPECT_TRUE(e.refused);
    EXPECT_TRUE(e.noRoom);
    EXPECT_EQ(table.row(129), ChannelRow{});

    e = table.typeRows(1, {good, ChannelRow{}});
    EXPECT_FALSE(e.refused);
    EXPECT_EQ(rowTexts(table, 1), (QStringList{"145.50000", "145.50000", "NONE", "88.5", "A", "Low",
                                               "Wide", "Yes", "Off", "Off"}));
    EXPECT_EQ(table.row(2), ChannelRow{});  // an empty row pasted deletes the channel
}

// Unusable band limits in a file must not erase its channels at the next store.
TEST(ChannelTableBands, UnusableLimitsKeepEveryChannelThroughFillAndStore) {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    ChannelTable typed(false);
    typed.setBands(defaultBands());
    for (int n : {1, 64, 129}) typed.leaveCell(n, 1, QStringLiteral("145.5"));
    typed.store(image);

    struct Case {
        const char* what;
        uint8_t packed[6];
    };
    const Case cases[] = {
        {"erased", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"reversed", {0x17, 0x13, 0x64, 0x17, 0x13, 0x64}},
        {"zeros", {0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        RadioImage file = image;
        for (int i = 0; i < 6; ++i) file.set(addr::kBandLimitsPacked + i, c.packed[i]);
        ChannelTable table(false);
        table.fill(file);
        EXPECT_EQ(table.text(64, 1), QStringLiteral("145.50000")) << c.what;
        EXPECT_TRUE(table.bandsNote().contains("134-176 MHz (the image's second copy"))
            << c.what << table.bandsNote().toStdString();
        RadioImage stored = file;
        table.store(stored);
        // The channels come back, and the limits as the file held them: the replacement
        // was only used.
        for (int n = 1; n <= kChannelCount; ++n)
            for (int i = 0; i < kRecordSize; ++i)
                ASSERT_EQ(stored.at(recordOffset(n) + i), image.at(recordOffset(n) + i))
                    << c.what << " channel " << n;
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(stored.at(addr::kBandLimitsPacked + i), c.packed[i]) << c.what << " " << i;
        // Filled again, the same replacement with the same note.
        const QString note = table.bandsNote();
        table.fill(stored);
        EXPECT_EQ(table.bandsNote(), note) << c.what;
        EXPECT_EQ(table.text(64, 1), QStringLiteral("145.50000")) << c.what;
    }
}

TEST(ChannelTableBands, NoteInTheTableLanguageAndDetailsNameTheBandsInUse) {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    for (int i = 0; i < 6; ++i) image.set(addr::kBandLimitsPacked + i, 0xFF);
    for (int i = 0; i < 8; ++i) image.set(addr::kBandLimits16 + i, 0xFF);
    image.set(addr::kBandCode, 4);
    ChannelTable zh(true);
    zh.fill(image);
    EXPECT_TRUE(
        zh.bandsNote().contains(QString::fromUtf8("频段 2：330-400 MHz（M Section 的默认值）")))
        << zh.bandsNote().toStdString();
    EXPECT_EQ(zh.noticeDetail(Notice::OutOfRange, false),
              "Allowed: 330-400 MHz (the band limits in use; Software Info sets them)");
    EXPECT_TRUE(zh.noticeDetail(Notice::BadStep, true)
                    .startsWith(QString::fromUtf8("有效输入示例：365.0125")));
    EXPECT_TRUE(zh.noticeDetail(Notice::None, false).isEmpty());
    // A fill with limits given says nothing either.
    zh.fill(image, defaultBands());
    EXPECT_TRUE(zh.bandsNote().isEmpty());
}
