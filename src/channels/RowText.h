#pragma once

#include <QList>
#include <QString>

#include "ChannelCodec.h"

namespace cps {

// The tab-separated channel rows: one line per row, the row label and the ten column texts.
// `cps channels` prints them, the grid copies them to the clipboard, and both read them
// back, so a spreadsheet sees the same table either way.

// A cell must not hold a tab or a line break. Control characters and the bytes 0x7F-0xFF
// are written as "\t", "\n", "\r" or "\xNN", and a backslash as "\\"; everything else stays
// as it is.
QString escapeCell(const QString& text);
// The reverse. A backslash that starts no known escape is kept as it is, so tables
// written before cells were escaped still read the same.
QString unescapeCell(const QString& text);

// One row as a line, without the line break.
QString rowLine(const QString& label, const ChannelRow& row);

// Lines of rows read back: each line holds the label and ten texts, or the ten texts alone
// (as a spreadsheet copies a block without the label column). Empty lines at the end are
// dropped; "\r\n" line ends are taken.
struct ParsedRows {
    QList<ChannelRow> rows;
    QStringList labels;  // the label of each row, empty where the line had none
    int badLine = 0;     // 1-based line of the first malformed line, 0 when all are fine
    int badFields = 0;   // ... and how many fields it had
};
ParsedRows parseRowLines(const QString& text);

}  // namespace cps
