#include "CChildFrame.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QIcon>

#include "AppContext.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "PortNames.h"
#include "RadioLink.h"

CChildFrame::CChildFrame(CProgramDoc* doc, cps::AppContext& context, Prompter* prompter,
                         QWidget* parent)
    : QMdiSubWindow(parent), doc_(doc), context_(context) {
    setObjectName(QStringLiteral("CChildFrame"));
    // Every exchange opens the port by this name; the per-user value says which one.
    context_.portName = cps::portNameFor(cps::loadPortNumber(context_.userStore()));
    context_.prepareFill(doc->image());
    view_ = new CProgramView(doc->image(), {context_.chinese, context_.sqlWritingAllowed != 0},
                             prompter, this);
    connect(view_, &CProgramView::sqlSwitchChanged, this,
            [this](int allowed) { context_.sqlWritingAllowed = allowed; });
    setWidget(view_);
    setWindowTitle(context_.text("Channel Information", "信道信息"));
    const QString icon = context_.programDir + QStringLiteral("title.ico");
    if (QFileInfo::exists(icon)) setWindowIcon(QIcon(icon));
    resize(qRound(kWidth * view_->scale()), qRound(kHeight * view_->scale()));
}

void CChildFrame::fillGridFromImage() {
    context_.prepareFill(doc_->image());
    view_->fillGridFromImage();
}

void CChildFrame::read() { cps::radioui::read(*this); }
void CChildFrame::write() { cps::radioui::write(*this); }

void CChildFrame::comSetup() {
    if (const int n = cps::radioui::comSetup(view_, radioContext())) {
        context_.portName = cps::portNameFor(n);
        cps::UserStore store = context_.userStore();
        cps::storePortNumber(store, n);
    }
}

QWidget* CChildFrame::hostWidget() { return view_; }
cps::RadioImage& CChildFrame::documentImage() { return doc_->image(); }

cps::RadioContext CChildFrame::radioContext() {
    cps::RadioContext c;
    c.chinese = context_.chinese;
    c.caption = context_.appName;
    c.portName = context_.portName;
    const QString appName = context_.setupAppName();
    c.resolve = cps::portResolver(
        [appName](int n) { return cps::assignedDevice(cps::UserStore(appName), n); });
    c.verifyAfterWrite = cps::verifyAfterWriting(context_.userStore());
    c.assigned = [appName](int n) { return cps::assignedDevice(cps::UserStore(appName), n); };
    c.assign = [appName](int n, const QString& device) {
        cps::UserStore store(appName);
        cps::assignDevice(store, n, device);
    };
    c.sendCalibration =
        cps::calibrationWritable(context_.sqlWritingAllowed, context_.serviceUnlocked);
    return c;
}

cps::Bands CChildFrame::bandsInUse() { return view_->bandsInUse(); }
void CChildFrame::commitPendingEdit() { view_->commitPendingEdit(); }
void CChildFrame::storeGridIntoImage() { view_->storeGridIntoImage(); }

void CChildFrame::imageReadFromRadio() {
    context_.newImage = false;
    fillGridFromImage();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}
