#include "ProcessDlg.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "HelpContext.h"
#include "RadioLink.h"

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
    status_->setObjectName(QStringLiteral("status1062"));
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
    // when the transfer begins. The window follows its layout rather than a size fixed
    // before it is shown, so that the font it is shown with counts.
    const QFontMetrics fm = status_->fontMetrics();
    int widest = fm.horizontalAdvance(QStringLiteral("256"));
    for (const QString& t : {text("Not start yet", "尚未开始"), linktext::waiting(chinese),
                             linktext::verifying(chinese)})
        widest = qMax(widest, fm.horizontalAdvance(t));
    // A fixed width counts in the layout's size (an ignored size policy would not, and the
    // window came out narrower than the status, which then covered Start).
    status_->setFixedWidth(widest + fm.averageCharWidth());
    grid->setSizeConstraint(QLayout::SetFixedSize);
    // Enter and Space must never reach Cancel by accident while a transfer runs.
    for (QWidget* w : {static_cast<QWidget*>(start_), static_cast<QWidget*>(cancel_)})
        w->installEventFilter(this);
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

bool CProcessDlg::swallowsKey(const QEvent* event) const {
    if (!running_ || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

bool CProcessDlg::eventFilter(QObject* watched, QEvent* event) {
    // Only a click on Cancel or Escape stops a running transfer.
    if (swallowsKey(event)) return true;
    return QDialog::eventFilter(watched, event);
}

void CProcessDlg::keyPressEvent(QKeyEvent* event) {
    if (swallowsKey(event)) return;
    QDialog::keyPressEvent(event);
}

}  // namespace cps
