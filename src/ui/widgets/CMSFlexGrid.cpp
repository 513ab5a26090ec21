#include "CMSFlexGrid.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>

#include "ReadableColor.h"

CMSFlexGrid::CMSFlexGrid(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setStyleSheet(QStringLiteral("QTableWidget { gridline-color: rgb(192,192,192); }"));
    setFont(gridFont(9));
    corner_ = new QLabel(this);
    corner_->setAlignment(Qt::AlignCenter);
    corner_->setAttribute(Qt::WA_TransparentForMouseEvents);
    setRows(2);
    setCols(2);
    connect(this, &QTableWidget::currentCellChanged, this, &CMSFlexGrid::onCurrentChanged);
    auto onScroll = [this] {
        if (layingOut_) {
            emit cellsMoved();
        } else {
            emit scrolled();
        }
    };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, onScroll);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, onScroll);
}

QFont CMSFlexGrid::gridFont(double pointSize) {
    QFont f(QStringLiteral("Times New Roman"));
    // Where the face is missing the metric-compatible serif faces stand in, then any serif.
    f.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                   QStringLiteral("Tinos"), QStringLiteral("Nimbus Roman"),
                   QStringLiteral("DejaVu Serif")});
    f.setStyleHint(QFont::Serif);
    f.setWeight(QFont::Normal);
    f.setPointSizeF(pointSize);
    return f;
}

QFont CMSFlexGrid::courierFont(const QFont& like) {
    QFont f = like;
    f.setFamilies({QStringLiteral("Courier"), QStringLiteral("Courier New"),
                   QStringLiteral("Liberation Mono"), QStringLiteral("Nimbus Mono PS"),
                   QStringLiteral("DejaVu Sans Mono")});
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

bool CMSFlexGrid::moveTo(int row, int col) {
    row = qBound(1, row, qMax(1, rows() - 1));
    col = qBound(1, col, qMax(1, cols() - 1));
    if (row == row_ && col == col_) return false;
    setCurrentCell(row - 1, col - 1);
    return row_ == row && col_ == col;
}

int CMSFlexGrid::pageRows() const {
    const int h = QTableWidget::rowHeight(0);
    return h > 0 ? qMax(1, viewport()->height() / h) : 1;
}

int CMSFlexGrid::rowSelFirst() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) return row_;
    int first = ranges.first().topRow();
    for (const auto& r : ranges) first = qMin(first, r.topRow());
    return first + 1;
}

int CMSFlexGrid::rowSel() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) return row_;
    int last = ranges.first().bottomRow();
    for (const auto& r : ranges) last = qMax(last, r.bottomRow());
    return last + 1;
}

void CMSFlexGrid::setRows(int rows) {
    const int old = rowCount();
    setRowCount(qMax(0, rows - 1));
    for (int r = old; r < rowCount(); ++r) {
        auto* h = new QTableWidgetItem();
        h->setFont(font());
        setVerticalHeaderItem(r, h);
        for (int c = 0; c < columnCount(); ++c) ensureItem(r + 1, c + 1);
    }
}

void CMSFlexGrid::setCols(int cols) {
    const int old = columnCount();
    setColumnCount(qMax(0, cols - 1));
    alignments_.resize(cols);
    for (int c = old; c < columnCount(); ++c) {
        auto* h = new QTableWidgetItem();
        h->setForeground(shownForeColorFixed());
        h->setFont(font());
        setHorizontalHeaderItem(c, h);
        for (int r = 0; r < rowCount(); ++r) ensureItem(r + 1, c + 1);
    }
}

QTableWidgetItem* CMSFlexGrid::itemAt(int row, int col) const {
    if (row < 0 || col < 0 || row >= rows() || col >= cols()) return nullptr;
    if (row == 0 && col == 0) return nullptr;  // the corner has no text of its own
    if (row == 0) return horizontalHeaderItem(col - 1);
    if (col == 0) return verticalHeaderItem(row - 1);
    return item(row - 1, col - 1);
}

QTableWidgetItem* CMSFlexGrid::ensureItem(int row, int col) {
    QTableWidgetItem* it = itemAt(row, col);
    if (!it && row > 0 && col > 0) {
        it = new QTableWidgetItem();
        it->setTextAlignment(alignments_.value(col, Qt::AlignLeft | Qt::AlignVCenter));
        setItem(row - 1, col - 1, it);
    }
    return it;
}

void CMSFlexGrid::setRow(int row) { setCurrent(row, col_); }
void CMSFlexGrid::setCol(int col) { setCurrent(row_, col); }

void CMSFlexGrid::setCurrent(int row, int col) {
    row_ = qBound(1, row, qMax(1, rows() - 1));
    col_ = qBound(1, col, qMax(1, cols() - 1));
    // Setting the current cell from code sends no events, as with the original control.
    const QSignalBlocker block(this);
    setCurrentCell(row_ - 1, col_ - 1);
}

QString CMSFlexGrid::textMatrix(int row, int col) const {
    if (row == 0 && col == 0) return corner_->text();
    const QTableWidgetItem* it = itemAt(row, col);
    return it ? it->text() : QString();
}

void CMSFlexGrid::setTextMatrix(int row, int col, const QString& text) {
    if (row == 0 && col == 0) {
        corner_->setText(text);
        return;
    }
    if (QTableWidgetItem* it = ensureItem(row, col)) it->setText(text);
}

int CMSFlexGrid::colWidth(int col) const {
    if (col == 0) return verticalHeader()->width();
    return columnWidth(col - 1);
}

void CMSFlexGrid::setColWidth(int col, int width) {
    if (col == 0) {
        verticalHeader()->setMinimumWidth(width);
        verticalHeader()->setMaximumWidth(width);
    } else if (col < cols()) {
        setColumnWidth(col - 1, width);
    }
}

int CMSFlexGrid::rowHeight(int row) const {
    if (row == 0) return horizontalHeader()->height();
    return QTableWidget::rowHeight(row - 1);
}

void CMSFlexGrid::setColAlignment(int col, Qt::Alignment alignment) {
    if (col < 0 || col >= cols()) return;
    alignments_[col] = alignment;
    if (col == 0) return;
    if (QTableWidgetItem* h = horizontalHeaderItem(col - 1)) h->setTextAlignment(alignment);
    for (int r = 0; r < rowCount(); ++r)
        if (QTableWidgetItem* it = item(r, col - 1)) it->setTextAlignment(alignment);
}

void CMSFlexGrid::setForeColorFixed(const QColor& color) {
    foreFixed_ = color;
    applyForeColorFixed();
}

QColor CMSFlexGrid::shownForeColorFixed() const {
    // The fixed cells' colour was chosen for a light palette; on a dark one it is lightened
    // until the headings stay readable.
    // The headers take the grid's palette, which is up to date first when it changes.
    return cps::readableOn(foreFixed_, palette().color(QPalette::Button));
}

void CMSFlexGrid::applyForeColorFixed() {
    if (!corner_) return;  // a style set while the grid is being built
    const QColor color = shownForeColorFixed();
    QPalette p = corner_->palette();
    p.setColor(QPalette::WindowText, color);
    corner_->setPalette(p);
    for (int c = 0; c < columnCount(); ++c)
        if (QTableWidgetItem* h = horizontalHeaderItem(c)) h->setForeground(color);
    for (int r = 0; r < rowCount(); ++r)
        if (QTableWidgetItem* h = verticalHeaderItem(r)) h->setForeground(color);
}

void CMSFlexGrid::setCellFontName(const QString& family) {
    if (QTableWidgetItem* it = ensureItem(row_, col_)) {
        QFont f = font();
        if (family.compare(QLatin1String("Courier"), Qt::CaseInsensitive) == 0) {
            f = courierFont(f);
        } else {
            f.setFamily(family);
        }
        it->setFont(f);
    }
}

QString CMSFlexGrid::cellFontName() const {
    const QTableWidgetItem* it = itemAt(row_, col_);
    return it ? it->font().family() : font().family();
}

void CMSFlexGrid::setHighLight(int mode) {
    highLight_ = mode;
    setSelectionMode(mode == 0 ? QAbstractItemView::NoSelection
                               : QAbstractItemView::SingleSelection);
}

QRect CMSFlexGrid::cellRect() const {
    const QTableWidgetItem* it = itemAt(row_, col_);
    return it && row_ > 0 && col_ > 0 ? visualItemRect(it) : QRect();
}

void CMSFlexGrid::placeOverCell(QLineEdit* editor) const {
    editor->setGeometry(cellRect());
    editor->show();
    editor->raise();
    editor->setFocus();
    editor->selectAll();
}

void CMSFlexGrid::onCurrentChanged(int curRow, int curCol, int prevRow, int prevCol) {
    if (moving_ || curRow < 0 || curCol < 0) return;
    if (prevRow >= 0 && prevCol >= 0) {
        stay_ = false;
        moving_ = true;
        emit leaveCell();
        moving_ = false;
        if (stay_) {
            stay_ = false;
            const QSignalBlocker block(this);
            setCurrentCell(row_ - 1, col_ - 1);
            return;
        }
    }
    row_ = curRow + 1;
    col_ = curCol + 1;
    emit enterCell();
}

void CMSFlexGrid::updateGeometries() {
    // Scroll values the new sizes clamp are no user scroll.
    const bool nested = layingOut_;
    layingOut_ = true;
    QTableWidget::updateGeometries();
    layingOut_ = nested;
    if (!nested) emit cellsMoved();
    if (!corner_) return;  // called while the base class is still being set up
    const int f = frameWidth();
    corner_->setGeometry(f, f, verticalHeader()->width(), horizontalHeader()->height());
    corner_->setFont(horizontalHeader()->font());
    corner_->raise();
}

void CMSFlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The scroll that brings the new current cell into view follows the move; it is no
    // scroll of the user's, and must not hide an editor before the cell being left has
    // taken its text.
    const bool nested = layingOut_;
    layingOut_ = true;
    QTableWidget::currentChanged(current, previous);
    layingOut_ = nested;
}

void CMSFlexGrid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        applyForeColorFixed();
        return;
    }
    if (event->type() != QEvent::FontChange) return;
    // The headings carry the grid's font themselves: under a style sheet the header would
    // draw them in the style's own face.
    for (int c = 0; c < columnCount(); ++c)
        if (QTableWidgetItem* h = horizontalHeaderItem(c)) h->setFont(font());
    for (int r = 0; r < rowCount(); ++r)
        if (QTableWidgetItem* h = verticalHeaderItem(r)) h->setFont(font());
}

void CMSFlexGrid::paintEvent(QPaintEvent* event) {
    QTableWidget::paintEvent(event);
    // The area right of the last column and below the last row is grey, not the cells'
    // background, so the end of the table shows.
    const int lastCol = columnCount() - 1;
    const int lastRow = rowCount() - 1;
    if (lastCol < 0 || lastRow < 0) return;
    QPainter p(viewport());
    const int right = columnViewportPosition(lastCol) + columnWidth(lastCol);
    const int bottom = rowViewportPosition(lastRow) + QTableWidget::rowHeight(lastRow);
    const QRect area = viewport()->rect();
    if (right < area.right())
        p.fillRect(QRect(QPoint(right, area.top()), area.bottomRight()), beyondColor());
    if (bottom < area.bottom())
        p.fillRect(
            QRect(QPoint(area.left(), bottom), QPoint(qMin(right, area.right()), area.bottom())),
            beyondColor());
}

void CMSFlexGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (event->button() == Qt::RightButton && at.isValid() && selectionModel()->isSelected(at)) {
        // A right click inside the selection keeps it, for the commands of the menu.
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
    if (indexAt(event->position().toPoint()).isValid()) {
        const QPoint p = event->position().toPoint();
        emit mouseDown(event->button(), p.x(), p.y());
    }
}
