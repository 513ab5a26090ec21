#pragma once

#include <QString>

namespace cps::cli {

// The tab-separated channel table holds one row per line, so a cell must not hold a tab
// or a line break. Control characters and the bytes 0x7F-0xFF are written as "\t", "\n",
// "\r" or "\xNN", and a backslash as "\\"; everything else stays as it is.
QString escapeCell(const QString& text);
// The reverse. A backslash that starts no known escape is kept as it is, so tables
// written before cells were escaped still read the same.
QString unescapeCell(const QString& text);

}  // namespace cps::cli
