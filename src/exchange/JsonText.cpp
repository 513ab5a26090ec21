#include "JsonText.h"

namespace cps::json {

QByteArray string(const QString& s) {
    QByteArray out = "\"";
    for (QChar c : s) {
        const ushort u = c.unicode();
        if (u == '"' || u == '\\') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u < 0x20 || u == 0x7F) {
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0')).toLatin1();
        } else {
            out += QString(c).toUtf8();
        }
    }
    return out + '"';
}

QByteArray boolean(bool b) { return b ? "true" : "false"; }

QByteArray number(double n) { return QByteArray::number(n, 'g', 15); }

namespace {

// Nested values were laid out for the outermost level; each of their lines moves in.
QByteArray indented(const QByteArray& value, int by) {
    QByteArray pad(by, ' ');
    QByteArray out = value;
    out.replace("\n", "\n" + pad);
    return out;
}

QByteArray list(const QList<QByteArray>& lines, char open, char close, int indent) {
    if (lines.isEmpty()) return QByteArray(1, open) + close;
    const QByteArray pad(indent, ' ');
    QByteArray out(1, open);
    out += '\n';
    for (int i = 0; i < lines.size(); ++i) {
        out += pad + "  " + indented(lines[i], indent + 2);
        out += i + 1 < lines.size() ? ",\n" : "\n";
    }
    return out + pad + close;
}

}  // namespace

QByteArray object(const Members& members, int indent) {
    QList<QByteArray> lines;
    for (const auto& m : members) lines << string(m.first) + ": " + m.second;
    return list(lines, '{', '}', indent);
}

QByteArray array(const QList<QByteArray>& items, int indent) {
    return list(items, '[', ']', indent);
}

}  // namespace cps::json
