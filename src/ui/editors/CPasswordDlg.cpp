#include "CPasswordDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "HelpContext.h"
#include "OkCancel.h"
#include "ServiceAccess.h"

namespace cps {

CPasswordDlg::CPasswordDlg(bool chinese, QWidget* parent) : QDialog(parent) {
    setControlId(this, kTemplateId);
    setWindowTitle(chinese ? QStringLiteral("密码") : QStringLiteral("Password"));
    auto* label = new QLabel(chinese ? QStringLiteral("密码") : QStringLiteral("Password"), this);
    edit_ = new QLineEdit(this);
    setControlId(edit_, kEditId);
    edit_->setEchoMode(QLineEdit::Password);
    edit_->setMaxLength(kMaxLength);
    label->setBuddy(edit_);

    QDialogButtonBox* buttons = okCancelBox(this, chinese);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edit_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    routeF1ToHelp(this, kTemplateId);
}

void CPasswordDlg::accept() {
    if (accessCodeMatches(edit_->text())) {
        QDialog::accept();
    } else {
        reject();
    }
}

bool CPasswordDlg::ask(bool chinese, QWidget* parent) {
    CPasswordDlg dlg(chinese, parent);
    return dlg.exec() == QDialog::Accepted;
}

}  // namespace cps
