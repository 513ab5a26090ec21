#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTest>
#include <QTimer>

namespace cps::test {

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    return QTest::qWaitFor(done, timeoutMs);
}

bool processPending(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    // Two rounds: what the first round's events queued runs in the second.
    for (int round = 0; round < 2; ++round) {
        bool reached = false;
        QTimer::singleShot(0, qApp, [&reached] { reached = true; });
        while (!reached) {
            if (deadline.hasExpired()) return false;
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

ShowWatch::ShowWatch(std::function<bool(QWidget*)> matches) : matches_(std::move(matches)) {
    qApp->installEventFilter(this);
}

ShowWatch::~ShowWatch() { qApp->removeEventFilter(this); }

bool ShowWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && matches_(w) && !seen_.contains(w)) {
            seen_.append(w);
            // Closed once it has finished showing; a modal dialog's own loop ends with it.
            QTimer::singleShot(0, w, [w] {
                if (auto* d = qobject_cast<QDialog*>(w))
                    d->reject();
                else
                    w->close();
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace cps::test
