#pragma once

#include <QColor>
#include <QLabel>

// A text label whose background and text colours can be changed while it is shown.
class CColorLabel : public QLabel {
    Q_OBJECT
  public:
    explicit CColorLabel(QWidget* parent = nullptr);
    void setBackgroundColor(const QColor& color);
    void setTextColor(const QColor& color);
    QColor backgroundColor() const { return background_; }
    QColor textColor() const { return text_; }

  private:
    void apply();
    QColor background_;
    QColor text_ = Qt::black;
};
