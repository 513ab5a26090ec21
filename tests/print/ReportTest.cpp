#include <gtest/gtest.h>

#include <QRegularExpression>
#include <ostream>

#include "ChannelTable.h"
#include "PrintPages.h"
#include "RadioImage.h"
#include "Report.h"
#include "ReportFields.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace cps;
using namespace cps::print;

namespace {

// A printable area of 66 x 45 units of 150 x 300 twips, line heights of their own so that
// the tests tell the title line from the body line.
Metrics testMetrics() {
    Metrics m;
    m.width = 66 * 150;
    m.height = 45 * 300;
    m.titleLine = 310;
    m.bodyLine = 250;
    return m;
}

Choice only(std::initializer_list<Section> sections) {
    Choice c{};
    for (Section s : sections) c[s] = true;
    return c;
}

// A channel row with a receive frequency built from the row number, so that each block on
// a page tells which row it came from.
void fillRow(ChannelTable& t, int row) {
    const QString rx = QString::asprintf("%d.00000", 136 + row % 40);
    const QStringList texts{rx,     rx,     "None", "D023N", QString("CH%1").arg(row),
                            "High", "Wide", "Yes",  "Off",   "BOT"};
    for (int c = 1; c <= 10; ++c) t.setText(row, c, texts[c - 1]);
}

void clearRow(ChannelTable& t, int row) {
    for (int c = 1; c <= 10; ++c) t.setText(row, c, {});
}

// The block headings of a channel page, in drawing order.
QStringList headings(const Page& p) {
    static const QRegularExpression heading("^(Channel |信道 )(\\d+|FR):$");
    return p.texts().filter(heading);
}

struct Fixture : ::testing::Test {
    RadioImage image = RadioImage::factory();
    ChannelTable table{false};
    Metrics m = testMetrics();
    Source source() const { return {&image, &table, false, "Owner line"}; }
};

}  // namespace

TEST_F(Fixture, OnlyTwoToneGivesDecodeThenEncode) {
    const Job job = prepareJob(only({kTwoTone}), table);
    EXPECT_EQ(job.maxPage, 2);
    EXPECT_EQ(job.locate(1).kind, PageKind::TwoToneDecode);
    EXPECT_EQ(job.locate(2).kind, PageKind::TwoToneEncode);
    EXPECT_EQ(job.locate(3).kind, PageKind::None);
    EXPECT_EQ(job.locate(0).kind, PageKind::None);
    const Page p = buildPage(job, 1, source(), m);
    EXPECT_TRUE(p.find("Page 1 of 2"));
    EXPECT_TRUE(buildPage(job, 2, source(), m).find("Page 2 of 2"));
}

TEST_F(Fixture, SectionsKeepTheirOrderWhateverIsLeftOut) {
    for (int row : {2, 4, 9}) fillRow(table, row);
    Job job = prepareJob(only({kDtmf, kTwoTone, kChannels}), table);
    ASSERT_EQ(job.maxPage, 4);
    EXPECT_EQ(job.beforeChannels, 3);
    EXPECT_EQ(job.locate(1).kind, PageKind::Dtmf);
    EXPECT_EQ(job.locate(2).kind, PageKind::TwoToneDecode);
    EXPECT_EQ(job.locate(3).kind, PageKind::TwoToneEncode);
    EXPECT_EQ(job.locate(4).kind, PageKind::Channels);
    EXPECT_EQ(job.locate(4).channelPage, 1);

    job = prepareJob(only({kMsk, kOptional}), table);
    EXPECT_EQ(job.maxPage, 2);
    EXPECT_EQ(job.locate(1).kind, PageKind::Msk);
    EXPECT_EQ(job.locate(2).kind, PageKind::Optional);

    job = prepareJob(Choice{true, true, true, true, true}, table);
    EXPECT_EQ(job.maxPage, 6);
    EXPECT_EQ(job.locate(6).kind, PageKind::Channels);
}

TEST_F(Fixture, NothingChosenOrNoChannelGivesNoPage) {
    EXPECT_EQ(prepareJob(Choice{}, table).maxPage, 0);
    const Job job = prepareJob(only({kChannels}), table);
    EXPECT_EQ(job.maxPage, 0);
    EXPECT_EQ(job.locate(1).kind, PageKind::None);
    EXPECT_TRUE(buildReport(job, source(), m).empty());
}

TEST_F(Fixture, DefaultsAreOptionalAndChannelInfo) {
    EXPECT_EQ(defaultChoice(), (Choice{false, false, true, false, true}));
}

TEST_F(Fixture, TwelveChannelsFillThreePagesInRowOrder) {
    const int rows[12] = {1, 3, 5, 8, 13, 20, 21, 40, 77, 100, 128, 129};
    for (int r : rows) fillRow(table, r);
    const ChannelPages cp = countChannelPages(table);
    EXPECT_EQ(cp.filled, 12);
    EXPECT_EQ(cp.pages(), 3);
    EXPECT_EQ(cp.boundaries, (std::vector<int>{0, 13, 100}));

    const Job job = prepareJob(only({kOptional, kChannels}), table);
    ASSERT_EQ(job.maxPage, 4);
    EXPECT_EQ(job.locate(1).kind, PageKind::Optional);
    const std::vector<Page> pages = buildReport(job, source(), m);
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(headings(pages[1]),
              (QStringList{"Channel 1:", "Channel 3:", "Channel 5:", "Channel 8:", "Channel 13:"}));
    EXPECT_EQ(
        headings(pages[2]),
        (QStringList{"Channel 20:", "Channel 21:", "Channel 40:", "Channel 77:", "Channel 100:"}));
    // The extra record row after channel 128 prints as FR.
    EXPECT_EQ(headings(pages[3]), (QStringList{"Channel 128:", "Channel FR:"}));
    EXPECT_TRUE(pages[3].find("Page 4 of 4"));
}

TEST_F(Fixture, ChannelPagesAreRecountedWhenDrawn) {
    for (int r = 1; r <= 12; ++r) fillRow(table, r);
    const Job job = prepareJob(only({kChannels}), table);
    ASSERT_EQ(job.maxPage, 3);
    // The grid lost five channels after the job was counted: page 2 shows what is left.
    for (int r : {2, 4, 6, 8, 10}) clearRow(table, r);
    EXPECT_EQ(headings(buildPage(job, 2, source(), m)),
              (QStringList{"Channel 11:", "Channel 12:"}));
    EXPECT_TRUE(headings(buildPage(job, 3, source(), m)).isEmpty());
}

TEST_F(Fixture, ChannelBlockPositionsAndCellTexts) {
    for (int r : {7, 30, 129}) fillRow(table, r);
    table.setText(30, 5, "");  // no name: nothing drawn at the value's place
    const Job job = prepareJob(only({kChannels}), table);
    const Page p = buildPage(job, 1, source(), m);
    const int c = m.c();
    const int L = m.bodyLine;
    EXPECT_EQ(headings(p).size(), 3);
    const Item* title = p.textAt(6 * c, -m.titleLine);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text, "Channel Infomation");
    EXPECT_EQ(title->font, Font::Title);

    // Block k is shifted down by 8kL; labels at 5c and 40c, values at 24c and 55c.
    for (int k = 0; k < 3; ++k) {
        const int row = k == 0 ? 7 : k == 1 ? 30 : 129;
        const int s = 8 * k * L;
        ASSERT_TRUE(p.textAt(4 * c, -4 * L - s));
        EXPECT_EQ(p.textAt(5 * c, -5 * L - s)->text, "Receive Frequency:");
        EXPECT_EQ(p.textAt(24 * c, -5 * L - s)->text, table.text(row, 1));
        EXPECT_EQ(p.textAt(24 * c, -7 * L - s)->text, "None");
        EXPECT_EQ(p.textAt(55 * c, -7 * L - s)->text, "BOT");  // PTT ID
        EXPECT_EQ(p.textAt(55 * c, -8 * L - s)->text, "Off");  // busy lock
        EXPECT_EQ(p.textAt(40 * c, -9 * L - s)->text, "Optional Singal:");
        EXPECT_FALSE(p.textAt(55 * c, -9 * L - s));  // nothing to show there
        EXPECT_EQ(p.textAt(24 * c, -10 * L - s)->text, "High");
        EXPECT_FALSE(p.textAt(40 * c, -10 * L - s));  // the last line has one pair
    }
    EXPECT_EQ(p.textAt(4 * c, -4 * L - 16 * L)->text, "Channel FR:");
    EXPECT_FALSE(p.textAt(24 * c, -9 * L - 8 * L));  // row 30 has no name
    // Blocks 3 and 4 stay empty.
    EXPECT_FALSE(p.textAt(4 * c, -4 * L - 24 * L));
    EXPECT_FALSE(p.textAt(5 * c, -5 * L - 32 * L));
}

TEST_F(Fixture, EveryPageHasTheFrameAndTheFooter) {
    fillRow(table, 1);
    const Job job = prepareJob(Choice{true, true, true, true, true}, table);
    const int c = m.c();
    const int L1 = m.titleLine;
    for (int n = 1; n <= job.maxPage; ++n) {
        const Page p = buildPage(job, n, source(), m);
        std::vector<int> rules;
        for (const Item& i : p.items)
            if (i.kind == Item::Kind::Rule && i.x == 5 * c && i.x2 == 60 * c && i.y == i.y2)
                rules.push_back(i.y);
        EXPECT_EQ(rules, (std::vector<int>{-(2 * L1 + 50), -(2 * L1 + 120), L1 / 2 - 36 * L1}))
            << "page " << n;
        const Item* owner = p.textAt(10 * c, -36 * L1);
        ASSERT_TRUE(owner) << "page " << n;
        EXPECT_EQ(owner->text, "Owner line");
        EXPECT_EQ(owner->font, Font::Body);
        const Item* number = p.textAt(45 * c, -36 * L1);
        ASSERT_TRUE(number);
        EXPECT_EQ(number->text, QString("Page %1 of 6").arg(n));
        // Nothing of a section page reaches into the footer.
        for (const Item& i : p.items) {
            if (&i == owner || &i == number || i.kind == Item::Kind::Rule) continue;
            EXPECT_GT(i.y, L1 / 2 - 36 * L1) << "page " << n << " " << i.text.toStdString();
        }
    }
}

TEST_F(Fixture, ChinesePagesUseTheChineseTexts) {
    ChannelTable zh(true);
    const QStringList texts{"145.50000", "145.50000", "无", "无", "", "高", "宽", "是", "关", "关"};
    for (int c = 1; c <= 10; ++c) zh.setText(129, c, texts[c - 1]);
    const Source src{&image, &zh, true, "所有者"};
    const Job job = prepareJob(Choice{true, true, true, true, true}, zh);
    const Page ch = buildPage(job, 6, src, m);
    EXPECT_TRUE(ch.find("信道信息"));
    EXPECT_TRUE(ch.find("信道 FR:"));
    EXPECT_TRUE(ch.find("接收频率:"));
    EXPECT_TRUE(ch.find("可选信号:"));
    EXPECT_TRUE(ch.find("PTT ID:"));
    EXPECT_TRUE(ch.find("高"));
    EXPECT_TRUE(ch.find("所有者"));
    EXPECT_TRUE(ch.find("Page 6 of 6"));
    const Page dtmf = buildPage(job, 1, src, m);
    EXPECT_TRUE(dtmf.find("首位数码持续时间 (毫秒):"));
    EXPECT_TRUE(dtmf.find("快速呼叫列表"));
    EXPECT_TRUE(buildPage(job, 2, src, m).find("呼叫列表"));
    EXPECT_TRUE(buildPage(job, 3, src, m).find("数字功能键锁定:"));
    EXPECT_TRUE(buildPage(job, 4, src, m).find("第二音频持续时间 (s)"));
    const Page enc = buildPage(job, 5, src, m);
    // The Chinese column heads sit half a column further right.
    const int c = m.c();
    EXPECT_EQ(enc.textAt(27 * c / 2, -12 * m.bodyLine)->text, "音频1");
    EXPECT_EQ(enc.textAt(47 * c / 2 + 28 * c, -12 * m.bodyLine)->text, "音频2");
    EXPECT_EQ(enc.textAt(6 * c, -12 * m.bodyLine)->text, "编码");
}

TEST_F(Fixture, DtmfPageReadsTheEncodeTimingAndTheFastCallList) {
    // Factory image: speed code 0, first digit delay 4 x 50 ms, DTMF bits of 0xC70 set.
    const Job job = prepareJob(only({kDtmf}), table);
    const int c = m.c();
    const int L = m.bodyLine;
    Page p = buildPage(job, 1, source(), m);
    auto value = [&](const Page& pg, int line) -> QString {
        const Item* i = pg.textAt(40 * c, -line * L);
        return i ? i->text : QString();
    };
    EXPECT_EQ(value(p, 5), "6");
    EXPECT_EQ(value(p, 6), "200");
    EXPECT_EQ(value(p, 7), "0");
    EXPECT_EQ(value(p, 9), QString::fromUtf8("√"));
    EXPECT_EQ(value(p, 14), "On");
    EXPECT_EQ(value(p, 16), "Tx inbibit");

    image.set(0xCB0, 2);
    image.set(0xCB2, 3);
    image.set(0xC70, image.at(0xC70) & ~0x70);
    const char id[] = "12345678901";  // 11 characters, past the editor's 7
    for (int i = 0; i < 11; ++i) image.set(0xCC0 + i, static_cast<uint8_t>(id[i]));
    const char fast[] = "0123456789ABCD*#";
    for (int i = 0; i < 16; ++i) image.set(0xD00 + 16 * 8 + i, static_cast<uint8_t>(fast[i]));
    p = buildPage(job, 1, source(), m);
    EXPECT_EQ(value(p, 5), "10");
    EXPECT_EQ(value(p, 7), "150");
    EXPECT_EQ(value(p, 9), QString::fromUtf8("×"));
    EXPECT_EQ(value(p, 12), "12345678901");
    EXPECT_EQ(value(p, 14), "Off");
    EXPECT_EQ(value(p, 16), "Transceiver inhibit");
    image.set(0xCB0, 7);
    EXPECT_EQ(value(buildPage(job, 1, source(), m), 5), "15");

    // Fast-call rows: number at 10c, text at 18c, both at -(i + 19)L - 50.
    const Item* ninth = p.textAt(18 * c, -(9 + 19) * L - 50);
    ASSERT_TRUE(ninth);
    EXPECT_EQ(ninth->text, "0123456789ABCD*#");
    EXPECT_EQ(p.textAt(10 * c, -(9 + 19) * L - 50)->text, "9");
    EXPECT_FALSE(p.textAt(18 * c, -(1 + 19) * L - 50));  // an erased entry prints nothing
}

TEST_F(Fixture, TransmitTextsPrintTheirSixteenStoredBytes) {
    const char text[] = "ABCDEFGHIJKLMNOP";
    for (int i = 0; i < 16; ++i) image.set(0xC50 + i, static_cast<uint8_t>(text[i]));
    for (int i = 0; i < 16; ++i) image.set(0xC60 + i, i == 0 ? 0xFF : 'X');
    const Job job = prepareJob(only({kOptional}), table);
    const Page p = buildPage(job, 1, source(), m);
    const int c = m.c();
    const int L = m.bodyLine;
    ASSERT_TRUE(p.textAt(30 * c, -26 * L));
    EXPECT_EQ(p.textAt(30 * c, -26 * L)->text, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(p.textAt(9 * c, -27 * L)->text, "End of transmit:");
    EXPECT_FALSE(p.textAt(30 * c, -27 * L));
}

TEST(ReportFields, ReadOnlyBytesOfAFactoryImage) {
    const RadioImage image = RadioImage::factory();
    field::Env env;
    const field::Form form = field::load(reportFields(), image, env);
    EXPECT_EQ(form.value("DTMF Speed"), "6");
    EXPECT_EQ(form.value("First Digit Delay Time(ms)"), "200");
    EXPECT_EQ(form.value("Frequency Mode"), "On");
    EXPECT_EQ(form.value("PTT ID type"), "DTMF");
    EXPECT_EQ(form.value("FastCallList 9"), "");
    env.chinese = true;
    EXPECT_EQ(field::load(reportFields(), image, env).value("Stun Code Response"), "禁止发射");
    // Nobody stores through it, and it is none of the editor sections.
    EXPECT_EQ(field::findTable("report"), nullptr);
}
