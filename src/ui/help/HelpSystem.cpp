#include "HelpSystem.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QResource>
#include <QVector>
#include <QWidget>

#include "CHelpWindow.h"

namespace {

// The windows around the focus that carry an id, nearest first.
QVector<int> focusHosts() {
    QVector<int> hosts;
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QVariant id = w->property("cpsId");
        if (id.isValid()) hosts.append(id.toInt());
    }
    if (hosts.isEmpty()) {
        if (const QWidget* modal = QApplication::activeModalWidget()) {
            const QVariant id = modal->property("cpsId");
            if (id.isValid()) hosts.append(id.toInt());
        }
    }
    return hosts;
}

}  // namespace

HelpSystem::HelpSystem(const QString& helpFilePath, bool chinese, QWidget* mainWindow)
    : path_(helpFilePath), chinese_(chinese), main_(mainWindow) {}

HelpSystem::~HelpSystem() {
    delete window_.data();
    if (state_ == State::Loaded) QResource::unregisterResource(path_, root());
}

QString HelpSystem::root() { return QStringLiteral("/cpshelp"); }

bool HelpSystem::available() {
    if (state_ == State::Untried) {
        ++attempts_;
        state_ = State::Failed;
        if (QResource::registerResource(path_, root())) {
            QFile file(QLatin1Char(':') + root() + QStringLiteral("/contexts.map"));
            if (file.open(QIODevice::ReadOnly) && map_.parse(QString::fromUtf8(file.readAll()))) {
                state_ = State::Loaded;
            } else {
                QResource::unregisterResource(path_, root());
            }
        }
    }
    return state_ == State::Loaded;
}

void HelpSystem::showContext(int context) {
    if (!available()) return;
    present(map_.resolve(context, focusHosts()));
}

void HelpSystem::showContents() {
    if (!available()) return;
    present(cps::HelpMap::contentsPage());
}

void HelpSystem::present(const QString& topic) {
    // A modal dialog blocks every window that is not its own, so the viewer goes with it
    // while it is open and back to the main window when it closes.
    QWidget* host = QApplication::activeModalWidget();
    if (!host || host == window_) host = main_;
    if (!window_) window_ = new CHelpWindow(QLatin1Char(':') + root(), chinese_, host);
    if (window_->parentWidget() != host) {
        const QRect geometry = window_->geometry();
        window_->setParent(host, Qt::Window);
        window_->setGeometry(geometry);
    }
    if (host != main_ && host != host_) {
        if (host_) host_->removeEventFilter(this);
        host_ = host;
        host->installEventFilter(this);
    }
    window_->showTopic(topic);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

bool HelpSystem::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Hide && window_ &&
        window_->parentWidget() == host_) {
        const bool visible = window_->isVisible();
        const QRect geometry = window_->geometry();
        host_->removeEventFilter(this);
        host_ = nullptr;
        window_->setParent(main_, Qt::Window);
        window_->setGeometry(geometry);
        if (visible) window_->show();
    }
    return QObject::eventFilter(watched, event);
}
