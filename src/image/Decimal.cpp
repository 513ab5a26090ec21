#include "Decimal.h"

#include <QLocale>
#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace cps {
namespace {

constexpr long long kLimit = 900000000000000000LL;  // keeps every product inside 64 bits

long long pow10(int n) {
    long long p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

}  // namespace

double leadingNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch()) return 0.0;
    bool ok = false;
    const double value = QLocale::c().toDouble(m.captured(0).trimmed(), &ok);
    return ok ? value : 0.0;
}

long long scaledDecimal(const QString& text, int scale, bool roundUp) {
    const double value = leadingNumber(text);
    if (!std::isfinite(value) || value == 0.0) return 0;

    // 15 significant digits, as a decimal mantissa and exponent: d.dddddddddddddd e X
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    const std::string s(buf);
    const auto ePos = s.find('e');
    std::string digits = s.substr(0, 1) + s.substr(2, ePos - 2);  // 15 digits
    const int exponent = std::atoi(s.c_str() + ePos + 1);
    long long mantissa = std::stoll(digits);
    const bool negative = value < 0;

    // value = mantissa * 10^(exponent - 14); result = value * 10^scale
    const int shift = exponent - 14 + scale;
    long long result;
    if (shift >= 0) {
        if (shift > 3) return negative ? -kLimit : kLimit;  // far beyond any radio value
        result = mantissa * pow10(shift);
    } else if (shift < -18) {
        result = (roundUp && !negative) ? 1 : 0;
    } else {
        const long long div = pow10(-shift);
        result = mantissa / div;
        if (roundUp && !negative && mantissa % div != 0) ++result;
    }
    return negative ? -result : result;
}

QString printfFixed(double value, int places, int width) {
    // to_chars formats as printf does in the "C" locale, whatever locale the process runs in.
    char buffer[400];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places);
    const QString text = QString::fromLatin1(buffer, r.ec == std::errc() ? r.ptr - buffer : 0);
    return text.rightJustified(width, QLatin1Char(' '));
}

}  // namespace cps
