#include "ProcessDlg.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "HelpContext.h"

namespace cps {

CProcessDlg::CProcessDlg(const QString& caption, bool chinese, QWidget* parent) : QDialog(parent) {
    auto text = [chinese](const char* english, const char* chineseText) {
        return QString::fromUtf8(chinese ? chineseText : english);
    };
    routeF1ToHelp(this, 146);
    setObjectName(QStringLiteral("Process146"));
    setWindowTitle(caption);
    setModal(false);
    start_ = new QPushButton(text("Start", "开始"), this);
    start_->setDefault(true);
    cancel_ = new QPushButton(text("Cancel", "取消"), this);
    status_ = new QLabel(text("Not start yet", "尚未开始"), this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 191);
    progress_->setValue(0);
    // The share done, as a percentage.
    progress_->setTextVisible(true);
    progress_->setFormat(QStringLiteral("%p%"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(text("Progress：", "进度："), this), 0, 0);
    grid->addWidget(status_, 0, 1);
    grid->addWidget(progress_, 1, 0, 1, 2);
    grid->addWidget(start_, 0, 2);
    grid->addWidget(cancel_, 1, 2);
    // Room for the longest status text from the start, so that the window keeps its size
    // when the transfer begins.
    const QFontMetrics fm = status_->fontMetrics();
    int widest = 0;
    for (const char* t : {"Not start yet", "尚未开始", "Waiting the response from radio....",
                          "请等待对机讲响应....", "256"})
        widest = qMax(widest, fm.horizontalAdvance(QString::fromUtf8(t)));
    status_->setMinimumWidth(widest + fm.averageCharWidth());
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setFixedSize(sizeHint());
    connect(start_, &QPushButton::clicked, this, &CProcessDlg::onStart);
    connect(cancel_, &QPushButton::clicked, this, &CProcessDlg::onCancel);
}

void CProcessDlg::setStatus(const QString& text) { status_->setText(text); }
void CProcessDlg::setProgressRange(int maximum) { progress_->setRange(0, maximum); }
void CProcessDlg::setProgress(int position) { progress_->setValue(position); }

void CProcessDlg::finish() {
    running_ = false;
    hide();
    deleteLater();
}

void CProcessDlg::onStart() {
    if (running_) return;
    start_->setEnabled(false);
    running_ = true;
    cancelled_ = false;
    emit startRequested();
}

void CProcessDlg::onCancel() {
    cancelled_ = true;
    // While a transfer runs it still uses this window; it ends at its next pump step.
    if (!running_) finish();
}

void CProcessDlg::reject() { onCancel(); }

}  // namespace cps
