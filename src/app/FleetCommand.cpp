#include "FleetCommand.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include "AppContext.h"
#include "CChildFrame.h"
#include "CFleetDlg.h"
#include "CMainFrame.h"
#include "CProgramDoc.h"
#include "ExchangeCommands.h"

FleetCommand::FleetCommand(CMainFrame& frame, cps::AppContext& context, Prompter& prompter)
    : QObject(&frame), frame_(frame), context_(context), prompter_(prompter) {
    const char* text = QT_TRANSLATE_NOOP("CMainFrame", "Program Fleet...");
    const char* prompt = QT_TRANSLATE_NOOP(
        "CMainFrame", "Write the document to many radios, each with its own values\nProgram Fleet");
    const QStringList tips =
        QCoreApplication::translate("CMainFrame", prompt).split(QLatin1Char('\n'));
    auto* a = new QAction(QCoreApplication::translate("CMainFrame", text), &frame_);
    a->setData(cmd::ProgramFleet);
    a->setObjectName(QStringLiteral("cmd_%1").arg(cmd::ProgramFleet, 4, 16, QLatin1Char('0')));
    a->setStatusTip(tips.value(0));
    a->setToolTip(tips.value(1, tips.value(0)));
    frame_.addCommand(cmd::ProgramFleet, a);
    connect(a, &QAction::triggered, this, &FleetCommand::programFleet);
    // Program: after Write, the command it repeats for many radios.
    if (QMenu* program = frame.topMenu(2)) {
        const QList<QAction*> items = program->actions();
        const int at = static_cast<int>(items.indexOf(frame.action(cmd::Write)));
        program->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, a);
    }
}

CFleetDlg* FleetCommand::dialog() const { return dialog_; }

void FleetCommand::setDocumentBusy(CChildFrame* frame, bool busy) {
    if (frame) frame->setTransferRunning(busy);
}

void FleetCommand::programFleet() {
    CChildFrame* frame = frame_.activeFrame();
    if (!frame || frame->transferRunning() || dialog_) return;
    QPointer<CChildFrame> guard(frame);
    CFleetDlg::Host host;
    host.documentImage = [this, guard](cps::RadioImage* image) {
        return guard && guard == frame_.activeFrame() &&
               ExchangeCommands::documentWithGrid(frame_, image);
    };
    host.documentPath = [guard]() {
        CProgramDoc* doc = guard ? guard->document() : nullptr;
        return doc && doc->hasFile() ? doc->pathName() : QString();
    };
    host.setBusy = [guard](bool busy) { setDocumentBusy(guard, busy); };
    host.radio = frame->radioContext();
    host.serviceAccess = context_.serviceUnlocked;
    dialog_ = new CFleetDlg(std::move(host), prompter_, &frame_);
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    dialog_->open();
}
