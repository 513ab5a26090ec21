#pragma once

#include <QString>

#include "PrintPages.h"
#include "Report.h"

class Prompter;
class QPrinter;
class QWidget;

namespace cps {

// The print commands of the channel window: Print, direct print and Print Preview, File >
// Export PDF... and Print Setup. Every job starts with the PrintList dialog; a choice that
// gives no page is said so instead of starting an empty job.
class ReportPrinting {
  public:
    enum class Mode {
        Dialog,   // the standard print dialog, then the printer
        Direct,   // straight to the printer as set up
        Preview,  // the print preview window
    };

    // source: the document's image and the grid's working copy (both outlive this), the
    // language and the footer's owner line. caption: the message boxes' caption.
    ReportPrinting(const print::Source& source, QPrinter& printer, Prompter& prompter,
                   const QString& caption, QWidget* parent);

    // True when pages went to the printer (or the preview was shown).
    bool print(Mode mode);
    // True when the PDF file was written.
    bool exportPdf();
    // The page set-up dialog on the shared printer.
    static bool pageSetup(QPrinter& printer, QWidget* parent);

    // The job of the last PrintList OK.
    const print::Job& job() const { return job_; }

  private:
    bool prepare();
    bool paint(int from, int to);
    void tell(const char* english, const char* chinese) const;

    print::Source source_;
    QPrinter& printer_;
    Prompter& prompter_;
    QString caption_;
    QWidget* parent_;
    print::Job job_;
};

}  // namespace cps
