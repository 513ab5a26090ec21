#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "ChannelTable.h"
#include "PrintPages.h"
#include "RadioImage.h"

// Every report page as a plain display list: texts and rules in twips (1/1440 inch) from the
// printable area's top-left corner, x to the right and y negative downwards, texts placed by
// their top-left corner. A renderer draws the list on any paint device.
namespace cps::print {

// The two fonts of a page. The title font is also the page font the frame is laid out with.
enum class Font { Title, Body };

struct Item {
    enum class Kind { Text, Rule };
    Kind kind = Kind::Text;
    Font font = Font::Body;
    int x = 0, y = 0;    // text: top-left corner; rule: start
    int x2 = 0, y2 = 0;  // rule: end
    QString text;
};

struct Page {
    PageKind kind = PageKind::None;
    std::vector<Item> items;

    // The texts in drawing order.
    QStringList texts() const;
    // The first text item equal to text, or null.
    const Item* find(const QString& text) const;
    // The text drawn exactly at (x, y), or null.
    const Item* textAt(int x, int y) const;
};

// The page geometry: the printable area and the line heights (font height plus external
// leading) of the two fonts, all in twips. The renderer measures the line heights on its
// device; estimate() takes them as the fonts' character heights.
struct Metrics {
    int width = 0;
    int height = 0;
    int titleLine = 0;
    int bodyLine = 0;

    int c() const { return width / 66; }   // column unit
    int r() const { return height / 45; }  // row unit
    // Character height and average width of the fonts.
    int titleHeight() const { return r(); }
    int titleWidth() const { return c(); }
    int bodyHeight() const { return r() * 8 / 10; }
    int bodyWidth() const { return c() * 8 / 10; }

    static Metrics estimate(int width, int height);
};

// What a report is made of: the image, the channel grid's texts (the working copy, which
// may hold edits not yet stored in the image), the language and the owner line of the
// footer ([language] "Copyrights Owner").
struct Source {
    const RadioImage* image = nullptr;
    const ChannelTable* channels = nullptr;
    bool chinese = false;
    QString owner;
};

// Page n of the job: the frame, the section page, the footer.
Page buildPage(const Job& job, int n, const Source& source, const Metrics& m);
// Every page of the job, 1 to maxPage.
std::vector<Page> buildReport(const Job& job, const Source& source, const Metrics& m);

}  // namespace cps::print
