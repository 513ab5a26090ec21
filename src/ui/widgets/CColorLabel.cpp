#include "CColorLabel.h"

#include <QPalette>

CColorLabel::CColorLabel(QWidget* parent) : QLabel(parent) {
    background_ = palette().color(QPalette::Button);
    setAutoFillBackground(true);
    apply();
}

void CColorLabel::setBackgroundColor(const QColor& color) {
    background_ = color;
    apply();
}

void CColorLabel::setTextColor(const QColor& color) {
    text_ = color;
    apply();
}

void CColorLabel::apply() {
    QPalette p = palette();
    p.setColor(QPalette::Window, background_);
    p.setColor(QPalette::WindowText, text_);
    setPalette(p);
    repaint();
}
