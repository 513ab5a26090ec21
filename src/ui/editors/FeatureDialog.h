#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "Field.h"
#include "RadioImage.h"

class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QLayout;
class QLineEdit;
class QVBoxLayout;
class QWidget;

namespace cps {
class FieldBinder;
}

// What the feature dialogs share: their labels from the field table, their buttons, the keys
// some of them refuse, and the binding of the dialogs made for one opening.
namespace cps::features {

// The label of a field in the dialog's language.
QString label(const field::Table& table, const char* key, bool chinese);

// A list with its control id and its right-aligned label at (row, column) of grid.
QComboBox* addList(QGridLayout* grid, int row, int column, const field::Table& table,
                   const char* key, int id, bool chinese);
// An edit likewise.
QLineEdit* addEdit(QGridLayout* grid, int row, int column, const field::Table& table,
                   const char* key, int id, bool chinese);

// "OK" (default) and "Cancel", wired to the dialog's accept() and reject().
QDialogButtonBox* okCancel(QDialog* dialog, bool chinese);

// Key presses inside dialog for which discard holds go nowhere: no control, button or
// shortcut of the dialog sees them.
using KeyTest = std::function<bool(const QKeyEvent&)>;
void discardKeys(QDialog* dialog, KeyTest discard);
bool isEnterOrEscape(const QKeyEvent& key);

// A feature dialog made for one opening: its controls bound to one table over the image as
// they are made, OK storing them into the image.
class BoundDialog : public QDialog {
    Q_OBJECT
  public slots:
    void accept() override;

  protected:
    BoundDialog(RadioImage& image, const field::Table& table, bool chinese, QWidget* parent);

    // A list or an edit of a field in the first column pair of grid, with its label, bound.
    QComboBox* addList(QGridLayout* grid, int row, const char* key, int id);
    QLineEdit* addEdit(QGridLayout* grid, int row, const char* key, int id);
    // The dialog: body above "OK" and "Cancel", no larger than they need.
    void finish(QLayout* body);
    void finish(QWidget* body);
    // A form of such rows, its fields at least 120 pixels wide, finished as above; Enter and
    // Escape do nothing in it, so only the buttons and the title bar end it. F1 shows the
    // help of templateId.
    void finishForm(QGridLayout* rows, int templateId);

    bool chinese() const { return chinese_; }
    const field::Table& table() const { return table_; }
    FieldBinder& binder() const { return *binder_; }

  private:
    void endLayout(QVBoxLayout* layout);

    const field::Table& table_;
    bool chinese_;
    FieldBinder* binder_;
};

}  // namespace cps::features
