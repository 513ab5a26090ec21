#include "CDtmfCodesDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "FeatureDialog.h"
#include "FeatureFields.h"
#include "FieldBinder.h"
#include "HelpContext.h"

CDtmfCodesDlg::CDtmfCodesDlg(cps::RadioImage& image, bool chinese, QWidget* parent)
    : QDialog(parent) {
    using cps::features::addEdit;
    using cps::features::addList;
    const cps::field::Table& table = cps::dtmfFields();
    setWindowTitle(QStringLiteral("DTMF"));

    auto* grid = new QGridLayout;
    codeTime_ = addList(grid, 0, 0, table, "Dtmf Code Time", 1141, chinese);
    trunking_ = addList(grid, 1, 0, table, "Turnking", 1117, chinese);
    workStatus_ = addList(grid, 2, 0, table, "Work Status", 1118, chinese);
    groupCode_ = addList(grid, 3, 0, table, "Group Code", 1119, chinese);
    bot_ = addEdit(grid, 4, 0, table, "BOT", 1020, chinese);
    eot_ = addEdit(grid, 5, 0, table, "EOT", 1021, chinese);
    localId_ = addEdit(grid, 6, 0, table, "Local ID", 1152, chinese);
    grid->setColumnMinimumWidth(1, 120);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(cps::features::okCancel(this, chinese));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    cps::field::Env env;
    env.chinese = chinese;
    binder_ = new cps::FieldBinder(table, image, env, this);
    binder_->bind(codeTime_, "Dtmf Code Time");
    binder_->bind(trunking_, "Turnking");
    binder_->bind(workStatus_, "Work Status");
    binder_->bind(groupCode_, "Group Code");
    binder_->bind(bot_, "BOT");
    binder_->bind(eot_, "EOT");
    binder_->bind(localId_, "Local ID");

    cps::features::discardKeys(this, cps::features::isEnterOrEscape);
    cps::routeF1ToHelp(this, kTemplateId);
}

void CDtmfCodesDlg::accept() {
    binder_->store();
    QDialog::accept();
}
