#include "CTwoTonePages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "CMSFlexGrid.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "KeyFilter.h"
#include "Pick.h"
#include "TwoToneFields.h"

namespace cps {

using twotone::Rule;

// Up-down ---------------------------------------------------------------------------------

CUpDown::CUpDown(QWidget* parent) : QWidget(parent) {
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {up_, down_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { emit stepped(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

// Page ------------------------------------------------------------------------------------

CTwoTonePage::CTwoTonePage(int templateId, QWidget* parent) : QWidget(parent) {
    setControlId(this, templateId);
}

void CTwoTonePage::showPage() {
    if (shown_) return;
    load();
    shown_ = true;
}

void CTwoTonePage::hidePage() {
    if (!shown_) return;
    store();
    shown_ = false;
}

void CTwoTonePage::filterKeys(QWidget* w) {
    w->installEventFilter(this);
    for (QWidget* child : w->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool CTwoTonePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!keys::passes(keys::kDecimal, key->key(), key->modifiers())) return true;
    }
    return QWidget::eventFilter(watched, event);
}

CTwoTonePage::Entry CTwoTonePage::addEntry(QGridLayout* grid, int row, const QString& label,
                                           int editId, int upDownId, Rule rule, FieldBinder* binder,
                                           const char* key) {
    Entry e;
    e.edit = new QLineEdit(this);
    setControlId(e.edit, editId);
    e.edit->setMaxLength(twotone::maxLength(rule));
    e.edit->setContextMenuPolicy(Qt::NoContextMenu);  // no pasting around the key filter
    e.edit->setFixedWidth(e.edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    e.upDown = new CUpDown(this);
    setControlId(e.upDown, upDownId);
    auto* text = new QLabel(label, this);
    text->setBuddy(e.edit);
    grid->addWidget(text, row, 0);
    auto* pair = new QHBoxLayout;
    pair->setSpacing(0);
    pair->addWidget(e.edit);
    pair->addWidget(e.upDown);
    grid->addLayout(pair, row, 1);
    binder->bind(e.edit, key);
    QLineEdit* edit = e.edit;
    connect(e.upDown, &CUpDown::stepped, this, [binder, edit, rule, key](int delta) {
        // Only this edit changes: another one may hold a typed text not yet left, which a
        // refresh of every control would throw away.
        field::Form& form = binder->form();
        const field::Parsed p = field::set(form, form.index(QString::fromUtf8(key)),
                                           twotone::step(rule, edit->text(), delta));
        if (p.ok) edit->setText(p.text);
    });
    return e;
}

void CTwoTonePage::addEntries(QGridLayout* grid, const EntryControls* controls, int n,
                              Entry* entries, FieldBinder* binder, bool chinese) {
    for (int i = 0; i < n; ++i) {
        const field::Field& f = binder->table().fields[static_cast<size_t>(i)];
        entries[i] = addEntry(grid, i, f.label.get(chinese), controls[i].edit, controls[i].upDown,
                              controls[i].rule, binder, f.key);
        entries[i].upDown->setRange(controls[i].low, controls[i].high);
    }
}

// Encode page -----------------------------------------------------------------------------

CTwoToneEncodePage::CTwoToneEncodePage(RadioImage& image, bool chinese, QWidget* parent)
    : CTwoTonePage(kTemplateId, parent) {
    field::Env env;
    env.chinese = chinese;
    const field::Table& table = twotone::encodeFields();
    binder_ = new FieldBinder(table, image, env, this);

    static const EntryControls controls[5] = {{1250, 1055, 5, 100, Rule::EncodeDelay},
                                              {1251, 1056, 5, 100, Rule::EncodeDelay},
                                              {1252, 1057, 5, 100, Rule::EncodeDelay},
                                              {1253, 1058, 1, 20, Rule::EncodeInterval},
                                              {1054, 1059, 2, 20, Rule::TxRise}};
    auto* form = new QGridLayout;
    form->setVerticalSpacing(10);
    addEntries(form, controls, 5, entries_, binder_, chinese);
    beep_ = new QCheckBox(table.fields[5].label.get(chinese), this);
    setControlId(beep_, 1061);
    beep_->setAutoFillBackground(true);
    QPalette p = beep_->palette();
    p.setColor(QPalette::Window, QColor(244, 242, 238));
    beep_->setPalette(p);
    form->addWidget(beep_, 5, 0, 1, 2);
    form->setRowStretch(6, 1);
    binder_->bind(beep_, table.fields[5].key);

    grid_ = new CMSFlexGrid(this);
    setControlId(grid_, 1060);
    grid_->setRows(twotone::kCodeEntries + 1);
    grid_->setCols(3);
    const char* heads[3][2] = {{"Num", "编号"}, {"Tone1 Fre", "音频1"}, {"Tone2 Fre", "音频2"}};
    for (int c = 0; c < 3; ++c) {
        grid_->setTextMatrix(0, c, pick(chinese, heads[c][0], heads[c][1]));
        grid_->setColAlignment(c, Qt::AlignCenter);
    }
    for (int r = 1; r <= twotone::kCodeEntries; ++r) grid_->setTextMatrix(r, 0, QString::number(r));
    const int w = 80;  // the template's column-0 width
    grid_->setColWidth(0, w * 51 / 100);
    grid_->setColWidth(1, w * 122 / 100);
    grid_->setColWidth(2, w * 122 / 100);
    grid_->setFixedWidth(w * 51 / 100 + 2 * (w * 122 / 100) + 22);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->setMinimumHeight(14 * 20 + 26);

    cellEdit_ = new QLineEdit(grid_->viewport());
    setControlId(cellEdit_, 1135);
    cellEdit_->setMaxLength(twotone::maxLength(Rule::Cell));
    cellEdit_->setContextMenuPolicy(Qt::NoContextMenu);
    cellEdit_->setAlignment(Qt::AlignCenter);
    cellEdit_->hide();
    connect(grid_, &CMSFlexGrid::enterCell, this, &CTwoToneEncodePage::placeEditor);
    connect(grid_, &CMSFlexGrid::mouseDown, this, [this] {
        // An editor already open over the current cell keeps what was typed into it.
        if (!cellEdit_->isVisible()) placeEditor();
    });
    connect(grid_, &CMSFlexGrid::leaveCell, this, &CTwoToneEncodePage::commitEditor);
    connect(grid_, &CMSFlexGrid::scrolled, this, [this] {
        // A scroll drops a pending entry, as the editor no longer lies over its cell.
        cellEdit_->hide();
        grid_->viewport()->update();
    });

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(12);
    layout->addWidget(grid_);
    filterKeys(this);
}

void CTwoToneEncodePage::load() {
    binder_->load();
    twotone::storeThisPageOnly(binder_->form());
    for (int n = 1; n <= twotone::kCodeEntries; ++n)
        for (int t = 0; t < 2; ++t)
            grid_->setTextMatrix(n, t + 1, binder_->form().value(twotone::cellKey(n, t)).trimmed());
}

void CTwoToneEncodePage::store() {
    commitEditor();
    binder_->store();
}

void CTwoToneEncodePage::placeEditor() {
    const int row = grid_->row();
    const int col = grid_->col();
    if (row < 1 || col < 1) return;
    grid_->scrollToItem(grid_->item(row - 1, col - 1));
    cellEdit_->setText(grid_->text());
    grid_->placeOverCell(cellEdit_);
}

void CTwoToneEncodePage::commitEditor() {
    if (!cellEdit_->isVisible()) return;
    const int row = grid_->row();
    const int col = grid_->col();
    const char* key = twotone::cellKey(row, col - 1);
    // Not through the binder: its refresh of every edit would drop one typed but not left.
    field::Form& form = binder_->form();
    field::set(form, form.index(QString::fromUtf8(key)), cellEdit_->text());
    grid_->setTextMatrix(row, col, form.value(QString::fromUtf8(key)).trimmed());
    cellEdit_->hide();
}

// Decode page -----------------------------------------------------------------------------

CTwoToneDecodePage::CTwoToneDecodePage(RadioImage& image, int entry, bool chinese, QWidget* parent)
    : CTwoTonePage(146 + entry, parent), image_(image), entry_(entry) {
    field::Env env;
    env.chinese = chinese;
    const field::Table& table = twotone::entryFields();
    binder_ = new FieldBinder(table, image, env, this, entry - 1);
    static const EntryControls controls[6] = {
        {1037, 1068, 2885, 31060, Rule::DecodeTone}, {1038, 1069, 2885, 31060, Rule::DecodeTone},
        {1039, 1070, 5, 100, Rule::DecodeDelay},     {1040, 1071, 0, 100, Rule::DecodeDelay},
        {1041, 1072, 0, 20, Rule::DecodeInterval},   {1042, 1073, 5, 100, Rule::DecodeDelay}};
    auto* form = new QGridLayout;
    form->setVerticalSpacing(10);
    addEntries(form, controls, 6, entries_, binder_, chinese);
    form->setColumnStretch(2, 1);
    form->setRowStretch(6, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    filterKeys(this);
}

CTwoToneDecodePage::~CTwoToneDecodePage() {
    // Destroyed while visible: it stores as hiding it would.
    hidePage();
}

void CTwoToneDecodePage::load() {
    binder_->load();
    const uint8_t* r = image_.data() + twotone::entryFields().recordOffset(entry_ - 1);
    entries_[0].upDown->setPos((r[0] << 8) | r[1]);
    entries_[1].upDown->setPos((r[2] << 8) | r[3]);
    for (int i = 2; i < 6; ++i) entries_[i].upDown->setPos(r[i + 2]);
}

void CTwoToneDecodePage::store() { binder_->store(); }

}  // namespace cps
