#include "CKeyAssignmentDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "FeatureDialog.h"
#include "FeatureFields.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "KeyFilter.h"
#include "Pick.h"

CKeyAssignmentDlg::CKeyAssignmentDlg(cps::RadioImage& image, bool chinese, QWidget* parent)
    : QDialog(parent) {
    const cps::field::Table& table = cps::keyFields();
    const cps::field::Field& side = *table.find(QStringLiteral("Side Key"));
    setWindowTitle(cps::pick(chinese, "Key Assignment", "按键定义"));

    auto* box = new QGroupBox(side.label.get(chinese), this);
    auto* column = new QVBoxLayout(box);
    group_ = new QButtonGroup(this);
    const QStringList texts = cps::field::items(side, chinese);
    for (int i = 0; i < texts.size(); ++i) {
        auto* b = new QRadioButton(texts[i], box);
        // Named by its control id; its help is the command's page, not the button's.
        cps::setControlId(b, 1076 + i);
        b->setProperty("cpsId", kOptionsHelpContext);
        group_->addButton(b, i);
        column->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(cps::features::okCancel(this, chinese));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    cps::field::Env env;
    env.chinese = chinese;
    binder_ = new cps::FieldBinder(table, image, env, this);
    binder_->bind(group_, "Side Key");
    cps::keys::focusChecked(*group_);
    cps::routeF1ToHelp(this, kTemplateId);
}

void CKeyAssignmentDlg::accept() {
    binder_->store();
    QDialog::accept();
}
