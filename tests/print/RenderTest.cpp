#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "ChannelTable.h"
#include "PageRenderer.h"
#include "PrintPages.h"
#include "RadioImage.h"
#include "Report.h"

using namespace cps;
using namespace cps::print;

namespace {

// An image whose every printed text is as long as it can be.
RadioImage crowdedImage() {
    RadioImage image = RadioImage::factory();
    auto text = [&](int at, const char* s, int width) {
        for (int i = 0; i < width; ++i) image.set(at + i, static_cast<uint8_t>(s[i % 16]));
    };
    text(0xC50, "0123456789ABCD*#", 16);
    text(0xC60, "0123456789ABCD*#", 16);
    text(0xCC0, "0123456789ABCD*#", 11);
    text(0xCD0, "0123456789ABCD*#", 11);
    for (int i = 0; i < 9; ++i) text(0xD00 + 16 * i, "##############*#", 16);
    for (int i = 0; i < 10; ++i) text(0xC80 + 4 * i, "FFFF", 4);
    image.set(0xC70, image.at(0xC70) & ~0x20);  // the longer stun response text
    return image;
}

ChannelTable crowdedTable(bool chinese) {
    ChannelTable t(chinese);
    const QStringList en{"599.99375", "599.99375", "D754I", "D754I",  "WWWWWWWW",
                         "Middle",    "Narrow",    "Yes",   "QT/DQT", "Both"};
    const QStringList zh{"599.99375", "599.99375", "D754I", "D754I",  "WWWWWWWW",
                         "中",        "窄",        "是",    "QT/DQT", "发射开始"};
    for (int row = 1; row <= kChannelCount; ++row)
        for (int c = 1; c <= 10; ++c) t.setText(row, c, (chinese ? zh : en)[c - 1]);
    return t;
}

struct Box {
    QRectF rect;
    QString text;
};

// Every page of the whole report on an A4 PDF, as the export writes it: no two texts
// overlap, and every text and rule lies inside the printable area.
void checkNoOverlap(bool chinese) {
    const RadioImage image = crowdedImage();
    const ChannelTable table = crowdedTable(chinese);
    const Source source{&image, &table, chinese,
                        chinese ? "对讲机写频软件开发者" : "The radio programming tool developers"};
    const Job job = prepareJob(Choice{true, true, true, true, true}, table);
    ASSERT_EQ(job.maxPage, 5 + 26);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    const PageRenderer r(writer);
    const Metrics& m = r.metrics();
    EXPECT_GE(m.titleLine, m.r());
    EXPECT_GE(m.bodyLine, m.bodyHeight());
    EXPECT_LT(m.bodyLine, m.titleLine);

    const QRectF area(0, 0, writer.width(), writer.height());
    for (int n = 1; n <= 6; ++n) {
        const Page page = buildPage(job, n, source, m);
        std::vector<Box> boxes;
        for (const Item& i : page.items) {
            const QPointF at = r.toDevice(i.x, i.y);
            if (i.kind == Item::Kind::Rule) {
                EXPECT_TRUE(area.contains(at) && area.contains(r.toDevice(i.x2, i.y2)))
                    << "page " << n;
                continue;
            }
            const QFontMetricsF fm(r.font(i.font), &writer);
            // Lines follow each other at whole twips: allow a twip where they meet.
            const double twip = writer.logicalDpiY() / 1440.0;
            boxes.push_back({QRectF(at, QSizeF(fm.horizontalAdvance(i.text), fm.height()))
                                 .adjusted(0, twip, 0, -twip),
                             i.text});
            EXPECT_TRUE(area.contains(boxes.back().rect))
                << "page " << n << ": " << i.text.toStdString();
        }
        for (size_t a = 0; a < boxes.size(); ++a)
            for (size_t b = a + 1; b < boxes.size(); ++b)
                EXPECT_FALSE(boxes[a].rect.intersects(boxes[b].rect))
                    << "page " << n << ": \"" << boxes[a].text.toStdString() << "\" "
                    << boxes[a].rect.top() << "-" << boxes[a].rect.bottom() << " "
                    << boxes[a].rect.left() << "-" << boxes[a].rect.right() << " and \""
                    << boxes[b].text.toStdString() << "\" " << boxes[b].rect.top() << "-"
                    << boxes[b].rect.bottom() << " " << boxes[b].rect.left() << "-"
                    << boxes[b].rect.right();
    }
}

}  // namespace

TEST(Render, NothingOverlapsInEnglish) { checkNoOverlap(false); }
TEST(Render, NothingOverlapsInChinese) { checkNoOverlap(true); }

TEST(Render, FontsFollowTheDevice) {
    // The same page on a 96 and a 600 dpi device: the same twips geometry within rounding.
    QImage low(794, 1123, QImage::Format_RGB32);
    low.setDotsPerMeterX(3780);
    low.setDotsPerMeterY(3780);
    QImage high(4961, 7016, QImage::Format_RGB32);
    high.setDotsPerMeterX(23622);
    high.setDotsPerMeterY(23622);
    const Metrics a = PageRenderer(low).metrics();
    const Metrics b = PageRenderer(high).metrics();
    EXPECT_NEAR(a.width, b.width, 20);
    EXPECT_NEAR(a.height, b.height, 20);
    EXPECT_NEAR(a.bodyLine, b.bodyLine, a.bodyLine / 8);

    // Drawing puts ink on the page: the title's top-left corner area is no longer white.
    high.fill(Qt::white);
    QPainter p(&high);
    const PageRenderer r(high);
    const Job job = prepareJob(Choice{false, false, true, false, false}, ChannelTable());
    const RadioImage image = RadioImage::factory();
    r.draw(p, buildPage(job, 1, Source{&image, nullptr, false, "x"}, r.metrics()));
    p.end();
    const QPointF title = r.toDevice(6 * r.metrics().c(), -r.metrics().titleLine);
    int ink = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (high.pixel(int(title.x()) + x, int(title.y()) + y) != qRgb(255, 255, 255)) ++ink;
    EXPECT_GT(ink, 50);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
