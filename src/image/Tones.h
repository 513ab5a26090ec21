#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace cps {

// A channel's receive or transmit tone: none, a CTCSS tone or a DCS code (normal or
// inverted), stored as two bytes L (lower address) and H.
struct ToneBytes {
    uint8_t low = 0xFF;   // L
    uint8_t high = 0xFF;  // H
    bool operator==(const ToneBytes& o) const { return low == o.low && high == o.high; }
};

namespace tones {

constexpr int kCount = 261;  // "None", 50 CTCSS, 105 DCS normal, 105 DCS inverted

// The tone list the user picks from; only entry 0 differs between the languages.
const QStringList& list(bool chinese);

QString noneText(bool chinese);

// Stored bytes to the text shown in the grid. No tone shows "None", or the empty text
// when the channel has no transmit frequency.
QString toText(ToneBytes tone, bool chinese, bool noTransmit = false);

// Grid text to stored bytes ("None", "无" and other non-numbers give no tone).
ToneBytes fromText(const QString& text);

// What the tone cell shows after the user typed `typed`. Returns false when the entry is
// refused, in which case the cell keeps its previous text (no message is shown).
bool checkTyped(const QString& typed, bool chinese, QString* cellText);

}  // namespace tones
}  // namespace cps
