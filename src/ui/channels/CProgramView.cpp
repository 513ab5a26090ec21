#include "CProgramView.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

#include "CColorLabel.h"
#include "CMSFlexGrid.h"
#include "FieldBinder.h"
#include "KeyFilter.h"
#include "Pick.h"
#include "Prompter.h"

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

CProgramView::~CProgramView() {
    // A view shown as a window of its own is hidden in QWidget's destructor, after this
    // part is gone; the grid's geometry signals must not reach it then.
    if (!grid_) return;
    grid_->disconnect(this);
    grid_->verticalHeader()->disconnect(this);
    grid_->horizontalHeader()->disconnect(this);
}

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
    freqEdit_->setValidator(new cps::TypingFilter(ChannelTable::kFreqMaxLength,
                                                  cps::keys::frequencyChar, false, freqEdit_));
    freqEdit_->setContextMenuPolicy(Qt::NoContextMenu);  // no pasting around the key filter
    // The record holds single-byte characters only; anything else would be stored as junk.
    nameEdit_->setValidator(new cps::TypingFilter(ChannelTable::kNameMaxLength,
                                                  cps::keys::printableAscii, false, nameEdit_));
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
    prompter_->message(this, cps::msg::kCaution.get(chinese_), note, Prompter::Icon::Information,
                       QMessageBox::Ok);
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
    cps::CellVerdict verdict;
    verdict.notice = notice;
    prompter_->message(this, cps::msg::kCaution.get(chinese_),
                       cps::refusalText(verdict, chinese_) + QLatin1Char('\n') +
                           table_.noticeDetail(notice, chinese_),
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
