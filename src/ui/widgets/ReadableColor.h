#pragma once

#include <QColor>

namespace cps {

// Contrast of two colours as the accessibility guidelines measure it: 1 (none) to 21.
double contrastRatio(const QColor& a, const QColor& b);

// color itself where it stands out from background by at least minRatio; otherwise the
// same hue mixed towards white (on a dark background) or black (on a light one) just far
// enough that it does.
QColor readableOn(const QColor& color, const QColor& background, double minRatio = 4.5);

}  // namespace cps
