#include "CStunDlg.h"

#include <QGridLayout>

#include "FeatureFields.h"

CStunDlg::CStunDlg(cps::RadioImage& image, bool chinese, QWidget* parent)
    : BoundDialog(image, cps::stunFields(), chinese, parent) {
    // The template's caption.
    setWindowTitle(QStringLiteral("DTMF"));

    auto* grid = new QGridLayout;
    type_ = addList(grid, 0, "Stun Type", 1116);
    code_ = addEdit(grid, 1, "Stun/Kill Code", 1135);
    remove_ = addEdit(grid, 2, "Remove Stun/Kill code", 1153);
    finishForm(grid, kTemplateId);
}
