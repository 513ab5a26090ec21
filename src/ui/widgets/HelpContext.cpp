#include "HelpContext.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

namespace cps {

namespace {

HelpFunction& helpFunction() {
    static HelpFunction function;
    return function;
}

// Consumes F1 inside one dialog and asks for help on what has the focus.
class F1Filter : public QObject {
  public:
    F1Filter(QWidget* dialog, int templateId) : QObject(dialog), dialog_(dialog), id_(templateId) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (widget != dialog_ && !dialog_->isAncestorOf(widget))) return false;
        if (event->type() == QEvent::KeyPress) {
            const int id = controlId(QApplication::focusWidget());
            showHelp(id != 0 && id != id_ && dialog_->isAncestorOf(QApplication::focusWidget())
                         ? id
                         : id_);
        }
        event->accept();
        return true;
    }

  private:
    QWidget* dialog_;
    int id_;
};

}  // namespace

void setControlId(QWidget* widget, int id) {
    widget->setObjectName(QString::number(id));
    widget->setProperty("cpsId", id);
}

int controlId(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property("cpsId");
        if (v.isValid()) return v.toInt();
    }
    return 0;
}

void setHelpFunction(HelpFunction function) { helpFunction() = std::move(function); }

void showHelp(int context) {
    if (helpFunction()) helpFunction()(context);
}

void routeF1ToHelp(QWidget* dialog, int templateId) {
    setControlId(dialog, templateId);
    auto* filter = new F1Filter(dialog, templateId);
    // Watching the application sees F1 whichever child has the focus.
    qApp->installEventFilter(filter);
}

}  // namespace cps
