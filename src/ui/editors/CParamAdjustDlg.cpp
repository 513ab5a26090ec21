#include "CParamAdjustDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "CMSFlexGrid.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "OkCancel.h"
#include "ParamAdjustFields.h"
#include "Pick.h"
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

}  // namespace

CParamAdjustDlg::CParamAdjustDlg(RadioImage& image, const RadioContext& radio, QWidget* parent)
    : ServiceDialog(image, radio, kParamAdjustRange, kTemplateId,
                    pick(radio.chinese, "Param Adjust", "参数调节"), paramAdjustFields(), parent) {
    const bool chinese = radio.chinese;
    const field::Table& table = paramAdjustFields();

    addGrid(kGridId, kDetectRows + 1, kDetectCols + 1);
    CMSFlexGrid* cells = grid();
    for (int c = 0; c <= kDetectCols; ++c) {
        cells->setColWidth(c, twips(1000));
        cells->setColAlignment(c, Qt::AlignCenter);
    }
    for (int c = 1; c <= kDetectCols; ++c)
        cells->setTextMatrix(0, c, detectColHeading(c).get(chinese));
    for (int d = 1; d <= kDetectRows; ++d)
        cells->setTextMatrix(d, 0, detectRowHeading(d).get(chinese));
    const int width = cells->colWidth(0) + kDetectCols * twips(1000) + 2 * cells->frameWidth();
    const int firstCell = table.indexOf(detectCellKey(1, 1));
    addCells(
        kEditId,
        [firstCell](int row, int col) { return firstCell + (row - 1) * kDetectCols + (col - 1); },
        width);

    auto* checks = new QHBoxLayout;
    for (const Control& c : kChecks) {
        auto* box = new QCheckBox(table.find(QLatin1String(c.key))->label.get(chinese), this);
        setControlId(box, c.id);
        binder().bind(box, c.key);
        checks->addWidget(box);
    }
    checks->addStretch(1);

    auto* lists = new QGridLayout;
    int n = 0;
    for (const Control& c : kLists) {
        auto* box = new QComboBox(this);
        setControlId(box, c.id);
        box->setMaxVisibleItems(12);
        binder().bind(box, c.key);
        auto* label = new QLabel(table.find(QLatin1String(c.key))->label.get(chinese), this);
        label->setBuddy(box);
        lists->addWidget(label, n % 5, (n / 5) * 2);
        lists->addWidget(box, n % 5, (n / 5) * 2 + 1);
        ++n;
    }
    lists->setColumnMinimumWidth(2, 0);
    lists->setHorizontalSpacing(10);

    addReadWrite();
    const OkCancel okCancel = okCancelButtons(this, chinese);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readButton());
    buttons->addWidget(writeButton());
    buttons->addStretch(1);
    buttons->addWidget(okCancel.ok);
    buttons->addWidget(okCancel.cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cells, 0, Qt::AlignLeft);
    layout->addLayout(checks);
    layout->addLayout(lists);
    layout->addLayout(buttons);
    this->cells()->showValues();
}

QComboBox* CParamAdjustDlg::list(const char* key) const {
    for (const Control& c : kLists)
        if (qstrcmp(c.key, key) == 0) return findChild<QComboBox*>(QString::number(c.id));
    return nullptr;
}

}  // namespace cps
