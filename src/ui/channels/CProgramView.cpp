#include "CProgramView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "CColorLabel.h"
#include "CMSFlexGrid.h"
#include "FieldBinder.h"
#include "Pick.h"
#include "Prompter.h"
#include "RowText.h"

using cps::ChannelTable;
using cps::EditorKind;

namespace {

const char* const kIdProperty = "controlId";

int controlId(const QWidget* w) { return w ? w->property(kIdProperty).toInt() : 0; }

// The editors, by cps::EditorKind: object name and control id.
struct EditorSpec {
    const char* name;
    int id;
};
const EditorSpec kEditors[cps::kEditorKinds] = {
    {"frequencyEdit", 1127}, {"nameEdit", 1126}, {"toneList", 1132}, {"list1129", 1129},
    {"list1128", 1128},      {"list1134", 1134}, {"list1130", 1130}, {"list1131", 1131},
};

}  // namespace

CProgramView::CProgramView(cps::RadioImage& image, const Settings& settings, Prompter* prompter,
                           QWidget* parent)
    : QWidget(parent),
      image_(image),
      prompter_(prompter ? prompter : &Prompter::standard()),
      table_(settings.chinese),
      chinese_(settings.chinese) {
    setObjectName(QStringLiteral("CProgramView"));
    buildGrid();
    sqlCheck_->setChecked(settings.sqlWritingAllowed);
    applySqlSwitch();
    buildEditors();
    applyWidths();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        displayChanged(screen->geometry().width());
        connect(screen, &QScreen::geometryChanged, this,
                [this](const QRect& r) { displayChanged(r.width()); });
    }
    fillGridFromImage();
    grid_->setCurrent(1, 1);
}

CProgramView::~CProgramView() = default;

void CProgramView::buildGrid() {
    grid_ = new CMSFlexGrid(this);
    grid_->setObjectName(QStringLiteral("channelGrid"));
    grid_->setProperty(kIdProperty, 1022);
    grid_->setRows(ChannelTable::kRows);
    grid_->setCols(ChannelTable::kCols);
    grid_->setForeColorFixed(QColor(0, 50, 240));
    // Rows are copied and cut in blocks: a drag, Shift+click or the row labels select them.
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->verticalHeader()->setSectionsClickable(true);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);

    for (int c = 0; c < ChannelTable::kCols; ++c) {
        grid_->setTextMatrix(0, c, table_.text(0, c));
        grid_->setColAlignment(c, Qt::AlignCenter);
    }
    for (int r = 1; r < ChannelTable::kRows; ++r) {
        grid_->setTextMatrix(r, 0, table_.text(r, 0));
        grid_->setCurrent(r, 5);
        grid_->setCellFontName(QStringLiteral("Courier"));
    }

    // The SQL-writing switch starts from the saved setting and stays hidden until the
    // service unlock.
    sqlCheck_ = new QCheckBox(this);
    sqlCheck_->setObjectName(QStringLiteral("1150"));
    sqlCheck_->setProperty(kIdProperty, 1150);
    sqlLabel_ = new CColorLabel(this);
    sqlLabel_->setObjectName(QStringLiteral("1149"));
    sqlLabel_->setProperty(kIdProperty, 1149);
    sqlLabel_->setContentsMargins(4, 1, 4, 1);
    applySqlSwitch();
    sqlCheck_->hide();
    sqlLabel_->hide();
    connect(sqlCheck_, &QCheckBox::clicked, this, &CProgramView::applySqlSwitch);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Above the grid, so that a channel window taller than the client area never hides it.
    auto* service = new QHBoxLayout;
    service->setContentsMargins(4, 2, 4, 2);
    service->addWidget(sqlCheck_);
    service->addWidget(sqlLabel_);
    service->addStretch(1);
    layout->addLayout(service);
    layout->addWidget(grid_);

    connect(grid_, &CMSFlexGrid::enterCell, this, &CProgramView::onEnterCell);
    connect(grid_, &CMSFlexGrid::leaveCell, this, &CProgramView::onLeaveCell);
    connect(grid_, &CMSFlexGrid::mouseDown, this, [this](Qt::MouseButton button) {
        if (button != Qt::LeftButton) return;
        // An editor already open over the current cell keeps what was typed into it.
        QWidget* editor = editorFor(grid_->col());
        if (!editor->isVisible()) onEnterCell();
        // A click on a fixed list opens it; on the release, which would otherwise land on
        // the open list and pick whatever item lies under the pointer.
        openListOnRelease_ =
            editor->isVisible() && qobject_cast<QComboBox*>(editor) && editor != toneList_;
    });
    connect(grid_, &CMSFlexGrid::scrolled, this, &CProgramView::onScroll);
    connect(grid_, &CMSFlexGrid::cellsMoved, this, [this] {
        QWidget* editor = editorFor(grid_->col());
        if (editor->isVisible()) placeEditor(editor);
    });
    connect(grid_->verticalHeader(), &QHeaderView::sectionPressed, this, [this] {
        // A row label selects rows for the clipboard commands; no editor over them.
        commitPendingEdit();
        QWidget* editor = editorFor(grid_->col());
        if (!editor->isVisible()) grid_->setFocus();
    });
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = createContextMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(grid_->viewport()->mapToGlobal(at));
    });
    // The row labels offer the same menu, for the row under the pointer unless it is one
    // of the rows already selected.
    QHeaderView* labels = grid_->verticalHeader();
    labels->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(labels, &QWidget::customContextMenuRequested, this, [this, labels](const QPoint& at) {
        const int row = labels->logicalIndexAt(at) + 1;
        if (row < 1) return;
        commitPendingEdit();
        if (editorFor(grid_->col())->isVisible()) return;  // a refused entry keeps its cell
        if (row < grid_->rowSelFirst() || row > grid_->rowSel()) {
            grid_->setCurrent(row, grid_->col());
            grid_->clearSelection();
            grid_->setRangeSelected(
                QTableWidgetSelectionRange(row - 1, 0, row - 1, ChannelTable::kCols - 2), true);
        }
        grid_->setFocus();
        QMenu* menu = createContextMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(labels->mapToGlobal(at));
    });
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);
    installEventFilter(this);
}

void CProgramView::buildEditors() {
    QWidget* host = grid_->viewport();
    for (int k = 0; k < cps::kEditorKinds; ++k) {
        const auto kind = static_cast<EditorKind>(k);
        QWidget* w = nullptr;
        if (ChannelTable::isList(kind)) {
            auto* combo = new QComboBox(host);
            combo->addItems(table_.items(kind));
            w = combo;
        } else {
            w = new QLineEdit(host);
        }
        w->setObjectName(QLatin1String(kEditors[k].name));
        w->setProperty(kIdProperty, kEditors[k].id);
        w->hide();
        w->installEventFilter(this);
        editors_[k] = w;
    }
    freqEdit_ = static_cast<QLineEdit*>(editors_[int(EditorKind::Frequency)]);
    nameEdit_ = static_cast<QLineEdit*>(editors_[int(EditorKind::Name)]);
    toneList_ = static_cast<QComboBox*>(editors_[int(EditorKind::Tone)]);

    // The limits hold for typing only: entering a cell shows its whole text, as loaded.
    freqEdit_->setValidator(new cps::TypingFilter(
        ChannelTable::kFreqMaxLength,
        [](QChar c) {
            return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
        },
        false, freqEdit_));
    freqEdit_->setContextMenuPolicy(Qt::NoContextMenu);  // no pasting around the key filter
    // The record holds single-byte characters only; anything else would be stored as junk.
    nameEdit_->setValidator(new cps::TypingFilter(
        ChannelTable::kNameMaxLength,
        [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; }, false, nameEdit_));
    toneList_->setEditable(true);
    toneList_->setInsertPolicy(QComboBox::NoInsert);
    toneList_->setMaxVisibleItems(12);
    // The typed tone check alone decides what a typed tone becomes: completing "250" to
    // the list's 250.3 would store another tone than the one typed.
    toneList_->setCompleter(nullptr);
    toneList_->lineEdit()->installEventFilter(this);
    applyFonts();
}

void CProgramView::applyFonts() {
    // One family for headings, cells and editors, grown with the columns on wide screens.
    const QFont f = CMSFlexGrid::gridFont(kBasePointSize * scale_);
    grid_->setFont(f);
    grid_->horizontalHeader()->setFont(f);
    grid_->verticalHeader()->setFont(f);
    const int rowHeight = QFontMetrics(f).height() + qRound(8 * scale_);
    grid_->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid_->horizontalHeader()->setFixedHeight(rowHeight + 2);
    const QFont courier = CMSFlexGrid::courierFont(f);
    for (int r = 1; r < ChannelTable::kRows; ++r)
        if (QTableWidgetItem* it = grid_->item(r - 1, 4)) it->setFont(courier);
    for (QWidget* w : editors_) {
        if (!w) continue;
        w->setFont(f);
        // A list's drop-down part is a window of its own and takes no font from the list;
        // the tone list's edit field keeps the font it was made with unless told.
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->view()->setFont(f);
            if (combo->lineEdit()) combo->lineEdit()->setFont(f);
        }
    }
    if (nameEdit_) nameEdit_->setFont(courier);
}

QWidget* CProgramView::editorFor(int col) const {
    return editors_[int(ChannelTable::editorFor(col))];
}

void CProgramView::applyWidths() {
    for (int c = 0; c < ChannelTable::kCols; ++c)
        grid_->setColWidth(c, qRound(kBaseWidth * ChannelTable::widthFactor(c) * scale_));
}

void CProgramView::displayChanged(int screenWidth) {
    // Narrow screens keep the last size; wider ones grow the columns with the screen.
    if (screenWidth <= 800) return;
    scale_ = screenWidth / 1024.0;
    applyWidths();
    applyFonts();
}

void CProgramView::refreshRow(int row) {
    for (int c = 1; c < ChannelTable::kCols; ++c) {
        const QString t = table_.text(row, c);
        if (grid_->textMatrix(row, c) != t) grid_->setTextMatrix(row, c, t);
    }
}

void CProgramView::refreshAll() {
    grid_->setUpdatesEnabled(false);
    for (int r = 1; r < ChannelTable::kRows; ++r) refreshRow(r);
    grid_->setUpdatesEnabled(true);
}

void CProgramView::fillGridFromImage(bool limitsEdited) {
    hideEditors();
    table_.fill(image_);
    refreshAll();
    // Said once per fill; a view not shown yet says it when it appears.
    QStringList notes;
    if (!table_.bandsNote().isEmpty()) notes << table_.bandsNote();
    // Channels that vanish from the grid are named, once: a refill that leaves out the same
    // ones says nothing new.
    const QList<int> hidden = cps::channelsHiddenBy(image_, table_.bands());
    if (!hidden.isEmpty() && hidden != hidden_)
        notes << cps::msg::hiddenChannelsNote(image_, hidden, table_.bands(), limitsEdited,
                                              chinese_);
    hidden_ = hidden;
    pendingBandsNote_ = notes.join(QStringLiteral("\n\n"));
    if (isVisible()) showBandsNote();
}

void CProgramView::showBandsNote() {
    if (pendingBandsNote_.isEmpty()) return;
    const QString note = pendingBandsNote_;
    pendingBandsNote_.clear();
    prompter_->message(this,
                       QCoreApplication::translate("StringTable", ChannelTable::noticeCaption()),
                       note, Prompter::Icon::Information, QMessageBox::Ok);
}

void CProgramView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!pendingBandsNote_.isEmpty())
        QMetaObject::invokeMethod(this, &CProgramView::showBandsNote, Qt::QueuedConnection);
}

void CProgramView::restoreTable(const cps::ChannelTable& table) {
    hideEditors();
    table_ = table;
    refreshAll();
    hidden_ = cps::channelsHiddenBy(image_, table_.bands());
}

void CProgramView::storeGridIntoImage() {
    // A value still in an editor counts: saving or writing must not drop what was typed.
    commitPendingEdit();
    table_.store(image_);
}

void CProgramView::commitPendingEdit() {
    const int col = grid_->col();
    QWidget* editor = editorFor(col);
    if (!editor->isVisible()) return;
    const int row = grid_->row();
    const QStringList before = rowTexts(row);
    applyOutcome(table_.typeCell(row, col, editorText(editor)).outcome, editor, false);
    reportEdit(row, col, before);
}

QStringList CProgramView::rowTexts(int row) const {
    QStringList texts;
    for (int c = 1; c < ChannelTable::kCols; ++c) texts << table_.text(row, c);
    return texts;
}

void CProgramView::reportEdit(int row, int col, const QStringList& before) {
    if (rowTexts(row) == before) return;
    const QString heading = ChannelTable::heading(col, chinese_).trimmed();
    emit userEdited(
        cps::pick(chinese_, "%1 of channel %2", "信道 %2 的%1").arg(heading, table_.text(row, 0)));
}

QString CProgramView::editorText(QWidget* editor) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->text();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) return combo->currentText();
    return {};
}

void CProgramView::hideEditors(QWidget* except) {
    for (QWidget* w : editors_)
        if (w != except) w->hide();
}

void CProgramView::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (readOnly) {
        hideEditors();
        openListOnRelease_ = false;
    }
    sqlCheck_->setEnabled(!readOnly);
}

void CProgramView::onEnterCell() {
    if (readOnly_) return;
    const int row = grid_->row();
    const int col = grid_->col();
    if (row < 1 || col < 1) return;
    QWidget* editor = editorFor(col);
    hideEditors(editor);

    const QString text = grid_->text();
    const EditorKind kind = ChannelTable::editorFor(col);
    // The editor takes the cell's text as it is, so that leaving it untouched changes
    // nothing: an empty list cell (a channel without transmit frequency) opens empty.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        cps::showText(line, text);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const int index = table_.matchItem(kind, text);
        if (text.isEmpty()) {
            combo->setCurrentIndex(-1);
            if (combo->isEditable()) combo->setEditText(QString());
        } else if (kind == EditorKind::Tone && index < 0) {
            combo->setEditText(text);
        } else {
            combo->setCurrentIndex(index < 0 ? 0 : index);
        }
    }
    // Scroll first: a scroll hides the editors, and this one is about to be shown.
    grid_->scrollToItem(grid_->item(row - 1, col - 1));
    placeEditor(editor);
    editor->show();
    editor->raise();
    editor->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->selectAll();
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

void CProgramView::onLeaveCell() {
    const int col = grid_->col();
    QWidget* editor = editorFor(col);
    if (!editor->isVisible()) return;
    const int row = grid_->row();
    const QStringList before = rowTexts(row);
    applyOutcome(table_.typeCell(row, col, editorText(editor)).outcome, editor, true);
    reportEdit(row, col, before);
}

void CProgramView::applyOutcome(const cps::EditOutcome& out, QWidget* editor, bool stayOnCell) {
    refreshRow(grid_->row());
    if (!out.keepEditor) editor->hide();
    if (out.clearEditor)
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->clear();
    showNotice(out.notice);
    if (out.keepEditor) {
        if (stayOnCell) grid_->stay();
        editor->show();
        editor->setFocus();
    }
}

void CProgramView::showNotice(cps::Notice notice) {
    if (notice == cps::Notice::None) return;
    const Prompter::Icon icon =
        notice == cps::Notice::BadFormat ? Prompter::Icon::Stop : Prompter::Icon::Exclamation;
    prompter_->message(
        this, QCoreApplication::translate("StringTable", ChannelTable::noticeCaption()),
        QCoreApplication::translate("StringTable", ChannelTable::noticeText(notice)) +
            QLatin1Char('\n') + table_.noticeDetail(notice, chinese_),
        icon, QMessageBox::Ok);
}

void CProgramView::placeEditor(QWidget* editor) { editor->setGeometry(grid_->cellRect()); }

void CProgramView::onScroll() {
    hideEditors();
    grid_->viewport()->repaint();
}

int CProgramView::contextIdFor(QWidget* focus) const {
    const int col = grid_->col();
    if (focus == freqEdit_) return col == 2 ? 2128 : 2127;
    if (focus == toneList_ || (focus && focus->parentWidget() == toneList_))
        return col == 4 ? 2133 : 2132;
    return controlId(focus);
}

bool CProgramView::frequencyKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        const int row = grid_->row();
        const QStringList before = rowTexts(row);
        applyOutcome(table_.enterFrequency(row, grid_->col(), freqEdit_->text()), freqEdit_, false);
        reportEdit(row, grid_->col(), before);
        return true;
    }
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    const bool other =
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return other || !ChannelTable::frequencyKeyAllowed(key->key(), shift, keypad);
}

QWidget* CProgramView::editorOf(QObject* watched) const {
    if (toneList_ && watched == toneList_->lineEdit()) return toneList_;
    for (QWidget* w : editors_)
        if (w == watched) return w;
    return nullptr;
}

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

// ---------------------------------------------------------------------------------------
// Rows on the clipboard

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
    QString why;
    const EditorKind kind = ChannelTable::editorFor(entry.col);
    if (entry.entry.outcome.notice != cps::Notice::None) {
        why = QCoreApplication::translate("StringTable",
                                          ChannelTable::noticeText(entry.entry.outcome.notice));
    } else if (kind == EditorKind::Name) {
        why = cps::pick(zh, "A name holds at most 8 single-byte characters.",
                        "信道名字最多 8 个单字节字符。");
    } else if (kind == EditorKind::Tone) {
        why = cps::pick(zh,
                        "Allowed: None, a tone from 60.0 to 259.9, or a code of the list "
                        "such as D023N.",
                        "允许：无、60.0 至 259.9 的音频，或列表中的代码（如 D023N）。");
    } else if (kind == EditorKind::Frequency) {
        why = QCoreApplication::translate("StringTable",
                                          ChannelTable::noticeText(cps::Notice::BadFormat));
    } else {
        why = cps::pick(zh, "Allowed: %1.", "允许：%1。")
                  .arg(table_.items(kind).join(zh ? QStringLiteral("、") : QStringLiteral(", ")));
    }
    return cps::pick(zh, "Nothing was pasted. Row %1, column \"%2\": \"%3\"\n%4",
                     "未粘贴。第 %1 行，“%2”栏：“%3”\n%4")
        .arg(cps::channelLabel(entry.row), ChannelTable::heading(entry.col, zh).trimmed(),
             cps::escapeCell(entry.typed), why);
}

void CProgramView::message(const QString& text) {
    prompter_->message(this,
                       QCoreApplication::translate("StringTable", ChannelTable::noticeCaption()),
                       text, Prompter::Icon::Exclamation, QMessageBox::Ok);
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

void CProgramView::applySqlSwitch() {
    const bool chinese = chinese_;
    if (sqlCheck_->isChecked()) {
        sqlLabel_->setText(cps::pick(chinese, "Sql allow writing", "静噪允许写入"));
        sqlLabel_->setBackgroundColor(QColor(0, 255, 0));
        sqlWriting_ = 1;
    } else {
        sqlLabel_->setText(cps::pick(chinese, "Sql write protect", "静噪禁止写入"));
        sqlLabel_->setBackgroundColor(QColor(255, 0, 0));
        sqlWriting_ = 0;
    }
    // The radio write and the exit's saving read the program's switch.
    emit sqlSwitchChanged(sqlWriting_);
}

void CProgramView::revealServiceControls() {
    sqlCheck_->show();
    sqlLabel_->show();
}
