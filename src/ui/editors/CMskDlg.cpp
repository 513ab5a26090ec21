#include "CMskDlg.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "CMSFlexGrid.h"
#include "FeatureDialog.h"
#include "FeatureFields.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "KeyFilter.h"
#include "Pick.h"

namespace {

// The template's width of the number column, in pixels at a 1024-pixel screen.
constexpr int kColumnBase = 64;

}  // namespace

CMskDlg::CMskDlg(ImageSource image, bool chinese, QWidget* parent)
    : QDialog(parent), image_(std::move(image)), chinese_(chinese) {
    const cps::field::Table& table = cps::mskFields();
    setWindowTitle(QStringLiteral("MSK"));

    auto* top = new QGridLayout;
    id_ = cps::features::addEdit(top, 0, 0, table, "ID Code", 1048, chinese);
    id_->installEventFilter(this);

    auto* box = new QGroupBox(cps::pick(chinese, "Call List", "呼叫列表"), this);
    auto* boxLayout = new QVBoxLayout(box);
    grid_ = new CMSFlexGrid(box);
    cps::setControlId(grid_, 1349);
    grid_->setRows(kRows);
    grid_->setCols(2);
    grid_->setForeColorFixed(QColor(0, 70, 213));
    grid_->setTextMatrix(0, 0, cps::pick(chinese, "Num", "编号"));
    grid_->setTextMatrix(0, 1, cps::pick(chinese, "Call List", "呼叫列表"));
    for (int r = 1; r < kRows; ++r) grid_->setTextMatrix(r, 0, QString::asprintf("%d", r));
    grid_->setColAlignment(0, Qt::AlignCenter);
    grid_->setColAlignment(1, Qt::AlignCenter);
    for (int r = kRows - 1; r >= 1; --r) {
        grid_->setCurrent(r, 1);
        grid_->setCellFontName(QStringLiteral("Courier"));
    }
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    boxLayout->addWidget(grid_);

    // The cell editor: a capitals-only edit over the current cell, four characters long.
    editor_ = new QLineEdit(grid_->viewport());
    cps::setControlId(editor_, 1123);
    editor_->setFont(font());
    const cps::field::Field& cell = *table.find(QString::fromUtf8(cps::callListKey(1)));
    editor_->setValidator(cps::makeFieldValidator(cell, editor_));
    editor_->setContextMenuPolicy(Qt::NoContextMenu);
    editor_->hide();

    connect(grid_, &CMSFlexGrid::enterCell, this, &CMskDlg::placeEditor);
    connect(grid_, &CMSFlexGrid::leaveCell, this, &CMskDlg::commitEditor);
    connect(grid_, &CMSFlexGrid::mouseDown, this, [this] {
        if (!editor_->isVisible()) placeEditor();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(box);
    layout->addWidget(cps::features::okCancel(this, chinese));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const QScreen* screen = QGuiApplication::primaryScreen();
    applyWidths(screen ? screen->geometry().width() : 1024);

    cps::features::discardKeys(this, [](const QKeyEvent& key) {
        return key.key() != Qt::Key_F1 &&
               !cps::keys::passes(cps::keys::kHex, key.key(), key.modifiers());
    });
    cps::routeF1ToHelp(this, kTemplateId);
}

CMskDlg::~CMskDlg() = default;

void CMskDlg::applyWidths(int screenWidth) {
    const int c = kColumnBase * screenWidth / 1024;
    grid_->setColWidth(0, static_cast<int>(c * 0.8));
    grid_->setColWidth(1, static_cast<int>(c * 1.43));
    int height = grid_->horizontalHeader()->height() + 4;
    for (int r = 1; r < kRows; ++r) height += grid_->rowHeight(r);
    grid_->setFixedSize(grid_->colWidth(0) + grid_->colWidth(1) + 4, height);
}

void CMskDlg::fillGrid() {
    for (int n = 1; n <= cps::feature::kCallListCount; ++n)
        grid_->setTextMatrix(n, 1, binder_->form().value(QString::fromUtf8(cps::callListKey(n))));
}

int CMskDlg::exec() {
    cps::RadioImage* image = image_ ? image_() : nullptr;
    if (!image) return Rejected;
    cps::field::Env env;
    env.chinese = chinese_;
    binder_ = std::make_unique<cps::FieldBinder>(cps::mskFields(), *image, env);
    binder_->bind(id_, "ID Code");
    fillGrid();
    editor_->hide();
    grid_->setCurrent(1, 1);
    id_->setFocus();
    const int result = QDialog::exec();
    editor_->hide();
    binder_.reset();
    return result;
}

void CMskDlg::placeEditor() {
    const int row = grid_->row();
    if (row < 1 || grid_->col() != 1) return;
    cps::showText(editor_, grid_->text());
    grid_->placeOverCell(editor_);
    grid_->viewport()->update();
}

void CMskDlg::commitEditor() {
    if (!editor_->isVisible() || !binder_) return;
    const int row = grid_->row();
    // An entry left as it was shown is no entry: the loaded value stays as it is.
    if (row >= 1 && row < kRows &&
        editor_->text() != binder_->form().value(QString::fromUtf8(cps::callListKey(row)))) {
        binder_->setTyped(cps::callListKey(row), editor_->text(), editor_);
        grid_->setTextMatrix(row, 1,
                             binder_->form().value(QString::fromUtf8(cps::callListKey(row))));
    }
    editor_->hide();
}

bool CMskDlg::eventFilter(QObject* watched, QEvent* event) {
    // Going to the ID code takes what the cell editor holds first.
    if (watched == id_ && event->type() == QEvent::FocusIn) commitEditor();
    return QDialog::eventFilter(watched, event);
}

void CMskDlg::accept() {
    if (binder_) {
        commitEditor();
        binder_->store();
    }
    QDialog::accept();
}
