#include "WindowKeys.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <utility>

namespace {
// The title change is put back and not passed on, so that the channel window does not
// append again.
class TitleKeeper : public QObject {
  public:
    TitleKeeper(QWidget* window, const QString& title) : QObject(window), title_(title) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::WindowTitleChange || watched != parent())
            return QObject::eventFilter(watched, event);
        auto* w = static_cast<QWidget*>(watched);
        if (w->windowTitle() != title_) w->setWindowTitle(title_);
        return true;
    }

  private:
    QString title_;
};
}  // namespace

namespace windowkeys {

void addPaneKeys(QMainWindow& window, std::function<QList<QWidget*>()> panes,
                 std::function<QWidget*()> last) {
    auto cycle = [panes = std::move(panes), last = std::move(last)](int step) {
        const QList<QWidget*> shown = panes();
        if (shown.isEmpty()) return;
        QWidget* focus = QApplication::focusWidget();
        QWidget* view = last();
        int at = -1;
        for (int i = 0; i < shown.size(); ++i)
            if (focus && (focus == shown[i] || shown[i]->isAncestorOf(focus) ||
                          (i == shown.size() - 1 && view && view->isAncestorOf(focus))))
                at = i;
        const int next = ((at < 0 ? (step > 0 ? -1 : 0) : at) + step + shown.size()) % shown.size();
        shown[next]->setFocus(Qt::ShortcutFocusReason);
    };
    const std::pair<QKeySequence, int> keys[] = {{QKeySequence(Qt::Key_F6), 1},
                                                 {QKeySequence(Qt::SHIFT | Qt::Key_F6), -1}};
    for (const auto& [key, step] : keys) {
        auto* a = new QAction(&window);
        a->setShortcut(key);
        a->setObjectName(step > 0 ? QStringLiteral("nextPane") : QStringLiteral("previousPane"));
        window.addAction(a);
        QObject::connect(a, &QAction::triggered, &window, [cycle, step = step] { cycle(step); });
    }
}

QObject* keepTitle(QMainWindow& window, const QString& title, QObject* keeper) {
    if (!keeper) keeper = new TitleKeeper(&window, title);
    window.removeEventFilter(keeper);
    window.installEventFilter(keeper);
    return keeper;
}

}  // namespace windowkeys
