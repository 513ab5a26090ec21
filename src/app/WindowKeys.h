#pragma once

#include <QList>
#include <functional>

class QMainWindow;
class QObject;
class QString;
class QWidget;

namespace windowkeys {
// F6 and Shift+F6: the focus to the next or previous of the panes shown (the navigation
// tree, then the channel window's grid). panes: those visible now, in order; last: the
// channel view, whose focus counts for the last pane.
void addPaneKeys(QMainWindow& window, std::function<QList<QWidget*>()> panes,
                 std::function<QWidget*()> last);

// Keeps the main window's title: a maximised channel window appends its caption to it.
// Call again whenever a channel window changes state, so that it stays the first filter
// asked. keeper: null the first time, then what it returned.
QObject* keepTitle(QMainWindow& window, const QString& title, QObject* keeper);
}  // namespace windowkeys
