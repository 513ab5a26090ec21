#include "KeyFilter.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QInputMethodEvent>

namespace cps::keys {

bool passes(const KeySet& set, int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool keypad = modifiers & Qt::KeypadModifier;
    if (shift && set.shiftDiscardsAll) return false;
    switch (key) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            return true;
        default:
            break;
    }
    // Left here with Shift only where it keeps the keypad's keys.
    if (shift && !keypad) return false;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return true;
    if (set.hexLetters && key >= Qt::Key_A && key <= Qt::Key_F) return true;
    // Some layouts give the keypad's decimal key as a comma.
    if (keypad && (key == Qt::Key_Period || key == Qt::Key_Comma))
        return set.point != KeySet::Point::None;
    return key == Qt::Key_Period && set.point == KeySet::Point::Any;
}

bool printableAscii(QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; }

bool inputTakes(const QInputMethodEvent& event, bool (*takes)(QChar)) {
    for (QChar c : event.commitString())
        if (takes(c)) return true;
    return false;
}

bool frequencyChar(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
}

void focusChecked(const QButtonGroup& group) {
    if (QAbstractButton* checked = group.checkedButton()) checked->setFocus();
}

}  // namespace cps::keys
