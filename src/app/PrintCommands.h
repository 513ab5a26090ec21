#pragma once

#include <QString>
#include <memory>

#include "ReportPrinting.h"

class Prompter;
class QPrinter;
class Workspace;

// File > Print, Print Preview, Print Direct, Export PDF on the active document, and Print
// Setup, which works without one. The printer is kept, so that Print Setup's choices hold.
class PrintCommands {
  public:
    // owner: [language] Copyrights Owner, on every page; caption: of the message boxes.
    PrintCommands(Workspace& workspace, Prompter& prompter, bool chinese, QString owner,
                  QString caption);
    ~PrintCommands();

    void print(cps::ReportPrinting::Mode mode);
    void exportPdf();
    void pageSetup();

  private:
    // Null without an active document.
    std::unique_ptr<cps::ReportPrinting> reportPrinting();
    QPrinter& printer();

    Workspace& workspace_;
    Prompter& prompter_;
    bool chinese_;
    QString owner_;
    QString caption_;
    std::unique_ptr<QPrinter> printer_;
};
