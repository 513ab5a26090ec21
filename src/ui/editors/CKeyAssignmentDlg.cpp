#include "CKeyAssignmentDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "FeatureFields.h"
#include "FieldBinder.h"
#include "HelpContext.h"
#include "KeyFilter.h"
#include "Pick.h"

CKeyAssignmentDlg::CKeyAssignmentDlg(cps::RadioImage& image, bool chinese, QWidget* parent)
    : BoundDialog(image, cps::keyFields(), chinese, parent) {
    const cps::field::Field& side = *table().find(QStringLiteral("Side Key"));
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
    finish(box);

    binder().bind(group_, side.key);
    cps::keys::focusChecked(*group_);
    cps::routeF1ToHelp(this, kTemplateId);
}
