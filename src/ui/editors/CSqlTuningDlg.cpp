#include "CSqlTuningDlg.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "CMSFlexGrid.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "OkCancel.h"
#include "Pick.h"
#include "ServiceExchange.h"
#include "ServiceGrid.h"
#include "SqlTuningFields.h"

namespace cps {

namespace {
int twips(const QWidget* w, int t) { return t * w->logicalDpiX() / 1440; }
}  // namespace

CSqlTuningDlg::CSqlTuningDlg(RadioImage& image, const RadioContext& radio, QWidget* parent)
    : QDialog(parent), image_(image), chinese_(radio.chinese), radio_(radio) {
    const bool chinese = radio.chinese;
    setControlId(this, kTemplateId);
    setWindowTitle(pick(chinese, "SQL Tuning", "静噪微调"));
    const field::Table& table = sqlTuningFields();
    field::Env env;
    env.chinese = chinese;
    binder_ = new FieldBinder(table, image_, env, this);

    grid_ = new CMSFlexGrid(this);
    setControlId(grid_, kGridId);
    grid_->setRows(kSqlSegments + 1);
    grid_->setCols(2);
    grid_->setColWidth(0, twips(this, 800));
    grid_->setColWidth(1, twips(this, 1600));
    grid_->setColAlignment(0, Qt::AlignCenter);
    grid_->setColAlignment(1, Qt::AlignCenter);
    grid_->setTextMatrix(0, 0, QString());
    grid_->setTextMatrix(0, 1, QStringLiteral("Sql (5 - 100)"));
    for (int r = 1; r <= kSqlSegments; ++r)
        grid_->setTextMatrix(r, 0, QString::fromUtf8(table.fields[r - 1].key));
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_ = new QLineEdit(this);
    setControlId(edit_, kEditId);
    edit_->setMaxLength(3);
    cells_ = new ServiceGrid(grid_, edit_, *binder_,
                             [](int row, int col) { return col == 1 ? row - 1 : -1; });
    int height = grid_->horizontalHeader()->sizeHint().height() + 2 * grid_->frameWidth();
    for (int r = 1; r <= kSqlSegments; ++r) height += grid_->rowHeight(r);
    grid_->setFixedSize(twips(this, 2400) + 2 * grid_->frameWidth(), height);

    auto button = [this](const QString& text, int id) {
        auto* b = new QPushButton(text, this);
        if (id) setControlId(b, id);
        return b;
    };
    read_ = button(pick(chinese, "Read", "读取"), kReadId);
    write_ = button(pick(chinese, "Write", "写入"), kWriteId);
    up_ = button(QStringLiteral("+1"), kUpId);
    down_ = button(QStringLiteral("-1"), kDownId);
    const OkCancel okCancel = okCancelButtons(this, chinese);
    connect(read_, &QPushButton::clicked, this, &CSqlTuningDlg::readRadio);
    connect(write_, &QPushButton::clicked, this, &CSqlTuningDlg::writeRadio);
    connect(up_, &QPushButton::clicked, this, [this] { step(1); });
    connect(down_, &QPushButton::clicked, this, [this] { step(-1); });

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {read_, write_, up_, down_}) side->addWidget(b);
    side->addStretch(1);
    side->addWidget(okCancel.ok);
    side->addWidget(okCancel.cancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(grid_, 0, 0);
    layout->addLayout(side, 0, 1);
    cells_->showValues();
    routeF1ToHelp(this, kTemplateId);
}

CSqlTuningDlg::~CSqlTuningDlg() = default;

void CSqlTuningDlg::step(int delta) {
    cells_->commit();
    stepSqlLevels(binder_->form(), delta);
    cells_->showValues();
}

void CSqlTuningDlg::store() {
    cells_->commit();
    binder_->store();
}

void CSqlTuningDlg::accept() {
    store();
    QDialog::accept();
}

void CSqlTuningDlg::readRadio() {
    cells_->commit();
    if (exchangeWithRadio(this, image_, kSqlTuningRange, LinkMode::Read, radio_)) {
        binder_->load();
        cells_->showValues();
    }
}

void CSqlTuningDlg::writeRadio() {
    store();
    exchangeWithRadio(this, image_, kSqlTuningRange, LinkMode::Write, radio_);
}

}  // namespace cps
