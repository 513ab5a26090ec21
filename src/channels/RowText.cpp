#include "RowText.h"

#include <QStringList>

namespace cps {
namespace {

bool isHex(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

}  // namespace

QString escapeCell(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\') {
            out += QLatin1String("\\\\");
        } else if (u == u'\t') {
            out += QLatin1String("\\t");
        } else if (u == u'\n') {
            out += QLatin1String("\\n");
        } else if (u == u'\r') {
            out += QLatin1String("\\r");
        } else if (u < 0x20 || (u >= 0x7F && u <= 0xFF)) {
            // Bytes past ASCII too: a name holds bytes, and printed as UTF-8 letters they
            // could not be told from typed text on the way back.
            out += QLatin1String("\\x") +
                   QString::number(int(u), 16).toUpper().rightJustified(2, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

QString unescapeCell(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar next = text.at(i + 1);
        if (next == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
        } else if (next == QLatin1Char('t')) {
            out += QLatin1Char('\t');
        } else if (next == QLatin1Char('n')) {
            out += QLatin1Char('\n');
        } else if (next == QLatin1Char('r')) {
            out += QLatin1Char('\r');
        } else if (next == QLatin1Char('x') && i + 3 < text.size() && isHex(text.at(i + 2)) &&
                   isHex(text.at(i + 3))) {
            out += QChar(text.mid(i + 2, 2).toUShort(nullptr, 16));
            i += 3;
            continue;
        } else {
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

QString rowLine(const QString& label, const ChannelRow& row) {
    QString line = label;
    for (const QString& cell : row) line += QLatin1Char('\t') + escapeCell(cell);
    return line;
}

ParsedRows parseRowLines(const QString& text) {
    ParsedRows out;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (int i = 0; i < lines.size(); ++i) {
        QStringList fields = lines[i].split(QLatin1Char('\t'));
        QString label;
        if (fields.size() == 1 + kColumnCount) {
            label = fields.takeFirst();
        } else if (fields.size() != kColumnCount) {
            out.rows.clear();
            out.labels.clear();
            out.badLine = i + 1;
            out.badFields = int(fields.size());
            return out;
        }
        ChannelRow row;
        for (int c = 0; c < kColumnCount; ++c) row[c] = unescapeCell(fields[c]);
        out.rows.append(row);
        out.labels.append(label);
    }
    return out;
}

}  // namespace cps
