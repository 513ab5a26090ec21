#include "TwoTone.h"

#include <QVector>
#include <algorithm>

#include "Decimal.h"

namespace cps::twotone {

namespace {

// Values in thousandths: one place finer than any field shows.
constexpr int kPlaces = 3;

struct Range {
    long long low, high;  // thousandths
    int places;           // shown digits after the point
    int width;            // printf width of the shown text
    long long unit;       // up-down step, thousandths
};

Range rangeOf(Rule rule) {
    switch (rule) {
        case Rule::DecodeTone:
        case Rule::Cell:
            return {288500, 3106000, 1, 4, 100};
        case Rule::DecodeDelay:
        case Rule::EncodeDelay:
            return {500, 10000, 1, 2, 100};
        case Rule::DecodeInterval:
            return {0, 2000, 1, 1, 100};
        case Rule::EncodeInterval:
            return {0, 2000, 1, 2, 100};
        case Rule::TxRise:
            return {100, 1000, 2, 3, 50};
    }
    return {0, 0, 1, 1, 100};
}

long long thousandths(const QString& text) { return scaledDecimal(text, kPlaces); }

// A value of finer places than the field shows rounds as printf rounds the double it reads.
QString show(const Range& r, long long v) {
    return printfFixed(static_cast<double>(v) / 1000.0, r.places, r.width);
}

bool onTxStep(long long v) { return (v / 10) % 5 == 0; }  // trunc(value x 100) % 5 == 0

}  // namespace

QString fixed(long long units, int places, int width) {
    long long div = 1;
    for (int p = 0; p < places; ++p) div *= 10;
    const bool negative = units < 0;
    const long long a = negative ? -units : units;
    QString s = QString::number(a / div);
    if (places > 0)
        s += QLatin1Char('.') + QString::number(a % div).rightJustified(places, QLatin1Char('0'));
    if (negative) s.prepend(QLatin1Char('-'));
    return s.rightJustified(width, QLatin1Char(' '));
}

int maxLength(Rule rule) {
    switch (rule) {
        case Rule::DecodeTone:
        case Rule::Cell:
            return 6;
        case Rule::DecodeInterval:
        case Rule::EncodeInterval:
            return 3;
        case Rule::DecodeDelay:
        case Rule::EncodeDelay:
        case Rule::TxRise:
            return 4;
    }
    return 0;
}

QString typed(Rule rule, const QString& text) {
    QString out;
    for (QChar c : text) {
        if (out.size() >= maxLength(rule)) break;
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.'))
            out.append(c);
    }
    return out;
}

QString leave(Rule rule, const QString& text) {
    if (rule == Rule::Cell && text.trimmed().isEmpty()) return {};
    const Range r = rangeOf(rule);
    long long v = thousandths(text);
    if (rule == Rule::TxRise && !onTxStep(v)) v = v / 50 * 50;
    return show(r, std::clamp(v, r.low, r.high));
}

QString step(Rule rule, const QString& text, int delta) {
    const Range r = rangeOf(rule);
    const long long v = thousandths(text);
    long long n = v + r.unit * delta;
    if (rule == Rule::TxRise && !onTxStep(v)) n = (v / 50 + (delta > 0 ? 1 : 0)) * 50;
    if (n > r.high)
        n = r.low;
    else if (n < r.low)
        n = r.high;
    return show(r, n);
}

long long toneTenths(const QString& text) { return scaledDecimal(text, 1); }

long long timerCount(long long tenths, long long clock) {
    if (tenths <= 0) return 0;
    // nearest(clock / (tenths / 10)), halves up, in whole numbers
    return (20 * clock + tenths) / (2 * tenths);
}

long long timeTenths(const QString& text) { return scaledDecimal(text, 1); }

long long timeTwentieths(const QString& text) { return thousandths(text) / 50; }

}  // namespace cps::twotone
