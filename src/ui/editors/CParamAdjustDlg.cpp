#include "CParamAdjustDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "CMSFlexGrid.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "OkCancel.h"
#include "ParamAdjustFields.h"
#include "Pick.h"
#include "ServiceExchange.h"
#include "ServiceGrid.h"

namespace cps {

namespace {

struct Control {
    const char* key;
    int id;
};
const Control kChecks[] = {{"Narrow detect 1", 1016},
                           {"Narrow detect 2", 1017},
                           {"Wide detect 1", 1018},
                           {"Wide detect 2", 1019}};
const Control kLists[] = {{"Sql detect set low", 1015},    {"Sql detect set high", 1020},
                          {"Mic input gain (ana)", 1008},  {"Mic input gain (digit)", 1009},
                          {"Mic amp gain", 1010},          {"Max amp offset", 1011},
                          {"Tone amp offset (ana)", 1012}, {"Tone amp offset (digit)", 1013},
                          {"W/N Sql Difference", 1154}};

int twips(const QWidget* w, int t) { return t * w->logicalDpiX() / 1440; }

}  // namespace

CParamAdjustDlg::CParamAdjustDlg(RadioImage& image, const RadioContext& radio, QWidget* parent)
    : QDialog(parent), image_(image), chinese_(radio.chinese), radio_(radio) {
    const bool chinese = radio.chinese;
    setControlId(this, kTemplateId);
    setWindowTitle(pick(chinese, "Param Adjust", "参数调节"));
    const field::Table& table = paramAdjustFields();
    field::Env env;
    env.chinese = chinese;
    binder_ = new FieldBinder(table, image_, env, this);

    grid_ = new CMSFlexGrid(this);
    setControlId(grid_, kGridId);
    grid_->setRows(kDetectRows + 1);
    grid_->setCols(kDetectCols + 1);
    for (int c = 0; c <= kDetectCols; ++c) {
        grid_->setColWidth(c, twips(this, 1000));
        grid_->setColAlignment(c, Qt::AlignCenter);
    }
    for (int c = 1; c <= kDetectCols; ++c)
        grid_->setTextMatrix(0, c, detectColHeading(c).get(chinese));
    for (int d = 1; d <= kDetectRows; ++d)
        grid_->setTextMatrix(d, 0, detectRowHeading(d).get(chinese));
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int width =
        grid_->colWidth(0) + kDetectCols * twips(this, 1000) + 2 * grid_->frameWidth();
    edit_ = new QLineEdit(this);
    setControlId(edit_, kEditId);
    const int firstCell = table.indexOf(detectCellKey(1, 1));
    cells_ = new ServiceGrid(grid_, edit_, *binder_, [firstCell](int row, int col) {
        return firstCell + (row - 1) * kDetectCols + (col - 1);
    });
    int height = grid_->horizontalHeader()->sizeHint().height() + 2 * grid_->frameWidth();
    for (int r = 1; r <= kDetectRows; ++r) height += grid_->rowHeight(r);
    grid_->setFixedSize(width, height);

    auto* checks = new QHBoxLayout;
    for (const Control& c : kChecks) {
        auto* box = new QCheckBox(table.find(QLatin1String(c.key))->label.get(chinese), this);
        setControlId(box, c.id);
        binder_->bind(box, c.key);
        checks->addWidget(box);
    }
    checks->addStretch(1);

    auto* lists = new QGridLayout;
    int n = 0;
    for (const Control& c : kLists) {
        auto* box = new QComboBox(this);
        setControlId(box, c.id);
        box->setMaxVisibleItems(12);
        binder_->bind(box, c.key);
        auto* label = new QLabel(table.find(QLatin1String(c.key))->label.get(chinese), this);
        label->setBuddy(box);
        lists->addWidget(label, n % 5, (n / 5) * 2);
        lists->addWidget(box, n % 5, (n / 5) * 2 + 1);
        ++n;
    }
    lists->setColumnMinimumWidth(2, 0);
    lists->setHorizontalSpacing(10);

    read_ = new QPushButton(pick(chinese, "Read", "读取"), this);
    setControlId(read_, kReadId);
    write_ = new QPushButton(pick(chinese, "Write", "写入"), this);
    setControlId(write_, kWriteId);
    const OkCancel okCancel = okCancelButtons(this, chinese);
    connect(read_, &QPushButton::clicked, this, &CParamAdjustDlg::readRadio);
    connect(write_, &QPushButton::clicked, this, &CParamAdjustDlg::writeRadio);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(read_);
    buttons->addWidget(write_);
    buttons->addStretch(1);
    buttons->addWidget(okCancel.ok);
    buttons->addWidget(okCancel.cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 0, Qt::AlignLeft);
    layout->addLayout(checks);
    layout->addLayout(lists);
    layout->addLayout(buttons);
    cells_->showValues();
    routeF1ToHelp(this, kTemplateId);
}

CParamAdjustDlg::~CParamAdjustDlg() = default;

QComboBox* CParamAdjustDlg::list(const char* key) const {
    for (const Control& c : kLists)
        if (qstrcmp(c.key, key) == 0) return findChild<QComboBox*>(QString::number(c.id));
    return nullptr;
}

void CParamAdjustDlg::store() {
    cells_->commit();
    binder_->store();
}

void CParamAdjustDlg::reload() {
    binder_->load();
    cells_->showValues();
}

void CParamAdjustDlg::accept() {
    store();
    QDialog::accept();
}

void CParamAdjustDlg::readRadio() {
    cells_->commit();
    if (exchangeWithRadio(this, image_, kParamAdjustRange, LinkMode::Read, radio_)) reload();
}

void CParamAdjustDlg::writeRadio() {
    store();
    exchangeWithRadio(this, image_, kParamAdjustRange, LinkMode::Write, radio_);
}

}  // namespace cps
