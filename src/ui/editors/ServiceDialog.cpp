#include "ServiceDialog.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

#include "CMSFlexGrid.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "Pick.h"
#include "ServiceGrid.h"

namespace cps {

ReadWriteButtons readWriteButtons(QWidget* dialog, bool chinese) {
    ReadWriteButtons b{new QPushButton(pick(chinese, "Read", "读取"), dialog), nullptr};
    setControlId(b.read, ReadWriteButtons::kReadId);
    b.write = new QPushButton(pick(chinese, "Write", "写入"), dialog);
    setControlId(b.write, ReadWriteButtons::kWriteId);
    return b;
}

ServiceDialog::ServiceDialog(RadioImage& image, const RadioContext& radio,
                             const ServiceRange& range, int templateId, const QString& title,
                             const field::Table& table, QWidget* parent)
    : QDialog(parent), image_(image), radio_(radio), range_(range) {
    routeF1ToHelp(this, templateId);
    setWindowTitle(title);
    field::Env env;
    env.chinese = radio.chinese;
    binder_ = new FieldBinder(table, image_, env, this);
}

ServiceDialog::~ServiceDialog() = default;

void ServiceDialog::addGrid(int id, int rows, int cols) {
    grid_ = new CMSFlexGrid(this);
    setControlId(grid_, id);
    grid_->setRows(rows);
    grid_->setCols(cols);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ServiceDialog::addCells(int editId, std::function<int(int row, int col)> fieldAt, int width) {
    edit_ = new QLineEdit(this);
    setControlId(edit_, editId);
    cells_ = new ServiceGrid(grid_, edit_, *binder_, std::move(fieldAt));
    // The row heights are known once the cells have set the grid's font.
    int height = grid_->horizontalHeader()->sizeHint().height() + 2 * grid_->frameWidth();
    for (int r = 1; r < grid_->rows(); ++r) height += grid_->rowHeight(r);
    grid_->setFixedSize(width, height);
}

void ServiceDialog::addReadWrite() {
    const ReadWriteButtons b = readWriteButtons(this, radio_.chinese);
    read_ = b.read;
    write_ = b.write;
    connect(read_, &QPushButton::clicked, this, &ServiceDialog::readRadio);
    connect(write_, &QPushButton::clicked, this, &ServiceDialog::writeRadio);
}

void ServiceDialog::store() {
    cells_->commit();
    binder_->store();
}

void ServiceDialog::accept() {
    store();
    QDialog::accept();
}

void ServiceDialog::readRadio() {
    cells_->commit();
    if (exchangeWithRadio(this, image_, range_, LinkMode::Read, radio_)) {
        binder_->load();
        cells_->showValues();
    }
}

void ServiceDialog::writeRadio() {
    store();
    exchangeWithRadio(this, image_, range_, LinkMode::Write, radio_);
}

}  // namespace cps
