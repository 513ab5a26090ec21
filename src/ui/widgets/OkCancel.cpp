#include "OkCancel.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "HelpContext.h"
#include "Pick.h"

namespace cps {

namespace {

void dress(const OkCancel& b, OkCancelIds ids) {
    if (ids == OkCancelIds::Windows) {
        setControlId(b.ok, 1);      // IDOK
        setControlId(b.cancel, 2);  // IDCANCEL
    }
    b.ok->setDefault(true);
}

}  // namespace

OkCancel okCancelButtons(QDialog* dialog, bool chinese, OkCancelIds ids) {
    OkCancel b{new QPushButton(pick(chinese, "OK", "确定"), dialog),
               new QPushButton(pick(chinese, "Cancel", "取消"), dialog)};
    dress(b, ids);
    QObject::connect(b.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}

QDialogButtonBox* okCancelBox(QDialog* dialog, bool chinese, OkCancelIds ids) {
    auto* box = new QDialogButtonBox(dialog);
    const OkCancel b{box->addButton(pick(chinese, "OK", "确定"), QDialogButtonBox::AcceptRole),
                     box->addButton(pick(chinese, "Cancel", "取消"), QDialogButtonBox::RejectRole)};
    dress(b, ids);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

}  // namespace cps
