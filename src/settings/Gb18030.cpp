#include "Gb18030.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace cps {

QString decodeGb18030(const QByteArray& bytes) {
    QStringDecoder gb("GB18030");
    return gb.isValid() ? QString(gb(bytes)) : QString::fromLatin1(bytes);
}

QByteArray encodeGb18030(const QString& text) {
    QStringEncoder gb("GB18030");
    return gb.isValid() ? QByteArray(gb(text)) : text.toUtf8();
}

}  // namespace cps
