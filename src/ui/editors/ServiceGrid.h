#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "RadioLink.h"
#include "RadioUi.h"
#include "ServiceExchange.h"

class CMSFlexGrid;
class QLineEdit;

namespace cps {

class FieldBinder;

// The grid of a service dialog bound to fields: each body cell shows one field of the
// binder's form; a left press on a cell opens the in-place edit over it, and leaving the edit
// sets the field as typing would (the field limits the level). HighLight follows the mouse:
// 2 over the heading column, 0 elsewhere.
class ServiceGrid : public QObject {
    Q_OBJECT
  public:
    // fieldAt gives the field index of a body cell, or -1.
    ServiceGrid(CMSFlexGrid* grid, QLineEdit* edit, FieldBinder& binder,
                std::function<int(int row, int col)> fieldAt);

    // Cells from the form.
    void showValues();
    // A visible edit is left: its text goes into its field and the edit is hidden.
    void commit();
    // Opens the edit over the current cell, as a left press there does.
    void openEditor();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CMSFlexGrid* grid_;
    QLineEdit* edit_;
    QWidget* rowHeader_ = nullptr;  // the grid's row heading area, watched for clicks
    FieldBinder& binder_;
    std::function<int(int, int)> fieldAt_;
    int editRow_ = -1, editCol_ = -1;
};

// Read or Write of a service dialog: the service block exchange over range, on the
// context's port, with its boxes over parent. True when it completed.
bool exchangeWithRadio(QWidget* parent, RadioImage& image, const ServiceRange& range, LinkMode mode,
                       const RadioContext& radio);

}  // namespace cps
