#pragma once

#include <QString>
#include <QStringList>

#include "ChannelCodec.h"
#include "RadioImage.h"

// The one set of rules for a text typed into a channel cell, whatever brings the text: the
// grid's editors, a paste of rows, the row, CSV and JSON imports and the channel field
// table. Each of them decides what to do around a verdict (keep an editor open, stop an
// import, empty a row), never the verdict itself or its words.
namespace cps {

// The receive frequency must be a sensible radio frequency at all: 67 to 600 MHz.
constexpr Freq kLowestEntry = 67 * kPerMHz;
constexpr Freq kHighestEntry = 600 * kPerMHz;
// A name holds what its record bytes hold.
constexpr int kNameBytes = 8;

// Why a typed text was refused. The first three are the grid's entry messages (string
// table entries, captioned "Caution"); the others are said where a text comes in whole (a
// paste, a file), as the grid's editors cannot be typed into that way.
enum class Notice {
    None,
    OutOfRange,     // 61446, exclamation
    BadFormat,      // 61447, stop
    BadStep,        // 61454, exclamation
    NameTooLong,    // more than the record holds
    NameCharacter,  // a character a name byte cannot be
    NoTone,
    NoItem,
};

// The verdict on one text typed into a cell of a column (kColRx to kColPttId).
struct CellVerdict {
    Notice notice = Notice::None;
    QString text;          // what the cell shows once left, when accepted
    bool changed = false;  // another value than typed, not just another form of it
    int column = 0;
    char16_t character = 0;  // the refused character (NameCharacter)
    bool ok() const { return notice == Notice::None; }
};

// Applies the column's rule to typed, against the band limits in use; chinese is the
// language the cell shows (list items, "None"). Texts of either language are taken.
CellVerdict checkCell(int column, const QString& typed, const Bands& bands, bool chinese);

// The items of a list column (the tone list for the tone columns) in a language; empty for
// the other columns.
QStringList columnItems(int column, bool chinese);
// Index of the item that is text in either language, letter case ignored, or -1.
int findColumnItem(int column, const QString& text, bool chinese);

// What a frequency cell takes: digits and at most one full stop, with a digit among them.
bool frequencyForm(const QString& text);

// Why a verdict refused, one line, as every path says it.
QString refusalText(const CellVerdict& verdict, bool chinese);
// The line under it that says what would have been allowed: the band limits in use, or an
// example of a valid entry. Empty for refusals other than the three entry messages.
QString refusalDetail(Notice notice, const Bands& bands, bool chinese);

namespace msg {
extern const field::Text kCaution;     // 61456, the caption of the entry messages
extern const field::Text kOutOfRange;  // 61446
extern const field::Text kBadFormat;   // 61447
extern const field::Text kBadStep;     // 61454
}  // namespace msg

}  // namespace cps
