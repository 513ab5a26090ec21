#include "CProgramView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "CColorLabel.h"
#include "CMSFlexGrid.h"
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

CProgramView::~CProgramView() = default;

void CProgramView::buildGrid() {
    grid_ = new CMSFlexGrid(this);
    grid_->setObjectName(QStringLiteral("channelGrid"));
    grid_->setProperty(kIdProperty, 1022);
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(8.25);
    grid_->setFont(f);
    grid_->horizontalHeader()->setFont(f);
    grid_->verticalHeader()->setFont(f);
    grid_->setRows(ChannelTable::kRows);
    grid_->setCols(ChannelTable::kCols);
    grid_->setForeColorFixed(QColor(0, 50, 240));
    const int rowHeight = grid_->fontMetrics().height() + 8;
    grid_->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid_->horizontalHeader()->setFixedHeight(rowHeight + 2);

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
    connect(grid_, &CMSFlexGrid::mouseDown, this, [this] {
        // An editor already open over the current cell keeps what was typed into it.
        if (!editorFor(grid_->col())->isVisible()) onEnterCell();
    });
    connect(grid_, &CMSFlexGrid::scrolled, this, &CProgramView::onScroll);
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

    freqEdit_->setMaxLength(ChannelTable::kFreqMaxLength);
    freqEdit_->setContextMenuPolicy(Qt::NoContextMenu);  // no pasting around the key filter
    nameEdit_->setMaxLength(ChannelTable::kNameMaxLength);
    // The record holds single-byte characters only; anything else would be stored as junk.
    nameEdit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\x20-\\x7E]*")), nameEdit_));
    toneList_->setEditable(true);
    toneList_->setInsertPolicy(QComboBox::NoInsert);
    toneList_->setMaxVisibleItems(12);
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

void CProgramView::fillGridFromImage() {
    hideEditors();
    table_.fill(image_);
    refreshAll();
    // Said once per fill; a view not shown yet says it when it appears.
    pendingBandsNote_ = table_.bandsNote();
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

void CProgramView::storeGridIntoImage() {
    // A value still in an editor counts: saving or writing must not drop what was typed.
    commitPendingEdit();
    table_.store(image_);
}

void CProgramView::commitPendingEdit() {
    const int col = grid_->col();
    QWidget* editor = editorFor(col);
    if (!editor->isVisible()) return;
    applyOutcome(table_.typeCell(grid_->row(), col, editorText(editor)).outcome, editor, false);
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

void CProgramView::onEnterCell() {
    const int row = grid_->row();
    const int col = grid_->col();
    if (row < 1 || col < 1) return;
    QWidget* editor = editorFor(col);
    hideEditors(editor);

    const QString text = grid_->text();
    const EditorKind kind = ChannelTable::editorFor(col);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const int index = table_.matchItem(kind, text);
        if (kind == EditorKind::Tone && index < 0) {
            combo->setEditText(text);
        } else {
            combo->setCurrentIndex(index < 0 ? 0 : index);
        }
    }
    // Scroll first: a scroll hides the editors, and this one is about to be shown.
    grid_->scrollToItem(grid_->item(row - 1, col - 1));
    editor->setGeometry(grid_->cellRect());
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
    applyOutcome(table_.typeCell(grid_->row(), col, editorText(editor)).outcome, editor, true);
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
        applyOutcome(table_.enterFrequency(grid_->row(), grid_->col(), freqEdit_->text()),
                     freqEdit_, false);
        return true;
    }
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    const bool other =
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return other || !ChannelTable::frequencyKeyAllowed(key->key(), shift, keypad);
}

bool CProgramView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        // F1 here is the view's own help, not the main window's.
        event->accept();
        return true;
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
        if (watched == freqEdit_) return frequencyKey(key);
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
