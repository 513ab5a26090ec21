#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The start-up picture: borderless, centred, closed after a second or by the first key or
// mouse press anywhere in the program, which it swallows.
class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kShowMs = 1000;

    // Shows the picture at path; returns null when it cannot be loaded.
    static SplashWindow* showPicture(const QString& path);
    ~SplashWindow() override;

  signals:
    void finished();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit SplashWindow(const QPixmap& picture);
    void finish();

    QPixmap picture_;
    QTimer timer_;
    bool done_ = false;
};
