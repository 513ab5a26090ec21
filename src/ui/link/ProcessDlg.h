#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace cps {

// Dialog 146, "Process": Start, Cancel, the progress bar and the status text of a radio
// transfer. Cancel before Start closes it; during a transfer it only raises the cancel flag,
// which the transfer sees at its next pump step. While it runs, Enter and Space do nothing.
class CProcessDlg : public QDialog {
    Q_OBJECT
  public:
    CProcessDlg(const QString& caption, bool chinese, QWidget* parent);

    bool cancelRequested() const { return cancelled_; }
    void setStatus(const QString& text);
    void setProgressRange(int maximum);
    void setProgress(int position);
    // The transfer ended: the window goes away.
    void finish();

    QPushButton* startButton() const { return start_; }
    QPushButton* cancelButton() const { return cancel_; }

  signals:
    void startRequested();

  protected:
    void reject() override;  // Esc and the close box act as Cancel
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool swallowsKey(const QEvent* event) const;
    void onStart();
    void onCancel();

    QPushButton* start_;
    QPushButton* cancel_;
    QLabel* status_;
    QProgressBar* progress_;
    bool cancelled_ = false;
    bool running_ = false;
};

}  // namespace cps
