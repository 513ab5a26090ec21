#pragma once

#include <QString>
#include <Qt>

// The rules of the 2-Tone editor's entry fields, apart from any widget: what typing lets
// through, what leaving a field makes of its text, what an up-down click does, and how a
// tone or a time becomes the radio's timer form. All arithmetic is on exact decimals, so a
// step lands on its tenth or twentieth and never wraps early through binary rounding.
namespace cps::twotone {

enum class Rule {
    DecodeTone,      // 288.5 .. 3106.0 Hz
    DecodeDelay,     // first, second and long tone delay of a decode entry: 0.5 .. 10.0 s
    DecodeInterval,  // 0.0 .. 2.0 s
    EncodeDelay,     // first, second and long tone delay of the encode side: 0.5 .. 10.0 s
    EncodeInterval,  // tone interval: 0.0 .. 2.0 s
    TxRise,          // Tx rise delay: 0.10 .. 1.00 s in steps of 0.05
    Cell,            // a code-table tone: empty, or 288.5 .. 3106.0 Hz
};

// Timer constants: a tone of f Hz is also stored as nearest(C / f).
constexpr long long kEncodeClock = 111957;
constexpr long long kDecodeClock = 895658;

// Characters an edit accepts.
int maxLength(Rule rule);
// What typing text into the edit leaves there: digits and the decimal point, up to the
// edit's length.
QString typed(Rule rule, const QString& text);
// The text once the field is left (out-of-range values clamped, the Tx rise delay cut down
// to its step).
QString leave(Rule rule, const QString& text);
// The text after an up-down click (delta +1 up, -1 down); the ranges wrap around.
QString step(Rule rule, const QString& text, int delta);

// Tenths of a hertz of a typed tone (cut toward zero).
long long toneTenths(const QString& text);
// nearest(clock / f) for a tone of `tenths` / 10 Hz; a tone of 0 gives 0.
long long timerCount(long long tenths, long long clock);
// A time in tenths of a second, and in the radio's 50 ms units (both cut toward zero).
long long timeTenths(const QString& text);
long long timeTwentieths(const QString& text);

// A value of `units` / 10^places shown with `places` digits after the point, padded on
// the left to width characters.
QString fixed(long long units, int places, int width = 0);

}  // namespace cps::twotone
