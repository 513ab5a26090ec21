#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QMainWindow;
class QWidget;

// The status bar: the message pane and the keyboard's lock states (where the platform tells
// them); a command's prompt leaves it with the pointer. During a transfer it shows the
// transfer's own lines.
class StatusPanes : public QObject {
    Q_OBJECT
  public:
    explicit StatusPanes(QMainWindow& window);

    QLabel* message() const { return message_; }
    // The prompts of a menu or toolbar go when the pointer leaves it or it closes.
    void watchPrompts(QWidget* menuOrToolbar);

    // A transfer started: back to "Ready", no line of the last one.
    void transferStarted();
    // A line the running transfer reported (the verify result).
    void transferNote(const QString& text);
    // A transfer ended: when it completed, its line and the note it reported after it.
    void transferEnded(const QString& completedText);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void updateLockPanes();

    QMainWindow& window_;
    QLabel* message_ = nullptr;
    QLabel* lockPanes_[3] = {};
    QString note_;
};
