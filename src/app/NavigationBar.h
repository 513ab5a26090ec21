#pragma once

#include <QDockWidget>

class QMouseEvent;
class QRubberBand;
class QToolButton;
class QTreeWidget;

// The navigation bar on the left of the main window: a caption band with a close button
// over the navigation tree, and a strip on its right edge that widens or narrows it. It
// cannot float or move; once closed, only the Control Bar command shows it again.
class NavigationBar : public QDockWidget {
    Q_OBJECT
  public:
    static constexpr int kStartWidth = 185;
    static constexpr int kStripWidth = 6;

    NavigationBar(const QString& caption, QWidget* parent);

    // The tree's entries under the caption and the commands they run (commandChosen).
    struct Entry {
        QString text;
        int command;
    };
    void setEntries(const QList<Entry>& entries);

    QTreeWidget* tree() const { return tree_; }
    QToolButton* closeButton() const { return close_; }
    QWidget* resizeStrip() const { return strip_; }
    QString caption() const { return caption_; }
    int barWidth() const { return width_; }
    void setBarWidth(int width);

    // Width after a drag released at x (bar coordinates) in a frame clientWidth wide.
    static int widthAfterDrag(int x, int clientWidth);
    // Where the tracking line is drawn while dragging.
    static int trackingX(int x, int clientWidth);

    // Resize handling, also driven by the strip's mouse events.
    void beginResize();
    void trackResize(int x);
    void endResize(int x);

  signals:
    // An entry was clicked: its command is to run.
    void commandChosen(int command);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int frameClientWidth() const;
    bool overClose(const QMouseEvent* m) const;

    QString caption_;
    QTreeWidget* tree_ = nullptr;
    QToolButton* close_ = nullptr;
    QWidget* strip_ = nullptr;
    QRubberBand* tracker_ = nullptr;
    int width_ = kStartWidth;
    bool resizing_ = false;
};
