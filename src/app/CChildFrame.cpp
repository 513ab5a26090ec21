#include "CChildFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include "CProgramDoc.h"
#include "CProgramView.h"
#include "PortNames.h"
#include "ProcessDlg.h"
#include "RadioLink.h"
#include "Session.h"
#include "Settings.h"

namespace {

// The keys of the document's undo and redo.
bool isUndoRedoKey(const QKeyEvent* key) {
    const auto mods =
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    return (mods == Qt::ControlModifier && (key->key() == Qt::Key_Z || key->key() == Qt::Key_Y)) ||
           (mods == Qt::AltModifier && key->key() == Qt::Key_Backspace);
}

}  // namespace

CChildFrame::CChildFrame(CProgramDoc* doc, const cps::Settings& settings, Session& session,
                         Prompter* prompter, QWidget* parent)
    : QMdiSubWindow(parent), doc_(doc), settings_(settings), session_(session) {
    setObjectName(QStringLiteral("CChildFrame"));
    // Every exchange opens the port by this name; the per-user value says which one.
    session_.setPortName(cps::portNameFor(cps::loadPortNumber(settings_.userStore())));
    settings_.prepareFill(doc->image(), session_.imageFromNew());
    view_ = new CProgramView(doc->image(), {settings_.chinese, session_.sqlWriting() != 0},
                             prompter, this);
    connect(view_, &CProgramView::sqlSwitchChanged, &session_, &Session::setSqlWriting);
    // The view set its switch while it was being built, before anyone listened: a saved
    // value such as 7 is 1 from then on, as the check box shows it.
    session_.setSqlWriting(view_->sqlWritingAllowed());
    setWidget(view_);
    // The grid's rows belong to the document's state, so undo can restore them.
    doc_->attachGrid([this] { return view_->table(); },
                     [this](const cps::ChannelTable& t) { view_->restoreTable(t); });
    connect(view_, &CProgramView::userEdited, doc_, &CProgramDoc::recordChange);
    connect(doc_, &CProgramDoc::modifiedChanged, this, &CChildFrame::updateCaption);
    connect(doc_, &CProgramDoc::busyChanged, view_, &CProgramView::setReadOnly);
    updateCaption();
    // The window's own Close would take Ctrl+W, which is Write's; Ctrl+F4 stays.
    if (QMenu* menu = systemMenu()) {
        for (QAction* a : menu->actions()) {
            if (a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
                a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
        }
    }
    // An editor with typing of its own undoes that first; otherwise the keys undo the
    // document's last step.
    for (QWidget* editor : {static_cast<QWidget*>(view_->frequencyEditor()),
                            static_cast<QWidget*>(view_->nameEditor()),
                            static_cast<QWidget*>(view_->toneList()->lineEdit())})
        if (editor) editor->installEventFilter(this);
    const QString icon = settings_.programDir + QStringLiteral("title.ico");
    if (QFileInfo::exists(icon)) setWindowIcon(QIcon(icon));
    resize(qRound(kWidth * view_->scale()), qRound(kHeight * view_->scale()));
}

void CChildFrame::updateCaption() {
    setWindowTitle(settings_.text("Channel Information", "信道信息") + QStringLiteral(" - ") +
                   doc_->displayName() + QStringLiteral("[*]"));
    setWindowModified(doc_->isModified());
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* line = qobject_cast<QLineEdit*>(watched);
        if (line && isUndoRedoKey(key)) {
            const bool redo = key->key() == Qt::Key_Y;
            // The frequency editor takes no control keys at all; the others undo their
            // own typing first.
            if (line == view_->frequencyEditor() ||
                !(redo ? line->isRedoAvailable() : line->isUndoAvailable())) {
                event->ignore();
                return true;
            }
        }
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

bool CChildFrame::transferWindowOpen() const { return cps::radioui::processWindowOpen(view_); }

bool CChildFrame::transferRunning() const { return doc_->isBusy(); }

QString CChildFrame::readStepName() const { return settings_.text("Read Data", "读数据"); }

// The one busy state: the document, its grid and every command that changes it or talks to
// the radio follow it.
void CChildFrame::transferStarted(bool) { doc_->setBusy(true); }

void CChildFrame::transferEnded(bool write, bool ok) {
    if (write) {
        // The grid was stored into the image before sending: no edit of the user's.
        doc_->absorbChange();
    } else if (!ok) {
        // The rows received before the failure are in the image: a change to keep or undo.
        doc_->recordChange(readStepName());
    }
    doc_->setBusy(false);
    emit transferFinished(write, ok);
}

void CChildFrame::fillGridFromImage() {
    settings_.prepareFill(doc_->image(), session_.imageFromNew());
    view_->fillGridFromImage();
}

void CChildFrame::read() { cps::radioui::read(*this); }
void CChildFrame::write() { cps::radioui::write(*this); }

void CChildFrame::comSetup() {
    if (const int n = cps::radioui::comSetup(view_, radioContext())) {
        session_.setPortName(cps::portNameFor(n));
        cps::UserStore store = settings_.userStore();
        cps::storePortNumber(store, n);
    }
}

QWidget* CChildFrame::hostWidget() { return view_; }
cps::RadioImage& CChildFrame::documentImage() { return doc_->image(); }

cps::RadioContext CChildFrame::radioContext() {
    cps::RadioContext c;
    c.chinese = settings_.chinese;
    c.caption = settings_.appName;
    c.portName = session_.portName();
    const QString appName = settings_.setupAppName();
    c.resolve = cps::portResolver(
        [appName](int n) { return cps::assignedDevice(cps::UserStore(appName), n); });
    c.verifyAfterWrite = cps::verifyAfterWriting(settings_.userStore());
    c.assigned = [appName](int n) { return cps::assignedDevice(cps::UserStore(appName), n); };
    c.assign = [appName](int n, const QString& device) {
        cps::UserStore store(appName);
        cps::assignDevice(store, n, device);
    };
    c.sendCalibration = cps::calibrationWritable(session_.sqlWriting(), session_.serviceUnlocked());
    c.setBusy = [this](bool busy) { doc_->setBusy(busy); };
    return c;
}

cps::Bands CChildFrame::bandsInUse() { return view_->bandsInUse(); }
void CChildFrame::commitPendingEdit() { view_->commitPendingEdit(); }
void CChildFrame::storeGridIntoImage() { view_->storeGridIntoImage(); }

void CChildFrame::imageReadFromRadio() {
    session_.setImageFromNew(false);
    fillGridFromImage();
    // One step, to undo; and a change: no file holds what the radio held.
    doc_->recordChange(readStepName());
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}
