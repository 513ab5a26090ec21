#include "SplashWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

SplashWindow* SplashWindow::showPicture(const QString& path) {
    QPixmap picture;
    if (!picture.load(path)) return nullptr;
    auto* splash = new SplashWindow(picture);
    splash->show();
    splash->repaint();
    return splash;
}

SplashWindow::SplashWindow(const QPixmap& picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(picture) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(picture_.size());
    setCursor(Qt::ArrowCursor);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SplashWindow::finish);
    timer_.start(kShowMs);
    qApp->installEventFilter(this);
}

SplashWindow::~SplashWindow() { qApp->removeEventFilter(this); }

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            finish();
            return true;  // the input that closes the splash goes nowhere else
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void SplashWindow::finish() {
    if (done_) return;
    done_ = true;
    timer_.stop();
    qApp->removeEventFilter(this);
    emit finished();
    close();
}
