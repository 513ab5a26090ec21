#pragma once

#include <QColor>
#include <QRect>
#include <QTableWidget>

class QLineEdit;

// The table control every grid of the program uses. Cells are (row, col) from 0 with row 0
// and column 0 fixed headings, which stay in view while the body scrolls: they are shown
// by the table's header sections. Widths and rectangles are in pixels.
//
// Events: leaveCell() is emitted while row()/col() still name the cell being left, then
// enterCell() with the new cell current; a leaveCell handler may call stay() to keep the
// current cell where it is. mouseDown() follows a press on the body, scrolled() any scroll.
class CMSFlexGrid : public QTableWidget {
    Q_OBJECT
  public:
    explicit CMSFlexGrid(QWidget* parent = nullptr);

    int rows() const { return rowCount() + 1; }
    int cols() const { return columnCount() + 1; }
    void setRows(int rows);
    void setCols(int cols);

    // Current cell.
    int row() const { return row_; }
    int col() const { return col_; }
    void setRow(int row);
    void setCol(int col);
    void setCurrent(int row, int col);
    QString text() const { return textMatrix(row_, col_); }
    void setText(const QString& text) { setTextMatrix(row_, col_, text); }

    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    int colWidth(int col) const;
    void setColWidth(int col, int width);
    int rowHeight(int row) const;
    void setColAlignment(int col, Qt::Alignment alignment);

    void setForeColorFixed(const QColor& color);
    QColor foreColorFixed() const { return foreFixed_; }
    // The colour the fixed cells are drawn in: foreColorFixed, made readable on the palette.
    QColor shownForeColorFixed() const;
    // Font family of the current cell.
    void setCellFontName(const QString& family);
    QString cellFontName() const;

    // 0: the current cell is never highlighted; 2: only while the grid has the focus.
    int highLight() const { return highLight_; }
    void setHighLight(int mode);

    // The current cell's rectangle in the coordinates of viewport().
    QRect cellRect() const;
    int cellLeft() const { return cellRect().left(); }
    int cellTop() const { return cellRect().top(); }
    int cellWidth() const { return cellRect().width(); }
    int cellHeight() const { return cellRect().height(); }
    // An in-place editor (a child of viewport()) laid over the current cell and shown on top,
    // focused, its text all selected; the caller gives it its text first.
    void placeOverCell(QLineEdit* editor) const;

    // Called from a leaveCell handler: the move is cancelled and enterCell is not sent.
    void stay() { stay_ = true; }
    // Moves the current cell as the user does: leaveCell, then enterCell unless stayed.
    // Returns whether the move happened.
    bool moveTo(int row, int col);
    // Body rows a page of the viewport holds (at least 1).
    int pageRows() const;

    // The rows of the selection, first and last (the current row when nothing is
    // selected); rowSel() is the last.
    int rowSelFirst() const;
    int rowSel() const;

    // The family every grid uses, with the serif faces that stand in where it is missing.
    static QFont gridFont(double pointSize);
    // The fixed-pitch face of name cells.
    static QFont courierFont(const QFont& like);
    // What lies beyond the last cell.
    static QColor beyondColor() { return QColor(128, 128, 128); }

  signals:
    void enterCell();
    void leaveCell();
    void mouseDown(Qt::MouseButton button, int x, int y);
    // A scroll the user made (scroll bar, wheel, keys); not one a resize forces.
    void scrolled();
    // The cells moved in the viewport without a user scroll (a resize, new headers):
    // anything laid over a cell must follow it.
    void cellsMoved();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    void applyForeColorFixed();
    void onCurrentChanged(int curRow, int curCol, int prevRow, int prevCol);
    QTableWidgetItem* itemAt(int row, int col) const;
    QTableWidgetItem* ensureItem(int row, int col);

    int row_ = 1;
    int col_ = 1;
    bool stay_ = false;
    bool moving_ = false;
    bool layingOut_ = false;
    int highLight_ = 2;
    QColor foreFixed_ = Qt::black;
    QVector<Qt::Alignment> alignments_;
    class QLabel* corner_ = nullptr;  // the fixed cell (0, 0), over the headers' corner
};
