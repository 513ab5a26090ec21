#include "CLanguageDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "HelpContext.h"
#include "KeyFilter.h"
#include "OkCancel.h"
#include "Pick.h"

CLanguageDlg::CLanguageDlg(bool chinese, QWidget* parent) : QDialog(parent) {
    setWindowTitle(cps::pick(chinese, "Language", "语言"));
    english_ = new QRadioButton(cps::pick(chinese, "English", "英文 (English)"), this);
    chinese_ = new QRadioButton(cps::pick(chinese, "Chinese", "中文 (Chinese)"), this);
    auto* group = new QButtonGroup(this);
    group->addButton(english_, 1076);
    group->addButton(chinese_, 1077);
    (chinese ? chinese_ : english_)->setChecked(true);
    cps::keys::focusChecked(*group);
    QDialogButtonBox* buttons = cps::okCancelBox(this, chinese);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(english_);
    layout->addWidget(chinese_);
    layout->addStretch(1);
    layout->addWidget(buttons);
    resize(230, 130);

    cps::routeF1ToHelp(this, kTemplateId);
    // Both language buttons ask for the Language command's help.
    for (QRadioButton* b : {english_, chinese_}) {
        cps::setControlId(b, kHelpContext);
        b->setObjectName(QString::number(group->id(b)));
    }
}

bool CLanguageDlg::chineseChosen() const { return chinese_->isChecked(); }
