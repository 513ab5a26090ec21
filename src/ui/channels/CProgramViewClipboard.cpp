// Rows on the clipboard: copy, cut, paste and clear of whole channel rows, from the keys and
// from the grid's right-click menu.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>

#include "CMSFlexGrid.h"
#include "CProgramView.h"
#include "Pick.h"
#include "Prompter.h"
#include "RowText.h"

using cps::ChannelTable;

CProgramView::Clip CProgramView::clipboardKey(const QKeyEvent* key) {
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int k = key->key();
    if (mods == Qt::ControlModifier) {
        if (k == Qt::Key_C || k == Qt::Key_Insert) return Clip::Copy;
        if (k == Qt::Key_X) return Clip::Cut;
        if (k == Qt::Key_V) return Clip::Paste;
    } else if (mods == Qt::ShiftModifier) {
        if (k == Qt::Key_Delete) return Clip::Cut;
        if (k == Qt::Key_Insert) return Clip::Paste;
    }
    return Clip::None;
}

bool CProgramView::rowsMode(QObject* watched, Clip clip) const {
    // In an editor over a single cell the keys edit its text, as in any text field; with
    // rows selected, or from the grid itself, they move rows. Rows on the clipboard (tabs
    // or line breaks, which no cell holds) are pasted as rows from an editor too.
    if (!editorOf(watched)) return watched == grid_ || watched == grid_->viewport();
    if (clip == Clip::Paste) {
        const QString text = QApplication::clipboard()->text();
        if (text.contains(QLatin1Char('\t')) || text.contains(QLatin1Char('\n'))) return true;
    }
    return grid_->selectedItems().size() > 1;
}

void CProgramView::runClip(Clip clip) {
    switch (clip) {
        case Clip::Copy:
            copyRows();
            break;
        case Clip::Cut:
            cutRows();
            break;
        case Clip::Paste:
            pasteRows();
            break;
        case Clip::None:
            break;
    }
}

QString CProgramView::rowsText(int first, int last) const {
    QString text;
    for (int n = qMax(1, first); n <= qMin(last, ChannelTable::kRows - 1); ++n)
        text += cps::rowLine(cps::channelLabel(n), table_.row(n)) + QLatin1Char('\n');
    return text;
}

bool CProgramView::finishEdit() {
    // What is being typed counts first; a refused entry keeps its editor (and its message
    // has been shown), and the row command does not run.
    commitPendingEdit();
    return !editorFor(grid_->col())->isVisible();
}

void CProgramView::copyRows() {
    if (!finishEdit()) return;
    QApplication::clipboard()->setText(rowsText(grid_->rowSelFirst(), grid_->rowSel()));
}

bool CProgramView::clearRowRange(int first, int last) {
    bool changed = false;
    for (int n = first; n <= last; ++n) {
        if (table_.row(n) != cps::ChannelRow{}) changed = true;
        table_.clearRow(n);
        refreshRow(n);
    }
    return changed;
}

void CProgramView::cutRows() {
    if (readOnly_) return;
    if (!finishEdit()) return;
    const int first = grid_->rowSelFirst();
    const int last = grid_->rowSel();
    QApplication::clipboard()->setText(rowsText(first, last));
    if (clearRowRange(first, last)) emit userEdited(cps::pick(chinese_, "Cut", "剪切"));
}

void CProgramView::clearRows() {
    if (readOnly_ || !finishEdit()) return;
    if (clearRowRange(grid_->rowSelFirst(), grid_->rowSel()))
        emit userEdited(cps::pick(chinese_, "Clear Row", "清除行"));
}

void CProgramView::pasteRows() { pasteText(QApplication::clipboard()->text()); }

bool CProgramView::pasteText(const QString& text) {
    if (readOnly_ || !finishEdit()) return false;
    const int first = grid_->rowSelFirst();
    const cps::ParsedRows parsed = cps::parseRowLines(text);
    if (parsed.badLine > 0) {
        const QString row = cps::channelLabel(qMin(first + parsed.badLine - 1, 129));
        const bool one = parsed.badFields == 1;
        message(cps::pick(chinese_,
                          one ? "Nothing was pasted. Row %1: line %2 of the text has %3 field; a "
                                "row is its label and ten texts separated by tabs, or the ten "
                                "texts."
                              : "Nothing was pasted. Row %1: line %2 of the text has %3 fields; a "
                                "row is its label and ten texts separated by tabs, or the ten "
                                "texts.",
                          "未粘贴。第 %1 行：文本第 %2 行有 %3 个字段；每行应为行号和十个以制表符"
                          "分隔的文本，或仅十个文本。")
                    .arg(row)
                    .arg(parsed.badLine)
                    .arg(parsed.badFields));
        return false;
    }
    if (parsed.rows.isEmpty()) return false;
    const ChannelTable before = table_;
    const cps::RowsEntry entry = table_.typeRows(first, parsed.rows);
    if (entry.refused) {
        message(refusalText(entry));
        return false;
    }
    bool changed = false;
    const int last = first + int(parsed.rows.size()) - 1;
    for (int n = first; n <= last; ++n) {
        if (before.row(n) != table_.row(n)) changed = true;
        refreshRow(n);
    }
    // The pasted rows stay selected, ready to be copied or cut again.
    grid_->setCurrent(first, grid_->col());
    grid_->clearSelection();
    grid_->setRangeSelected(
        QTableWidgetSelectionRange(first - 1, 0, last - 1, ChannelTable::kCols - 2), true);
    grid_->setFocus();
    if (changed) emit userEdited(cps::pick(chinese_, "Paste", "粘贴"));
    return true;
}

QString CProgramView::refusalText(const cps::RowsEntry& entry) const {
    const bool zh = chinese_;
    if (entry.noRoom)
        return cps::pick(zh,
                         "Nothing was pasted. Row %1: the rows from here on do not fit; the "
                         "last row is Fr.",
                         "未粘贴。第 %1 行：从此行起的各行超出表格；最后一行是 Fr。")
            .arg(cps::channelLabel(entry.row));
    // The channel rules' own words, and for a frequency what would have been allowed.
    QString why = ChannelTable::refusalText(entry.entry, zh);
    const QString detail = table_.noticeDetail(entry.entry.verdict.notice, zh);
    if (!detail.isEmpty()) why += QLatin1Char('\n') + detail;
    return cps::pick(zh, "Nothing was pasted. Row %1, column \"%2\": \"%3\"\n%4",
                     "未粘贴。第 %1 行，“%2”栏：“%3”\n%4")
        .arg(cps::channelLabel(entry.row), ChannelTable::heading(entry.col, zh).trimmed(),
             cps::escapeCell(entry.typed), why);
}

void CProgramView::message(const QString& text) {
    prompter_->message(this, cps::msg::kCaution.get(chinese_), text, Prompter::Icon::Exclamation,
                       QMessageBox::Ok);
}

QMenu* CProgramView::createContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("gridMenu"));
    const bool zh = chinese_;
    struct Item {
        const char* en;
        const char* zh;
        const char* key;
        void (CProgramView::*run)();
        const char* name;
    };
    const Item items[] = {
        {"Cu&t", "剪切(&T)", "Ctrl+X", &CProgramView::cutRows, "gridCut"},
        {"&Copy", "复制(&C)", "Ctrl+C", &CProgramView::copyRows, "gridCopy"},
        {"&Paste", "粘贴(&P)", "Ctrl+V", &CProgramView::pasteRows, "gridPaste"},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"C&lear Row", "清除行(&L)", nullptr, &CProgramView::clearRows, "gridClearRow"},
    };
    for (const Item& it : items) {
        if (!it.en) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(cps::pick(zh, it.en, it.zh));
        a->setObjectName(QLatin1String(it.name));
        // Shown for the user; the keys themselves are the view's.
        if (it.key) a->setShortcut(QKeySequence(QLatin1String(it.key)));
        a->setShortcutContext(Qt::WidgetShortcut);
        a->setEnabled(!readOnly_ || it.run == &CProgramView::copyRows);
        connect(a, &QAction::triggered, this, it.run);
    }
    return menu;
}
