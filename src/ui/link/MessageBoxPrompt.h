#pragma once

#include <QPointer>

#include "ProcessDlg.h"
#include "RadioLink.h"

namespace cps {

// Answers the protocol with message boxes; progress, status and cancel go through the
// Process dialog when there is one (the service exchange has none).
class MessageBoxPrompt : public LinkPrompt {
  public:
    // appCaption: the application title, for the boxes the protocol gives no caption.
    MessageBoxPrompt(QWidget* parent, const QString& appCaption, CProcessDlg* process = nullptr)
        : parent_(parent), appCaption_(appCaption), process_(process) {}

    Answer message(const QString& text, const QString& caption, Buttons buttons) override;
    void setStatus(const QString& text) override;
    void setProgressRange(int maximum) override;
    void setProgress(int position) override;
    bool pump() override;

  private:
    QPointer<QWidget> parent_;
    QString appCaption_;
    QPointer<CProcessDlg> process_;
};

}  // namespace cps
