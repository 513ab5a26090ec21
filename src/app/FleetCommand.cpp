#include "FleetCommand.h"

#include "CChildFrame.h"
#include "CFleetDlg.h"
#include "CProgramDoc.h"
#include "Session.h"
#include "Workspace.h"

FleetCommand::FleetCommand(Workspace& workspace, const Session& session, Prompter& prompter,
                           QObject* parent)
    : QObject(parent), workspace_(workspace), session_(session), prompter_(prompter) {}

CFleetDlg* FleetCommand::dialog() const { return dialog_; }

void FleetCommand::programFleet() {
    CChildFrame* frame = workspace_.activeFrame();
    if (!frame || frame->document()->isBusy() || dialog_) return;
    QPointer<CChildFrame> guard(frame);
    CFleetDlg::Host host;
    host.documentImage = [this, guard](cps::RadioImage* image) {
        return guard && guard == workspace_.activeFrame() && workspace_.documentWithGrid(image);
    };
    host.documentPath = [guard]() {
        CProgramDoc* doc = guard ? guard->document() : nullptr;
        return doc && doc->hasFile() ? doc->pathName() : QString();
    };
    // The fleet's writes hold the document as a transfer does.
    host.setBusy = [guard](bool busy) {
        if (guard) guard->document()->setBusy(busy);
    };
    host.radio = frame->radioContext();
    host.serviceAccess = session_.serviceUnlocked();
    dialog_ = new CFleetDlg(std::move(host), prompter_, workspace_.dialogParent());
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    dialog_->open();
}
