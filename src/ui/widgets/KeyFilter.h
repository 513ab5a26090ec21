#pragma once

#include <QChar>
#include <Qt>

class QButtonGroup;
class QInputMethodEvent;

// The key filters of the number and code edits: the channel grid's frequency editor, the
// 2-Tone pages and the MSK codes. Each lets through the editing keys (Backspace, Delete and
// the four arrows) and the characters of its set; every other key is discarded.
namespace cps::keys {

struct KeySet {
    enum class Point { None, Keypad, Any };
    Point point = Point::None;  // the decimal point: the keypad's only, or the full stop too
    bool hexLetters = false;    // A to F
    // Shift discards every key (the dialogs); otherwise only the main keyboard's characters,
    // as the keypad and the editing keys mean the same with it (the grid).
    bool shiftDiscardsAll = true;
};

// The grid's frequency editor: digits and the full stop, keypad keys even with Shift.
constexpr KeySet kFrequency{KeySet::Point::Any, false, false};
// The 2-Tone entries: digits and the keypad's decimal point.
constexpr KeySet kDecimal{KeySet::Point::Keypad, false, true};
// The MSK codes: hexadecimal digits.
constexpr KeySet kHex{KeySet::Point::None, true, true};

// Whether a key-down passes the filter. Control, Alt and Meta combinations never do.
bool passes(const KeySet& set, int key, Qt::KeyboardModifiers modifiers);

// The characters a frequency edit holds: the digits 0-9 and the full stop.
bool frequencyChar(QChar c);
// The characters a single-byte text edit takes: printable ASCII.
bool printableAscii(QChar c);

// Whether an input method's text holds a character an edit takes. One that holds none is
// discarded as a key would be: else it would replace the edit's selected text by nothing.
bool inputTakes(const QInputMethodEvent& event, bool (*takes)(QChar));

// Gives a radio group's checked button the focus. Arrow keys then move the choice from
// there, as in any radio group; without it the focus lands on the group's first button and
// an arrow only moves the focus.
void focusChecked(const QButtonGroup& group);

}  // namespace cps::keys
