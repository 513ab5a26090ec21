#pragma once

// Waiting in tests on what shows a result, never on the clock: a condition, the events
// already queued, a window that shows.

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace cps::test {

// Runs the event loop until done() holds or timeoutMs pass; true when it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Runs every event already queued, and what those queue in turn (zero-delay timers
// included), until nothing is left. After a user's action everything it set going has then
// run, so that "nothing happened" is a fact and not a guess. Timers with a delay are not
// waited for. False when the queue did not run dry within timeoutMs.
bool processPending(int timeoutMs = 5000);

// Set up before the user's action that opens a modal dialog: once a visible one of type D
// is the active modal widget, it is brought to the front (keys then go to its focused
// widget, as a user's would) and act runs with it. Deleting the timer withdraws the request.
template <class D = QWidget, class Act>
QPointer<QTimer> onModal(Act act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        // A menu that closed as the dialog opened may take the activation back: ask again
        // until the dialog keeps it.
        QVERIFY(QTest::qWaitFor([d] {
            if (QApplication::activeWindow() != d) d->activateWindow();
            return QApplication::activeWindow() == d;
        }));
        act(d);
    });
    timer->start(5);
    return timer;
}

// True when any widget of type T exists that is visible.
template <class T>
bool anyVisible() {
    for (QWidget* w : QApplication::allWidgets())
        if (qobject_cast<T*>(w) && w->isVisible()) return true;
    return false;
}

// While alive, keeps every window that shows and matches, and closes it at once (a dialog
// is rejected), so that a window that should not have come up is counted instead of
// holding the test in its event loop.
class ShowWatch : public QObject {
  public:
    explicit ShowWatch(std::function<bool(QWidget*)> matches);
    ~ShowWatch() override;
    template <class T>
    static bool isA(QWidget* w) {
        return qobject_cast<T*>(w) != nullptr;
    }
    const QList<QPointer<QWidget>>& seen() const { return seen_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool(QWidget*)> matches_;
    QList<QPointer<QWidget>> seen_;
};

}  // namespace cps::test
