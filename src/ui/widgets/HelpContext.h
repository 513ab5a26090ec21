#pragma once

#include <functional>

class QWidget;

namespace cps {

// Control, dialog and command ids double as help context numbers. A control carries its id
// as object name and as the "cpsId" property; a dialog its template id.
void setControlId(QWidget* widget, int id);
// The id of widget, or of its nearest ancestor that has one; 0 when none has.
int controlId(const QWidget* widget);

// The one help function every window routes F1 to. The main window sets the viewer; until
// then (and in tests) a request does nothing visible.
using HelpFunction = std::function<void(int context)>;
void setHelpFunction(HelpFunction function);
void showHelp(int context);

// F1 anywhere inside dialog shows help for the focused control's id, else the dialog's.
void routeF1ToHelp(QWidget* dialog, int templateId);

}  // namespace cps
