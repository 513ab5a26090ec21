#include "StatusPanes.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <functional>
#include <utility>

#include "LockKeys.h"

namespace {
// Key presses and activation may change the lock keys; the panes follow.
class LockKeyWatcher : public QObject {
  public:
    LockKeyWatcher(std::function<void()> changed, QObject* parent)
        : QObject(parent), changed_(std::move(changed)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type t = event->type();
        if ((t == QEvent::KeyRelease && watched->isWidgetType()) ||
            t == QEvent::ApplicationActivate)
            changed_();
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> changed_;
};
}  // namespace

StatusPanes::StatusPanes(QMainWindow& window) : QObject(&window), window_(window) {
    QStatusBar* sb = window.statusBar();
    message_ = new QLabel(QCoreApplication::translate("CMainFrame", "Ready"), sb);
    message_->setObjectName(QStringLiteral("readyPane"));
    sb->addWidget(message_, 1);
    int i = 0;
    for (const char* pane : {"capsPane", "numPane", "scrollPane"}) {
        // Empty until the platform tells the lock's state (updateLockPanes).
        auto* l = new QLabel(sb);
        l->setObjectName(QLatin1String(pane));
        lockPanes_[i++] = l;
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        sb->addPermanentWidget(l);
    }
}

void StatusPanes::watchPrompts(QWidget* menuOrToolbar) {
    menuOrToolbar->installEventFilter(this);
    if (qobject_cast<QToolBar*>(menuOrToolbar)) {
        // Once, with the toolbar: the lock keys are watched application-wide.
        qApp->installEventFilter(new LockKeyWatcher([this] { updateLockPanes(); }, this));
        updateLockPanes();
    }
}

bool StatusPanes::eventFilter(QObject* watched, QEvent* event) {
    // The pointer left a menu or the toolbar, or a menu closed: its prompt goes.
    if ((event->type() == QEvent::Leave || event->type() == QEvent::Hide) &&
        (qobject_cast<QMenu*>(watched) || qobject_cast<QToolBar*>(watched)))
        window_.statusBar()->clearMessage();
    return QObject::eventFilter(watched, event);
}

void StatusPanes::updateLockPanes() {
    const auto states = lockKeyStates();
    const char* texts[3] = {QT_TRANSLATE_NOOP("CMainFrame", "CAP"),
                            QT_TRANSLATE_NOOP("CMainFrame", "NUM"),
                            QT_TRANSLATE_NOOP("CMainFrame", "SCRL")};
    for (int i = 0; i < 3; ++i)
        lockPanes_[i]->setText(states && (*states)[i]
                                   ? QCoreApplication::translate("CMainFrame", texts[i])
                                   : QString());
}

void StatusPanes::transferStarted() {
    note_.clear();
    message_->setText(QCoreApplication::translate("CMainFrame", "Ready"));
}

void StatusPanes::transferNote(const QString& text) {
    note_ = text;
    message_->setText(text);
}

void StatusPanes::transferEnded(const QString& text) {
    const QString note = std::exchange(note_, QString());
    if (text.isEmpty()) return;
    message_->setText(note.isEmpty() ? text : text + QStringLiteral("  ") + note);
}
