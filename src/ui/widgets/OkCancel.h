#pragma once

class QDialog;
class QDialogButtonBox;
class QPushButton;

namespace cps {

// The OK and Cancel buttons a dialog ends with: "OK"/"确定" and "Cancel"/"取消", OK the
// default button, OK accepting and Cancel rejecting the dialog.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};

// Whether the two carry the ids of the Windows OK and Cancel buttons (1 and 2), whose help
// F1 then shows instead of the dialog's.
enum class OkCancelIds { None, Windows };

// The two buttons, for a dialog that places them in a layout of its own, OK before Cancel.
OkCancel okCancelButtons(QDialog* dialog, bool chinese, OkCancelIds ids = OkCancelIds::None);

// The two in a button box, in the platform's order.
QDialogButtonBox* okCancelBox(QDialog* dialog, bool chinese, OkCancelIds ids = OkCancelIds::None);

}  // namespace cps
