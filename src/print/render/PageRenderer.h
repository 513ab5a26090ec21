#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "Report.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace cps::print {

// Draws report pages on one paint device: sets up the two fonts at the device's resolution,
// measures their line heights and maps the display lists' twips onto the device's pixels.
// The printable area is the device's whole paint area (printers start it at the
// hardware margins).
class PageRenderer {
  public:
    explicit PageRenderer(const QPaintDevice& device);

    const Metrics& metrics() const { return metrics_; }
    QFont font(Font which) const { return which == Font::Title ? title_ : body_; }
    void draw(QPainter& painter, const Page& page) const;

    // Pixels of a twips position; y is negative downwards in twips.
    QPointF toDevice(int x, int y) const;

  private:
    QFont makeFont(int heightTwips, int widthTwips) const;

    const QPaintDevice& device_;
    double dpiX_;
    double dpiY_;
    QFont title_;
    QFont body_;
    Metrics metrics_;
};

// Paints pages from..to (1-based, inclusive) of the job on a printer or a PDF writer whose
// painter is active, a new sheet before every page but the first.
void paintJob(QPagedPaintDevice& device, QPainter& painter, const Job& job, const Source& source,
              int from, int to);

// Draws every page of the job into pdf (A4). False, with the reason, when the job has no
// page.
bool renderPdf(QByteArray* pdf, const Job& job, const Source& source, QString* error);
// Writes every page of the job to a PDF file (A4). False, with the reason, when the file
// cannot be written or the job has no page.
bool writePdf(const QString& path, const Job& job, const Source& source, QString* error);

}  // namespace cps::print
