#include "PageRenderer.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "Pick.h"
#include "SafeFile.h"

namespace cps::print {

namespace {

constexpr double kTwipsPerInch = 1440.0;
// Rules as drawn on paper: a tenth of a point under 0.2 mm, visible but light.
constexpr double kRuleTwips = 10.0;

}  // namespace

PageRenderer::PageRenderer(const QPaintDevice& device)
    : device_(device), dpiX_(device.logicalDpiX()), dpiY_(device.logicalDpiY()) {
    const int width = static_cast<int>(device.width() * kTwipsPerInch / dpiX_);
    const int height = static_cast<int>(device.height() * kTwipsPerInch / dpiY_);
    metrics_ = Metrics::estimate(width, height);
    title_ = makeFont(metrics_.titleHeight(), metrics_.titleWidth());
    body_ = makeFont(metrics_.bodyHeight(), metrics_.bodyWidth());
    // Line height: the font's height plus its external leading, back in twips.
    auto line = [&](const QFont& f) {
        const QFontMetricsF fm(f, &device_);
        return static_cast<int>((fm.height() + qMax(0.0, fm.leading())) * kTwipsPerInch / dpiY_);
    };
    metrics_.titleLine = line(title_);
    metrics_.bodyLine = line(body_);
}

QFont PageRenderer::makeFont(int heightTwips, int widthTwips) const {
    // The report's face; where it is missing the platform picks a serif face, and glyphs
    // it lacks (the Chinese texts) come from a face that has them.
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif);
    f.setWeight(QFont::Normal);
    f.setKerning(false);
    // Any letter spacing turns ligatures off, so that "ff" in "Off" stays two letters in
    // the PDF's text.
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    // The height is the character cell's, ascent plus descent, as the page was laid out for.
    const double cell = heightTwips * dpiY_ / kTwipsPerInch;
    f.setPixelSize(qMax(1, qRound(cell)));
    const QFontMetricsF first(f, &device_);
    if (first.height() > 0) f.setPixelSize(qMax(1, qRound(cell * cell / first.height())));
    // Widen or narrow the face to the average character width the columns assume.
    const QFontMetricsF fm(f, &device_);
    const double width = widthTwips * dpiX_ / kTwipsPerInch;
    if (fm.averageCharWidth() > 0)
        f.setStretch(qBound(50, qRound(100.0 * width / fm.averageCharWidth()), 200));
    return f;
}

QPointF PageRenderer::toDevice(int x, int y) const {
    return {x * dpiX_ / kTwipsPerInch, -y * dpiY_ / kTwipsPerInch};
}

void PageRenderer::draw(QPainter& painter, const Page& page) const {
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(kRuleTwips * dpiY_ / kTwipsPerInch);
    painter.setPen(pen);
    for (const Item& item : page.items) {
        if (item.kind == Item::Kind::Rule) {
            painter.drawLine(toDevice(item.x, item.y), toDevice(item.x2, item.y2));
            continue;
        }
        const QFont& f = item.font == Font::Title ? title_ : body_;
        painter.setFont(f);
        // Placed by the top-left corner: the baseline lies one ascent below it.
        const QFontMetricsF fm(f, painter.device());
        painter.drawText(toDevice(item.x, item.y) + QPointF(0, fm.ascent()), item.text);
    }
    painter.restore();
}

void paintJob(QPagedPaintDevice& device, QPainter& painter, const Job& job, const Source& source,
              int from, int to) {
    const PageRenderer renderer(device);
    for (int n = from; n <= to; ++n) {
        if (n > from) device.newPage();
        renderer.draw(painter, buildPage(job, n, source, renderer.metrics()));
    }
}

bool renderPdf(QByteArray* pdf, const Job& job, const Source& source, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (job.maxPage < 1) return fail(pick(source.chinese, "Nothing to print", "没有可打印的内容"));
    // Drawn in memory: the PDF writer does not report a write that fails, so it never
    // writes to a file itself.
    QBuffer buffer(pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        writer.setTitle(pick(source.chinese, "Radio report", "对讲机报表"));
        writer.setCreator(QStringLiteral("cps"));
        QPainter painter;
        if (!painter.begin(&writer))
            return fail(pick(source.chinese, "cannot draw the PDF", "无法绘制 PDF"));
        paintJob(writer, painter, job, source, 1, job.maxPage);
        painter.end();
    }
    return true;
}

bool writePdf(const QString& path, const Job& job, const Source& source, QString* error) {
    QByteArray pdf;
    if (!renderPdf(&pdf, job, source, error)) return false;
    // The one safe save: a full disk leaves the previous file as it was.
    return replaceFile(path, pdf, error, source.chinese);
}

}  // namespace cps::print
