#include <windows.h>

#include "Gb18030.h"

namespace cps {
namespace {
// Code page 54936 is GB18030. A system without it (wine 8, say) still has 936, GBK: the
// same two-byte characters, which is what Chinese settings hold.
UINT codePage() {
    static const UINT page = IsValidCodePage(54936) ? 54936 : 936;
    return page;
}
}  // namespace

QString decodeGb18030(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage(), 0, bytes.constData(), size, nullptr, 0);
    if (length <= 0) return QString::fromLatin1(bytes);
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(codePage(), 0, bytes.constData(), size,
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

QByteArray encodeGb18030(const QString& text) {
    if (text.isEmpty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage(), 0, wide, size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return text.toUtf8();
    QByteArray bytes(length, Qt::Uninitialized);
    WideCharToMultiByte(codePage(), 0, wide, size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

}  // namespace cps
