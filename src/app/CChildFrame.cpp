#include "CChildFrame.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QIcon>

#include "AppContext.h"
#include "CProgramDoc.h"
#include "CProgramView.h"

CChildFrame::CChildFrame(CProgramDoc* doc, Prompter* prompter, QWidget* parent)
    : QMdiSubWindow(parent), doc_(doc) {
    setObjectName(QStringLiteral("CChildFrame"));
    view_ = new CProgramView(doc->image(), prompter, this);
    setWidget(view_);
    setWindowTitle(cps::app().text("Channel Information", "信道信息"));
    const QString icon = cps::app().programDir + QStringLiteral("title.ico");
    if (QFileInfo::exists(icon)) setWindowIcon(QIcon(icon));
    resize(qRound(kWidth * view_->scale()), qRound(kHeight * view_->scale()));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}
