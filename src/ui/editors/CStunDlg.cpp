#include "CStunDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "FeatureDialog.h"
#include "FeatureFields.h"
#include "FieldBinder.h"
#include "HelpContext.h"

CStunDlg::CStunDlg(cps::RadioImage& image, bool chinese, QWidget* parent) : QDialog(parent) {
    const cps::field::Table& table = cps::stunFields();
    // The template's caption.
    setWindowTitle(QStringLiteral("DTMF"));

    auto* grid = new QGridLayout;
    type_ = cps::features::addList(grid, 0, 0, table, "Stun Type", 1116, chinese);
    code_ = cps::features::addEdit(grid, 1, 0, table, "Stun/Kill Code", 1135, chinese);
    remove_ = cps::features::addEdit(grid, 2, 0, table, "Remove Stun/Kill code", 1153, chinese);
    grid->setColumnMinimumWidth(1, 120);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(cps::features::okCancel(this, chinese));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    cps::field::Env env;
    env.chinese = chinese;
    binder_ = new cps::FieldBinder(table, image, env, this);
    binder_->bind(type_, "Stun Type");
    binder_->bind(code_, "Stun/Kill Code");
    binder_->bind(remove_, "Remove Stun/Kill code");

    cps::features::discardKeys(this, cps::features::isEnterOrEscape);
    cps::routeF1ToHelp(this, kTemplateId);
}

void CStunDlg::accept() {
    binder_->store();
    QDialog::accept();
}
