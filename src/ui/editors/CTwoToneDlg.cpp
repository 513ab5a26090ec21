#include "CTwoToneDlg.h"

#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "CTwoTonePages.h"
#include "HelpContext.h"
#include "Pick.h"
#include "TwoToneFields.h"

namespace cps {

// Decode sheet ----------------------------------------------------------------------------

CTwoToneDecodeSheet::CTwoToneDecodeSheet(RadioImage& image, bool chinese, QWidget* parent)
    : QWidget(parent) {
    setControlId(this, kTemplateId);
    tabs_ = new QTabWidget(this);
    setControlId(tabs_, 1075);
    tabs_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 56px; }"));
    tabs_->setUsesScrollButtons(false);
    for (int k = 1; k <= twotone::kDecodeEntries; ++k) {
        auto* page = new CTwoToneDecodePage(image, k, chinese, tabs_);
        pages_.push_back(page);
        tabs_->addTab(page, QStringLiteral("2-Tone%1").arg(k));
    }
    tabs_->setCurrentIndex(0);
    pages_[0]->showPage();
    connect(tabs_, &QTabWidget::currentChanged, this, &CTwoToneDecodeSheet::onTabChanged);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
}

void CTwoToneDecodeSheet::onTabChanged(int index) {
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
        if (i == index) {
            pages_[static_cast<size_t>(i)]->showPage();
        } else {
            pages_[static_cast<size_t>(i)]->hidePage();
        }
    }
}

void CTwoToneDecodeSheet::closePages() {
    for (CTwoToneDecodePage* p : pages_) p->hidePage();
}

// Dialog ----------------------------------------------------------------------------------

CTwoToneDlg::CTwoToneDlg(RadioImage& image, bool chinese, QWidget* parent)
    : QDialog(parent), image_(image), chinese_(chinese) {
    setWindowTitle(pick(chinese, "2-Tone", "两音"));
    tabs_ = new QTabWidget(this);
    setControlId(tabs_, 1074);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    connect(tabs_, &QTabWidget::currentChanged, this, &CTwoToneDlg::onTabChanged);
    routeF1ToHelp(this, kTemplateId);
}

CTwoToneDlg::~CTwoToneDlg() { closePages(); }

void CTwoToneDlg::buildPages() {
    closePages();
    const QSignalBlocker block(tabs_);
    encode_ = new CTwoToneEncodePage(image_, chinese_, tabs_);
    decode_ = new CTwoToneDecodeSheet(image_, chinese_, tabs_);
    tabs_->addTab(encode_, pick(chinese_, "Encode", "编码"));
    tabs_->addTab(decode_, pick(chinese_, "Decode", "解码"));
    tabs_->setCurrentIndex(0);
    encode_->showPage();
}

void CTwoToneDlg::onTabChanged(int index) {
    if (!encode_) return;
    if (index == 0) {
        encode_->showPage();
    } else {
        encode_->hidePage();
    }
}

void CTwoToneDlg::closePages() {
    if (!encode_) return;
    encode_->hidePage();
    decode_->closePages();
    const QSignalBlocker block(tabs_);
    tabs_->clear();
    // Later, as the close may come from inside one of them.
    encode_->deleteLater();
    decode_->deleteLater();
    encode_ = nullptr;
    decode_ = nullptr;
}

int CTwoToneDlg::exec() {
    buildPages();
    return QDialog::exec();
}

void CTwoToneDlg::done(int result) {
    closePages();
    QDialog::done(result);
}

}  // namespace cps
