#include "MessageBoxPrompt.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace cps {

Answer MessageBoxPrompt::message(const QString& text, const QString& caption, Buttons buttons) {
    QMessageBox box(QMessageBox::Warning, caption.isEmpty() ? appCaption_ : caption, text,
                    QMessageBox::NoButton, process_ ? process_.data() : parent_.data());
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::RetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            return Answer::Cancel;
    }
}

void MessageBoxPrompt::setStatus(const QString& text) {
    if (process_) process_->setStatus(text);
}
void MessageBoxPrompt::setProgressRange(int maximum) {
    if (process_) process_->setProgressRange(maximum);
}
void MessageBoxPrompt::setProgress(int position) {
    if (process_) process_->setProgress(position);
}

bool MessageBoxPrompt::pump() {
    if (!process_) return false;
    QCoreApplication::processEvents();
    return !process_ || process_->cancelRequested();
}

}  // namespace cps
