#include "CPrintListDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "HelpContext.h"
#include "OkCancel.h"
#include "Pick.h"

namespace cps {

namespace {

// The check boxes' texts in the Chinese resources; the English ones are the sections'.
const char* const kChineseTexts[print::kSectionCount] = {"DTMF", "MSK", "可选功能", "两音",
                                                         "信道信息"};

}  // namespace

CPrintListDlg::CPrintListDlg(bool chinese, QWidget* parent) : QDialog(parent) {
    setControlId(this, kTemplateId);
    setWindowTitle(pick(chinese, "PrintList", "打印列表"));

    auto* boxes = new QVBoxLayout;
    for (int s = 0; s < print::kSectionCount; ++s) {
        auto* b = new QCheckBox(chinese ? QString::fromUtf8(kChineseTexts[s])
                                        : QString::fromUtf8(print::kSections[s].text),
                                this);
        setControlId(b, print::kSections[s].controlId);
        connect(b, &QCheckBox::clicked, this, [this, s](bool on) { selected_[s] = on; });
        boxes_[static_cast<size_t>(s)] = b;
        boxes->addWidget(b);
    }
    selectAll_ = new QPushButton(pick(chinese, "Select All", "全选"), this);
    setControlId(selectAll_, kSelectAllId);
    clearAll_ = new QPushButton(pick(chinese, "Clear All", "全清"), this);
    setControlId(clearAll_, kClearAllId);
    selectAll_->setAutoDefault(false);
    clearAll_->setAutoDefault(false);
    connect(selectAll_, &QPushButton::clicked, this, &CPrintListDlg::selectAll);
    connect(clearAll_, &QPushButton::clicked, this, &CPrintListDlg::clearAll);

    QDialogButtonBox* buttons = okCancelBox(this, chinese, OkCancelIds::Windows);

    auto* side = new QVBoxLayout;
    side->addWidget(selectAll_);
    side->addWidget(clearAll_);
    side->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(boxes, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    routeF1ToHelp(this, kTemplateId);
    reset();
}

void CPrintListDlg::reset() {
    const print::Choice defaults = print::defaultChoice();
    for (int s = 0; s < print::kSectionCount; ++s)
        boxes_[static_cast<size_t>(s)]->setChecked(defaults[s]);
    selected_ = {};
}

void CPrintListDlg::showEvent(QShowEvent* event) {
    reset();
    QDialog::showEvent(event);
}

void CPrintListDlg::setAll(bool on) {
    for (QCheckBox* b : boxes_) b->setChecked(on);
}

void CPrintListDlg::accept() {
    for (int s = 0; s < print::kSectionCount; ++s)
        selected_[s] = boxes_[static_cast<size_t>(s)]->isChecked();
    QDialog::accept();
}

bool CPrintListDlg::choose(print::Choice* choice) {
    if (exec() != QDialog::Accepted) return false;
    *choice = selected_;
    return true;
}

}  // namespace cps
