#pragma once

// Input as a person gives it. A click goes to the window at the point where the widget is
// seen, after checking that the widget really is what lies there: a button covered by
// another widget, hidden or off its window fails instead of being pressed from behind.
// Keys go to the widget that has the focus.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QString>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWidget>

namespace cps::test {

// Empty when a click at w's local point lands on w (or on a part of it); else what is
// in the way.
inline QString whyNotSeenAt(QWidget* w, const QPoint& local) {
    if (!w) return QStringLiteral("no widget");
    if (!w->isVisible()) return QStringLiteral("%1 is not visible").arg(w->objectName());
    if (!w->isEnabled()) return QStringLiteral("%1 is disabled").arg(w->objectName());
    if (!w->rect().contains(local))
        return QStringLiteral("the point is outside %1").arg(w->objectName());
    QWidget* hit = QApplication::widgetAt(w->mapToGlobal(local));
    if (hit == w || (hit && w->isAncestorOf(hit))) return {};
    auto describe = [](QWidget* x) {
        if (!x) return QStringLiteral("nothing");
        const QPoint at = x->mapToGlobal(QPoint(0, 0));
        return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6")
            .arg(QString::fromLatin1(x->metaObject()->className()), x->objectName())
            .arg(at.x())
            .arg(at.y())
            .arg(x->width())
            .arg(x->height());
    };
    return describe(hit) + QStringLiteral(" lies over ") + describe(w);
}

// Where a user clicks w: a check box or option button on its box (the widget may be wider
// than its text, and a click beside the text does nothing), anything else in its middle.
inline QPoint seenPoint(QWidget* w) {
    QStyleOptionButton option;
    option.initFrom(w);
    if (qobject_cast<QCheckBox*>(w))
        return w->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, w).center();
    if (qobject_cast<QRadioButton*>(w))
        return w->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, w).center();
    return w->rect().center();
}

// Clicks w where the user sees it: its centre unless a point is given. The events go to
// whatever widget lies at that point, as the pointer's would.
[[nodiscard]] inline QString clickSeen(QWidget* w, QPoint local = QPoint(-1, -1),
                                       Qt::MouseButton button = Qt::LeftButton,
                                       Qt::KeyboardModifiers mods = {}) {
    if (w && local == QPoint(-1, -1)) local = seenPoint(w);
    const QString why = whyNotSeenAt(w, local);
    if (!why.isEmpty()) return why;
    QWidget* hit = QApplication::widgetAt(w->mapToGlobal(local));
    QTest::mouseClick(hit, button, mods, hit->mapFromGlobal(w->mapToGlobal(local)));
    return {};
}

// Right-click where the user sees w: the press, the context menu request the platform
// makes of it, the release.
[[nodiscard]] inline QString rightClickSeen(QWidget* w, QPoint local) {
    const QString why = whyNotSeenAt(w, local);
    if (!why.isEmpty()) return why;
    const QPoint global = w->mapToGlobal(local);
    QWidget* hit = QApplication::widgetAt(global);
    const QPoint at = hit->mapFromGlobal(global);
    QTest::mousePress(hit, Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, global);
    QApplication::sendEvent(hit, &request);
    QTest::mouseRelease(hit, Qt::RightButton, {}, at);
    return {};
}

// The top menu of the menu bar that holds the action, opened by a click on its title, then
// the action's item clicked. Returns what went wrong, or nothing.
[[nodiscard]] inline QString chooseMenu(QMenuBar* bar, QAction* item) {
    for (QAction* top : bar->actions()) {
        QMenu* menu = top->menu();
        if (!menu || !menu->actions().contains(item)) continue;
        if (!top->isEnabled()) return QStringLiteral("the menu is disabled");
        if (!menu->isVisible()) {
            const QString why = clickSeen(bar, bar->actionGeometry(top).center());
            if (!why.isEmpty()) return why;
            if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000))
                return QStringLiteral("the menu did not open");
        }
        const QRect r = menu->actionGeometry(item);
        if (!item->isVisible() || r.isEmpty()) return QStringLiteral("no such item shown");
        // A disabled item takes the click and does nothing, as for the user; the menu then
        // stays open and is closed here.
        QTest::mouseClick(menu, Qt::LeftButton, {}, r.center());
        if (menu->isVisible()) menu->close();
        return {};
    }
    return QStringLiteral("no menu holds %1").arg(item ? item->text() : QStringLiteral("it"));
}

// The dialog's push button that reads text (mnemonic marks aside), or null.
inline QAbstractButton* buttonReading(QWidget* dialog, const QString& text) {
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
        if (b->isVisible() && QString(b->text()).remove(QLatin1Char('&')) == text) return b;
    return nullptr;
}

// A key as the user presses it: to the active window, which hands it to its focus widget
// (or takes it itself when none has the focus), shortcuts first, as the platform's would.
inline void pressKey(int key, Qt::KeyboardModifiers mods = {}) {
    QWidget* window = QApplication::activeWindow();
    if (!window && QApplication::focusWidget()) window = QApplication::focusWidget()->window();
    if (window && window->windowHandle())
        QTest::keyClick(window->windowHandle(), static_cast<Qt::Key>(key), mods);
}

// Text typed into the widget with the focus; false when the focus is elsewhere.
[[nodiscard]] inline bool typeInto(QWidget* expected, const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    if (!expected || (focus != expected && !expected->isAncestorOf(focus))) return false;
    QTest::keyClicks(focus, text);
    return true;
}

}  // namespace cps::test
