#pragma once

#include <QString>

namespace cps {

// The number at the start of text as the C library reads it in the "C" locale (blanks, a
// sign, digits, a decimal point, an exponent), whatever locale the process runs in; 0 when
// the text does not start with a number.
double leadingNumber(const QString& text);

// Reads text as the C library does (leading number, anything else gives 0), takes that
// number to 15 significant digits as an exact decimal, multiplies it by 10^scale, and
// makes it whole: cut toward zero, or rounded up when roundUp is set. Exact decimal
// arithmetic keeps 136.0125 MHz at 13601250 instead of losing a unit to binary rounding.
long long scaledDecimal(const QString& text, int scale, bool roundUp = false);

// A value shown as printf's "%<width>.<places>f" shows it: rounded from the double's exact
// binary value, so 41/20 (2.04999...) shows "2.0" and 6049/20 shows "302.4". Every text
// the radio's own tools format this way is made here, so the dialogs, the command line and
// the printout agree on the last digit, and a value loaded and stored again keeps its bytes.
QString printfFixed(double value, int places, int width = 0);

}  // namespace cps
