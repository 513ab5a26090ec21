#include "CSqlTuningDlg.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "CMSFlexGrid.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "OkCancel.h"
#include "Pick.h"
#include "ServiceGrid.h"
#include "SqlTuningFields.h"

namespace cps {

CSqlTuningDlg::CSqlTuningDlg(RadioImage& image, const RadioContext& radio, QWidget* parent)
    : ServiceDialog(image, radio, kSqlTuningRange, kTemplateId,
                    pick(radio.chinese, "SQL Tuning", "静噪微调"), sqlTuningFields(), parent) {
    const field::Table& table = sqlTuningFields();

    addGrid(kGridId, kSqlSegments + 1, 2);
    CMSFlexGrid* g = grid();
    g->setColWidth(0, twips(800));
    g->setColWidth(1, twips(1600));
    g->setColAlignment(0, Qt::AlignCenter);
    g->setColAlignment(1, Qt::AlignCenter);
    g->setTextMatrix(0, 0, QString());
    g->setTextMatrix(0, 1, QStringLiteral("Sql (5 - 100)"));
    for (int r = 1; r <= kSqlSegments; ++r)
        g->setTextMatrix(r, 0, QString::fromUtf8(table.fields[r - 1].key));
    addCells(
        kEditId, [](int row, int col) { return col == 1 ? row - 1 : -1; },
        twips(2400) + 2 * g->frameWidth());
    cellEdit()->setMaxLength(3);

    addReadWrite();
    up_ = new QPushButton(QStringLiteral("+1"), this);
    setControlId(up_, kUpId);
    down_ = new QPushButton(QStringLiteral("-1"), this);
    setControlId(down_, kDownId);
    const OkCancel okCancel = okCancelButtons(this, radio.chinese);
    connect(up_, &QPushButton::clicked, this, [this] { step(1); });
    connect(down_, &QPushButton::clicked, this, [this] { step(-1); });

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {readButton(), writeButton(), up_, down_}) side->addWidget(b);
    side->addStretch(1);
    side->addWidget(okCancel.ok);
    side->addWidget(okCancel.cancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(g, 0, 0);
    layout->addLayout(side, 0, 1);
    cells()->showValues();
}

void CSqlTuningDlg::step(int delta) {
    cells()->commit();
    stepSqlLevels(binder().form(), delta);
    cells()->showValues();
}

}  // namespace cps
