#include "MdiBackground.h"

#include <QMdiSubWindow>

#include "CChildFrame.h"
#include "CProgramView.h"

CMdiBackground::CMdiBackground(const QString& programDir, QWidget* parent)
    : QMdiArea(parent), programDir_(programDir) {
    setObjectName(QStringLiteral("mdiClient"));
    reload();
}

void CMdiBackground::reload() {
    QPixmap picture;
    if (!picture.load(programDir_ + QStringLiteral("background.bmp")))
        picture.load(QStringLiteral(":/images/background.png"));
    tile_ = picture;
    // A texture brush repeats the picture from the area's top-left corner.
    setBackground(tile_.isNull() ? QBrush(Qt::darkGray) : QBrush(tile_));
}

void CMdiBackground::resizeEvent(QResizeEvent* event) {
    QMdiArea::resizeEvent(event);
    reload();
    viewport()->update();
    emit resized();
}

void CMdiBackground::fitChannelWindows() {
    // The channel window never grows beyond the client area it lives in.
    const QSize room = viewport()->size();
    if (room.width() < 100 || room.height() < 100) return;
    for (QMdiSubWindow* w : subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(w);
        if (!frame || frame->isMaximized() || frame->isMinimized()) continue;
        const double s = frame->view()->scale();
        // The size the window has, unless it still has the one this gave it last: then it
        // grows back towards its own size as the room allows.
        const QSize natural(qRound(CChildFrame::kWidth * s), qRound(CChildFrame::kHeight * s));
        const QSize lastFit = frame->property("fittedSize").toSize();
        const QSize wanted =
            (!lastFit.isValid() || frame->size() == lastFit) ? natural : frame->size();
        const QSize size = wanted.boundedTo(room);
        // Whole inside the area: the title bar and the grid's last row both in view.
        QPoint at = frame->pos();
        at.setX(qBound(0, at.x(), room.width() - size.width()));
        at.setY(qBound(0, at.y(), room.height() - size.height()));
        frame->setGeometry(QRect(at, size));
        frame->setProperty("fittedSize", size);
    }
}
