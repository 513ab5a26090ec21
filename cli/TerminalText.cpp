#include "TerminalText.h"

namespace cps::cli {
namespace {

QByteArray hexEscape(unsigned value) {
    return QByteArray("\\x") + QByteArray::number(value, 16).toUpper().rightJustified(2, '0');
}

}  // namespace

QString terminalText(const QString& text, bool keepLines) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && !(keepLines && u == u'\n')) || (u >= 0x7F && u <= 0x9F))
            out += QString::fromLatin1(hexEscape(u));
        else
            out += c;
    }
    return out;
}

QByteArray jsonTerminalSafe(const QByteArray& json) {
    const QString text = QString::fromUtf8(json);
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x7F && u <= 0x9F)
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out.toUtf8();
}

TerminalDevice::TerminalDevice(FILE* file, bool keepTabs) : file_(file), keepTabs_(keepTabs) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 TerminalDevice::writeData(const char* data, qint64 size) {
    QByteArray out;
    out.reserve(static_cast<int>(size) + 8);
    for (qint64 i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (pendingC2_) {
            pendingC2_ = false;
            if (b >= 0x80 && b <= 0x9F) {  // U+0080..U+009F, the C1 controls
                out += hexEscape(b);
                continue;
            }
            out += '\xC2';
        }
        if (b == 0xC2) {
            pendingC2_ = true;
        } else if ((b < 0x20 && b != '\n' && !(keepTabs_ && b == '\t')) || b == 0x7F) {
            out += hexEscape(b);
        } else {
            out += static_cast<char>(b);
        }
    }
    if (!out.isEmpty() && std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), file_) !=
                              static_cast<size_t>(out.size()))
        return -1;
    return size;
}

}  // namespace cps::cli
