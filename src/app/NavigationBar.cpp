#include "NavigationBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QRubberBand>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

void NavigationBar::setEntries(const QList<Entry>& entries) {
    auto* root = new QTreeWidgetItem(tree_, QStringList(caption_));
    for (const Entry& e : entries)
        (new QTreeWidgetItem(root, QStringList(e.text)))->setData(0, Qt::UserRole, e.command);
    root->setExpanded(true);
    tree_->setCurrentItem(root);
    // Only a click acts: keyboard moves through the tree do nothing.
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const int command = item && item->parent() ? item->data(0, Qt::UserRole).toInt() : 0;
        // Back to the root, so that choosing the same entry again acts again.
        tree_->setCurrentItem(tree_->topLevelItem(0));
        if (command != 0) emit commandChosen(command);
    });
}

NavigationBar::NavigationBar(const QString& caption, QWidget* parent)
    : QDockWidget(parent), caption_(caption) {
    setObjectName(QStringLiteral("NavigationBar"));
    setWindowTitle(QStringLiteral("IE Control Bar"));
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setAllowedAreas(Qt::LeftDockWidgetArea);

    QFont captionFont(QStringLiteral("Time New Roman"));
    captionFont.setPixelSize(12);
    setFont(captionFont);

    // Caption band: the company text and the close button.
    auto* band = new QWidget(this);
    band->setObjectName(QStringLiteral("captionBand"));
    band->setFixedHeight(22);
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(8, 0, 4, 0);
    auto* label = new QLabel(caption_, band);
    label->setObjectName(QStringLiteral("caption"));
    label->setFont(captionFont);
    close_ = new QToolButton(band);
    close_->setObjectName(QStringLiteral("closeButton"));
    close_->setAutoRaise(true);
    close_->setIcon(QIcon(QStringLiteral(":/images/close.png")));
    close_->setIconSize(QSize(16, 16));
    close_->setFixedSize(18, 18);
    close_->setToolTip(tr("Close"));
    bandLayout->addWidget(label, 1);
    bandLayout->addWidget(close_);
    setTitleBarWidget(band);
    connect(close_, &QToolButton::clicked, this, &QDockWidget::hide);
    band->installEventFilter(this);
    label->installEventFilter(this);

    auto* body = new QWidget(this);
    auto* layout = new QHBoxLayout(body);
    layout->setContentsMargins(5, 4, 0, 8);
    layout->setSpacing(2);
    tree_ = new QTreeWidget(body);
    tree_->setObjectName(QStringLiteral("navigationTree"));
    tree_->setProperty("controlId", 1030);
    tree_->setHeaderHidden(true);
    tree_->setIndentation(12);
    tree_->setRootIsDecorated(true);
    tree_->setFrameShape(QFrame::Box);
    strip_ = new QWidget(body);
    strip_->setObjectName(QStringLiteral("resizeStrip"));
    strip_->setFixedWidth(kStripWidth);
    strip_->setCursor(Qt::SplitHCursor);
    strip_->installEventFilter(this);
    body->installEventFilter(this);
    layout->addWidget(tree_, 1);
    layout->addWidget(strip_);
    setWidget(body);

    tracker_ = new QRubberBand(QRubberBand::Line, parent);
    setBarWidth(kStartWidth);
}

void NavigationBar::setBarWidth(int width) {
    width_ = width;
    // A fixed width keeps the main window's own splitter from resizing the bar.
    setFixedWidth(width);
}

int NavigationBar::widthAfterDrag(int x, int clientWidth) {
    if (x <= 10) return 11;
    return qMin(x, clientWidth / 2);
}

int NavigationBar::trackingX(int x, int clientWidth) { return qMax(80, qMin(x, clientWidth / 2)); }

int NavigationBar::frameClientWidth() const {
    return parentWidget() ? parentWidget()->width() : width();
}

void NavigationBar::beginResize() { resizing_ = true; }

void NavigationBar::trackResize(int x) {
    if (!resizing_) return;
    const int tx = trackingX(x, frameClientWidth());
    QWidget* frame = parentWidget();
    if (!frame) return;
    const QPoint top = mapTo(frame, QPoint(tx, 0));
    tracker_->setGeometry(top.x(), top.y(), 2, qMax(1, height() - 43));
    tracker_->show();
    tracker_->raise();
}

void NavigationBar::endResize(int x) {
    tracker_->hide();
    if (!resizing_) return;
    resizing_ = false;
    setBarWidth(widthAfterDrag(x, frameClientWidth()));
}

bool NavigationBar::overClose(const QMouseEvent* m) const {
    return close_->isVisible() &&
           close_->rect().contains(close_->mapFromGlobal(m->globalPosition().toPoint()));
}

bool NavigationBar::eventFilter(QObject* watched, QEvent* event) {
    // A press on the bar outside the close button keeps the mouse for the bar; letting go
    // over the close button still closes it.
    if (watched != strip_ && event->type() == QEvent::MouseButtonRelease) {
        auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() == Qt::LeftButton && overClose(m)) {
            hide();
            return true;
        }
    }
    if (watched == strip_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                    strip_->grabMouse();
                    beginResize();
                    return true;
                }
                break;
            case QEvent::MouseMove: {
                auto* m = static_cast<QMouseEvent*>(event);
                trackResize(strip_->mapTo(this, m->position().toPoint()).x());
                return true;
            }
            case QEvent::MouseButtonRelease: {
                auto* m = static_cast<QMouseEvent*>(event);
                strip_->releaseMouse();
                endResize(strip_->mapTo(this, m->position().toPoint()).x());
                return true;
            }
            case QEvent::MouseButtonDblClick:
                return true;
            default:
                break;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}
