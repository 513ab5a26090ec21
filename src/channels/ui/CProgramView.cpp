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

#include "AppContext.h"
#include "CColorLabel.h"
#include "CMSFlexGrid.h"
#include "PortNames.h"
#include "Prompter.h"

using cps::ChannelTable;
using cps::EditorKind;

namespace {

const char* const kIdProperty = "controlId";

int controlId(const QWidget* w) { return w ? w->property(kIdProperty).toInt() : 0; }

}  // namespace

CProgramView::CProgramView(cps::RadioImage& image, Prompter* prompter, QWidget* parent)
    : QWidget(parent),
      image_(image),
      prompter_(prompter ? prompter : &Prompter::standard()),
      table_(cps::app().chinese) {
    setObjectName(QStringLiteral("CProgramView"));
    // Every exchange opens the port by this name; the per-user value says which one.
    cps::app().portName = cps::portNameFor(cps::loadPortNumber(cps::app().userStore()));
    buildGrid();
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
    sqlCheck_->setChecked(cps::app().sqlWritingAllowed != 0);
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
    freqEdit_ = new QLineEdit(host);
    freqEdit_->setObjectName(QStringLiteral("frequencyEdit"));
    freqEdit_->setProperty(kIdProperty, 1127);
    freqEdit_->setMaxLength(ChannelTable::kFreqMaxLength);
    freqEdit_->setContextMenuPolicy(Qt::NoContextMenu);  // no pasting around the key filter

    nameEdit_ = new QLineEdit(host);
    nameEdit_->setObjectName(QStringLiteral("nameEdit"));
    nameEdit_->setProperty(kIdProperty, 1126);
    nameEdit_->setMaxLength(ChannelTable::kNameMaxLength);
    // The record holds single-byte characters only; anything else would be stored as junk.
    nameEdit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\x20-\\x7E]*")), nameEdit_));

    toneList_ = new QComboBox(host);
    toneList_->setObjectName(QStringLiteral("toneList"));
    toneList_->setProperty(kIdProperty, 1132);
    toneList_->setEditable(true);
    toneList_->setInsertPolicy(QComboBox::NoInsert);
    toneList_->setMaxVisibleItems(12);
    toneList_->addItems(table_.items(EditorKind::Tone));

    const EditorKind kinds[5] = {EditorKind::Power, EditorKind::Bandwidth, EditorKind::Scan,
                                 EditorKind::BusyLock, EditorKind::PttId};
    const int ids[5] = {1129, 1128, 1134, 1130, 1131};
    for (int i = 0; i < 5; ++i) {
        lists_[i] = new QComboBox(host);
        lists_[i]->setObjectName(QStringLiteral("list%1").arg(ids[i]));
        lists_[i]->setProperty(kIdProperty, ids[i]);
        lists_[i]->addItems(table_.items(kinds[i]));
    }
    for (QWidget* w : {static_cast<QWidget*>(freqEdit_), static_cast<QWidget*>(nameEdit_),
                       static_cast<QWidget*>(toneList_)}) {
        w->hide();
        w->installEventFilter(this);
    }
    for (QComboBox* w : lists_) {
        w->hide();
        w->installEventFilter(this);
    }
}

QWidget* CProgramView::editorFor(int col) const {
    switch (ChannelTable::editorFor(col)) {
        case EditorKind::Frequency:
            return freqEdit_;
        case EditorKind::Name:
            return nameEdit_;
        case EditorKind::Tone:
            return toneList_;
        case EditorKind::Power:
            return lists_[0];
        case EditorKind::Bandwidth:
            return lists_[1];
        case EditorKind::Scan:
            return lists_[2];
        case EditorKind::BusyLock:
            return lists_[3];
        case EditorKind::PttId:
            return lists_[4];
    }
    return freqEdit_;
}

QWidget* CProgramView::visibleEditor() const {
    for (QWidget* w : {static_cast<QWidget*>(freqEdit_), static_cast<QWidget*>(nameEdit_),
                       static_cast<QWidget*>(toneList_)})
        if (w->isVisible()) return w;
    for (QComboBox* w : lists_)
        if (w->isVisible()) return w;
    return nullptr;
}

void CProgramView::applyWidths() {
    for (int c = 0; c < ChannelTable::kCols; ++c)
        grid_->setColWidth(c, qRound(kBaseWidth * ChannelTable::widthFactor(c) * scale_));
}

void CProgramView::displayChanged(int screenWidth) {
    // Narrow screens keep the last size; wider ones grow the columns with the screen.
    if (screenWidth <= 800) return;
    scale_ = screenWidth / 1024.0;
    screenWidth_ = screenWidth;
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
    cps::app().prepareFill(image_);
    table_.fill(image_, cps::app().bandsInUse);
    refreshAll();
}

void CProgramView::storeGridIntoImage() {
    // A value still in an editor counts: saving or writing must not drop what was typed.
    commitPendingEdit();
    table_.setBands(cps::app().bandsInUse);
    table_.store(image_);
}

void CProgramView::commitPendingEdit() {
    const int col = grid_->col();
    QWidget* editor = editorFor(col);
    if (!editor->isVisible()) return;
    table_.setBands(cps::app().bandsInUse);
    applyOutcome(table_.leaveCell(grid_->row(), col, editorText(editor)), editor, false);
}

QString CProgramView::editorText(QWidget* editor) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->text();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) return combo->currentText();
    return {};
}

void CProgramView::hideEditors() {
    for (QWidget* w : {static_cast<QWidget*>(freqEdit_), static_cast<QWidget*>(nameEdit_),
                       static_cast<QWidget*>(toneList_)})
        w->hide();
    for (QComboBox* w : lists_) w->hide();
}

void CProgramView::onEnterCell() {
    const int row = grid_->row();
    const int col = grid_->col();
    if (row < 1 || col < 1) return;
    QWidget* editor = editorFor(col);
    for (QWidget* w : {static_cast<QWidget*>(freqEdit_), static_cast<QWidget*>(nameEdit_),
                       static_cast<QWidget*>(toneList_)})
        if (w != editor) w->hide();
    for (QComboBox* w : lists_)
        if (w != editor) w->hide();

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
    table_.setBands(cps::app().bandsInUse);
    applyOutcome(table_.leaveCell(grid_->row(), col, editorText(editor)), editor, true);
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
    const char* text = nullptr;
    Prompter::Icon icon = Prompter::Icon::Exclamation;
    switch (notice) {
        case cps::Notice::None:
            return;
        case cps::Notice::OutOfRange:
            text = QT_TRANSLATE_NOOP("StringTable", "Out of range, please input again.");
            break;
        case cps::Notice::BadFormat:
            text = QT_TRANSLATE_NOOP("StringTable", "Error Data Format, please input again.");
            icon = Prompter::Icon::Stop;
            break;
        case cps::Notice::BadStep:
            text = QT_TRANSLATE_NOOP(
                "StringTable",
                "Error data Value, please input according the step value(6.25K/5k).");
            break;
    }
    prompter_->message(this, QCoreApplication::translate("StringTable", "Caution"),
                       QCoreApplication::translate("StringTable", text), icon, QMessageBox::Ok);
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
        table_.setBands(cps::app().bandsInUse);
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
    const bool chinese = cps::app().chinese;
    if (sqlCheck_->isChecked()) {
        sqlLabel_->setText(cps::pick(chinese, "Sql allow writing", "静噪允许写入"));
        sqlLabel_->setBackgroundColor(QColor(0, 255, 0));
        sqlWriting_ = 1;
    } else {
        sqlLabel_->setText(cps::pick(chinese, "Sql write protect", "静噪禁止写入"));
        sqlLabel_->setBackgroundColor(QColor(255, 0, 0));
        sqlWriting_ = 0;
    }
    // The radio write and the exit's saving read the process-wide switch.
    cps::app().sqlWritingAllowed = sqlWriting_;
}

void CProgramView::revealServiceControls() {
    sqlCheck_->show();
    sqlLabel_->show();
}

void CProgramView::read() { cps::radioui::read(*this); }
void CProgramView::write() { cps::radioui::write(*this); }
void CProgramView::comSetup() { cps::radioui::comSetup(this); }
