// The channel view's keys: moving between cells, the editors' own keys, F1, Ctrl+F11 and
// the frequency editor's key filter.
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>

#include "CMSFlexGrid.h"
#include "CProgramView.h"
#include "KeyFilter.h"

using cps::ChannelTable;

bool CProgramView::frequencyKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        const int row = grid_->row();
        const QStringList before = rowTexts(row);
        applyOutcome(table_.enterFrequency(row, grid_->col(), freqEdit_->text()), freqEdit_, false);
        reportEdit(row, grid_->col(), before);
        return true;
    }
    return !cps::keys::passes(cps::keys::kFrequency, key->key(), key->modifiers());
}

QWidget* CProgramView::editorOf(QObject* watched) const {
    if (toneList_ && watched == toneList_->lineEdit()) return toneList_;
    for (QWidget* w : editors_)
        if (w == watched) return w;
    return nullptr;
}

void CProgramView::moveBy(int rows, int cols) {
    int row = grid_->row() + rows;
    int col = grid_->col() + cols;
    // Tab runs on into the next row, Shift+Tab back into the previous one.
    if (col >= ChannelTable::kCols) {
        col = 1;
        ++row;
    } else if (col < 1) {
        col = ChannelTable::kCols - 1;
        --row;
    }
    row = qBound(1, row, ChannelTable::kRows - 1);
    if (row == grid_->row() && col == grid_->col()) return;
    grid_->moveTo(row, col);
    grid_->clearSelection();
    grid_->setCurrent(grid_->row(), grid_->col());
}

void CProgramView::cancelEdit() {
    // The cell was never written: hiding the editor leaves its text as it was.
    hideEditors();
    grid_->setFocus();
}

void CProgramView::commitAndMoveDown() {
    const int row = grid_->row();
    commitPendingEdit();
    if (editorFor(grid_->col())->isVisible()) return;  // refused, the editor stays
    if (row < ChannelTable::kRows - 1) {
        moveBy(1, 0);
    } else {
        grid_->setFocus();
    }
}

bool CProgramView::editorKey(QWidget* editor, QKeyEvent* key) {
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    auto* combo = qobject_cast<QComboBox*>(editor);
    switch (key->key()) {
        case Qt::Key_Escape:
            if (mods) return false;
            cancelEdit();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            // Alt+Down opens a list; plain arrows move, they never change a value.
            if (mods & Qt::AltModifier) return false;
            if (mods) return true;
            moveBy(key->key() == Qt::Key_Up ? -1 : 1, 0);
            return true;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (mods) return true;
            moveBy(key->key() == Qt::Key_PageUp ? -grid_->pageRows() : grid_->pageRows(), 0);
            return true;
        case Qt::Key_Tab:
            moveBy(0, (mods & Qt::ShiftModifier) ? -1 : 1);
            return true;
        case Qt::Key_Backtab:
            moveBy(0, -1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (editor == freqEdit_) return false;  // the frequency editor's own rule
            if (mods) return true;
            commitAndMoveDown();
            return true;
        default:
            break;
    }
    if (combo && combo != toneList_ && !mods && !key->text().isEmpty() &&
        key->text().at(0).isPrint()) {
        // Typing into a closed list opens it at the first item that begins with the text.
        combo->showPopup();
        QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
        QApplication::sendEvent(combo->view(), &copy);
        return true;
    }
    return false;
}

bool CProgramView::gridKey(QKeyEvent* key) {
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int k = key->key();
    const bool open = k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_F2 ||
                      k == Qt::Key_F4 || (k == Qt::Key_Down && mods == Qt::AltModifier);
    const bool typing = !mods && !key->text().isEmpty() && key->text().at(0).isPrint();
    if (!(open && (!mods || k == Qt::Key_Down)) && !typing) return false;
    // The grid without an editor (after Escape): these bring the cell's editor back.
    QWidget* editor = editorFor(grid_->col());
    if (!editor->isVisible()) onEnterCell();
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (combo && (k == Qt::Key_F4 || k == Qt::Key_Down)) {
        combo->showPopup();
    } else if (typing) {
        QWidget* target = combo && combo->lineEdit() ? combo->lineEdit() : editor;
        QKeyEvent copy(QEvent::KeyPress, k, key->modifiers(), key->text());
        QApplication::sendEvent(target, &copy);
    }
    return true;
}

bool CProgramView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::InputMethod && (watched == freqEdit_ || watched == nameEdit_)) {
        // Characters an input method makes pass the edits' filters as keys do.
        const auto* input = static_cast<QInputMethodEvent*>(event);
        if (!cps::keys::inputTakes(*input, watched == freqEdit_ ? cps::keys::frequencyChar
                                                                : cps::keys::printableAscii))
            return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1) {
            // F1 here is the view's own help, not the main window's.
            event->accept();
            return true;
        }
        if (const Clip clip = clipboardKey(key); clip != Clip::None && rowsMode(watched, clip)) {
            // The view's own row commands, not the editor's text ones nor a window shortcut.
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F11 && (key->modifiers() & Qt::ControlModifier)) {
            emit serviceAccessRequested();
            return true;
        }
        if (key->key() == Qt::Key_F1) {
            emit helpRequested(contextIdFor(qobject_cast<QWidget*>(watched)));
            return true;
        }
        if (const Clip clip = clipboardKey(key); clip != Clip::None && rowsMode(watched, clip)) {
            runClip(clip);
            return true;
        }
        if (QWidget* editor = editorOf(watched)) {
            if (editorKey(editor, key)) return true;
            if (watched == freqEdit_) return frequencyKey(key);
        } else if (watched == grid_) {
            if (!readOnly_ && gridKey(key)) return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == grid_->viewport()) {
        if (openListOnRelease_) {
            openListOnRelease_ = false;
            if (auto* combo = qobject_cast<QComboBox*>(editorFor(grid_->col()));
                combo && combo->isVisible())
                combo->showPopup();
        }
    } else if (event->type() == QEvent::Wheel && watched == grid_->viewport()) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta == -120 || delta == 120) {
            grid_->verticalScrollBar()->triggerAction(delta < 0
                                                          ? QAbstractSlider::SliderPageStepAdd
                                                          : QAbstractSlider::SliderPageStepSub);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
