#pragma once

#include <QString>
#include <functional>

#include "Field.h"

class QComboBox;
class QDialog;
class QDialogButtonBox;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QWidget;

// What the feature dialogs share: their labels from the field table, their buttons, and the
// keys some of them refuse.
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

}  // namespace cps::features
