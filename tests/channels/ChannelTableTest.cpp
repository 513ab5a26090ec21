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
    for (int col = 3; col <= 10; ++col) {
        table.setText(9, col, QStringLiteral("x"));
        table.leaveCell(9, col, QStringLiteral("High"));
        EXPECT_EQ(table.text(9, col), QString()) << col;
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

TEST(ChannelTableKeys, FrequencyEditorKeyFilter) {
    for (int k = Qt::Key_0; k <= Qt::Key_9; ++k)
        EXPECT_TRUE(ChannelTable::frequencyKeyAllowed(k, false, false));
    EXPECT_TRUE(ChannelTable::frequencyKeyAllowed(Qt::Key_Period, false, false));
    EXPECT_TRUE(ChannelTable::frequencyKeyAllowed(Qt::Key_5, false, true));
    EXPECT_TRUE(ChannelTable::frequencyKeyAllowed(Qt::Key_Backspace, false, false));
    EXPECT_TRUE(ChannelTable::frequencyKeyAllowed(Qt::Key_Left, true, false));
    EXPECT_FALSE(ChannelTable::frequencyKeyAllowed(Qt::Key_8, true, false));  // Shift+8
    EXPECT_FALSE(ChannelTable::frequencyKeyAllowed(Qt::Key_A, false, false));
    EXPECT_FALSE(ChannelTable::frequencyKeyAllowed(Qt::Key_Minus, false, false));
    EXPECT_FALSE(ChannelTable::frequencyKeyAllowed(Qt::Key_Space, false, false));
}
