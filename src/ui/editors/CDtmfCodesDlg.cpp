#include "CDtmfCodesDlg.h"

#include <QGridLayout>

#include "FeatureFields.h"

CDtmfCodesDlg::CDtmfCodesDlg(cps::RadioImage& image, bool chinese, QWidget* parent)
    : BoundDialog(image, cps::dtmfFields(), chinese, parent) {
    setWindowTitle(QStringLiteral("DTMF"));

    auto* grid = new QGridLayout;
    codeTime_ = addList(grid, 0, "Dtmf Code Time", 1141);
    trunking_ = addList(grid, 1, "Turnking", 1117);
    workStatus_ = addList(grid, 2, "Work Status", 1118);
    groupCode_ = addList(grid, 3, "Group Code", 1119);
    bot_ = addEdit(grid, 4, "BOT", 1020);
    eot_ = addEdit(grid, 5, "EOT", 1021);
    localId_ = addEdit(grid, 6, "Local ID", 1152);
    finishForm(grid, kTemplateId);
}
