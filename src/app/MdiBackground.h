#pragma once

#include <QMdiArea>
#include <QPixmap>

// The client area: tiles "background.bmp" from the program's folder, or the built-in
// picture, from the top-left corner.
class CMdiBackground : public QMdiArea {
    Q_OBJECT
  public:
    explicit CMdiBackground(const QString& programDir, QWidget* parent = nullptr);
    QPixmap tile() const { return tile_; }
    // Keeps the channel windows inside the area (after the main window got its size).
    void fitChannelWindows();

  signals:
    void resized();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void reload();
    QString programDir_;
    QPixmap tile_;
};
