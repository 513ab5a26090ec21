#include "ServiceGrid.h"

#include <QCursor>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>

#include "CMSFlexGrid.h"
#include "FieldBinder.h"
#include "MessageBoxPrompt.h"
#include "SerialPort.h"

namespace cps {

ServiceGrid::ServiceGrid(CMSFlexGrid* grid, QLineEdit* edit, FieldBinder& binder,
                         std::function<int(int, int)> fieldAt)
    : QObject(grid), grid_(grid), edit_(edit), binder_(binder), fieldAt_(std::move(fieldAt)) {
    // Heading cells take the grid's font, as every cell of the control does, and rows are
    // as tall as that font needs. Set up the grid's size before this.
    for (int c = 0; c < grid_->columnCount(); ++c)
        if (QTableWidgetItem* h = grid_->horizontalHeaderItem(c)) h->setFont(grid_->font());
    for (int r = 0; r < grid_->rowCount(); ++r)
        if (QTableWidgetItem* h = grid_->verticalHeaderItem(r)) h->setFont(grid_->font());
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    edit_->setParent(grid_->viewport());
    edit_->hide();
    edit_->installEventFilter(this);
    rowHeader_ = grid_->verticalHeader()->viewport();
    rowHeader_->installEventFilter(this);
    connect(grid_, &CMSFlexGrid::mouseDown, this, [this](Qt::MouseButton button, int, int) {
        if (button != Qt::LeftButton) return;
        grid_->setHighLight(0);
        openEditor();
    });
    connect(grid_, &CMSFlexGrid::enterCell, this, [this] {
        const QHeaderView* heading = grid_->verticalHeader();
        const bool overHeading = heading->rect().contains(heading->mapFromGlobal(QCursor::pos()));
        grid_->setHighLight(overHeading ? 2 : 0);
    });
    connect(edit_, &QLineEdit::returnPressed, this, &ServiceGrid::commit);
}

void ServiceGrid::showValues() {
    const field::Form& form = binder_.form();
    for (int r = 1; r < grid_->rows(); ++r)
        for (int c = 1; c < grid_->cols(); ++c)
            if (const int i = fieldAt_(r, c); i >= 0) grid_->setTextMatrix(r, c, form.values[i]);
}

void ServiceGrid::openEditor() {
    if (edit_->isVisible()) commit();
    if (fieldAt_(grid_->row(), grid_->col()) < 0) return;
    editRow_ = grid_->row();
    editCol_ = grid_->col();
    edit_->setText(grid_->text());
    grid_->placeOverCell(edit_);
}

void ServiceGrid::commit() {
    if (!edit_->isVisible() || editRow_ < 0) return;
    const int i = fieldAt_(editRow_, editCol_);
    const QString typed = edit_->text();
    editRow_ = editCol_ = -1;  // hiding the focused edit sends another focus-out
    edit_->hide();
    if (i >= 0) binder_.set(binder_.table().fields[static_cast<size_t>(i)].key, typed);
    showValues();
}

bool ServiceGrid::eventFilter(QObject* watched, QEvent* event) {
    // Compared by the pointers kept at set-up: while the dialog is destroyed the grid is
    // no longer a grid, and asking it for its header is undefined.
    if (watched == edit_ && event->type() == QEvent::FocusOut) {
        commit();
    } else if (watched == rowHeader_ && event->type() == QEvent::MouseButtonPress) {
        grid_->setHighLight(2);
    }
    return QObject::eventFilter(watched, event);
}

bool exchangeWithRadio(QWidget* parent, RadioImage& image, const ServiceRange& range, LinkMode mode,
                       const RadioContext& radio) {
    // The document is busy for the whole exchange, its failure boxes included.
    struct Busy {
        const std::function<void(bool)>& set;
        explicit Busy(const std::function<void(bool)>& s) : set(s) {
            if (set) set(true);
        }
        ~Busy() {
            if (set) set(false);
        }
    } busy(radio.setBusy);
    SerialPort port(radio.resolve);
    MessageBoxPrompt prompt(parent, radio.caption);
    return RadioLink(port, prompt)
               .serviceExchange(image, range.start, range.end, mode, radio.portName,
                                radio.chinese) == LinkResult::Ok;
}

}  // namespace cps
