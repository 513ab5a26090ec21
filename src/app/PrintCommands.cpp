#include "PrintCommands.h"

#include <QPrinter>

#include "CChildFrame.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "Workspace.h"

PrintCommands::PrintCommands(Workspace& workspace, Prompter& prompter, bool chinese, QString owner,
                             QString caption)
    : workspace_(workspace),
      prompter_(prompter),
      chinese_(chinese),
      owner_(std::move(owner)),
      caption_(std::move(caption)) {}

PrintCommands::~PrintCommands() = default;

QPrinter& PrintCommands::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

std::unique_ptr<cps::ReportPrinting> PrintCommands::reportPrinting() {
    CChildFrame* frame = workspace_.activeFrame();
    if (!frame) return nullptr;
    // The channel pages print the grid as it stands, edits not yet stored included.
    const cps::print::Source source{&frame->document()->image(), &frame->view()->table(), chinese_,
                                    owner_};
    return std::make_unique<cps::ReportPrinting>(source, printer(), prompter_, caption_,
                                                 workspace_.dialogParent());
}

void PrintCommands::print(cps::ReportPrinting::Mode mode) {
    if (auto p = reportPrinting()) p->print(mode);
}

void PrintCommands::exportPdf() {
    if (auto p = reportPrinting()) p->exportPdf();
}

void PrintCommands::pageSetup() {
    cps::ReportPrinting::pageSetup(printer(), workspace_.dialogParent());
}
