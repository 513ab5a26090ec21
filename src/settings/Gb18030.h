#pragma once

#include <QByteArray>
#include <QString>

namespace cps {

// GB18030, the encoding of settings files written on a Chinese Windows system. Qt reaches
// it through ICU, which the Windows build lacks; there the system's own code page does it.
// Bytes that are not GB18030 decode to replacement characters, never fail.
QString decodeGb18030(const QByteArray& bytes);
QByteArray encodeGb18030(const QString& text);

}  // namespace cps
