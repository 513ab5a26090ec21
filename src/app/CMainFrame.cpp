#include "CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include "CAboutDlg.h"
#include "CChildFrame.h"
#include "CLanguageDlg.h"
#include "CMSFlexGrid.h"
#include "CPasswordDlg.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CommandRegistry.h"
#include "EditorLaunchers.h"
#include "ExchangeCommands.h"
#include "FleetCommand.h"
#include "HelpContext.h"
#include "HelpSystem.h"
#include "LanguageSwitch.h"
#include "NavigationBar.h"
#include "PrintCommands.h"
#include "Prompter.h"
#include "RecentFiles.h"
#include "Session.h"
#include "Settings.h"
#include "StatusPanes.h"
#include "WindowKeys.h"

// ---------------------------------------------------------------------------------------
// Frame

CMainFrame::CMainFrame(const cps::Settings& settings, cps::LanguageStore& languages,
                       Prompter* prompter, QWidget* parent)
    : QMainWindow(parent),
      settings_(settings),
      languages_(languages),
      prompter_(prompter ? prompter : &Prompter::standard()) {
    setObjectName(QStringLiteral("CMainFrame"));
    const cps::Settings& ctx = settings_;
    title_ = ctx.profile().get(ctx.languageName, QStringLiteral("Title"));
    setWindowTitle(title_);
    session_ = new Session(ctx.sqlWritingAllowed, this);
    exchange_ = new ExchangeCommands(*this, settings_, *prompter_, this);
    fleet_ = new FleetCommand(*this, *session_, *prompter_, this);
    print_ = std::make_unique<PrintCommands>(
        *this, *prompter_, ctx.chinese,
        ctx.profile().get(ctx.languageName, QStringLiteral("Copyrights Owner")), caption());
    commands_ = new CommandRegistry(*this, ctx.chinese, [this] { return session_->busy(); });
    commands_->build(commandTable());
    recent_ = std::make_unique<RecentFiles>([this] { return settings_.userStore(); }, *commands_);
    panes_ = new StatusPanes(*this);
    createNavigation();
    mdi_ = new CMdiBackground(ctx.programDir, this);
    setCentralWidget(mdi_);
    createHelp();
    updateCommands();
    windowkeys::addPaneKeys(
        *this,
        [this] {
            QList<QWidget*> panes;
            if (nav_ && nav_->isVisible()) panes << nav_->tree();
            if (CProgramView* v = activeView(); v && v->isVisible()) panes << v->grid();
            return panes;
        },
        [this]() -> QWidget* { return activeView(); });
    panes_->watchPrompts(commands_->toolBar());
    setAcceptDrops(true);
    // After every size change, also the one the window manager makes when it places the
    // window, the channel window fits again.
    connect(mdi_, &CMdiBackground::resized, this, &CMainFrame::fitChannelWindows);
    resize(1024, 740);
    editors_ = std::make_unique<EditorLaunchers>(
        *this, ctx.chinese,
        EditorLaunchers::standard([this] { session_->setImageFromNew(false); }));
}

CMainFrame::~CMainFrame() {
    cps::setHelpFunction(nullptr);
    // Its filters must not see the menus hidden while the base class tears the window down.
    delete panes_;
    panes_ = nullptr;
    // Hiding the bar while the base class tears the window down must not call back here.
    disconnect(nav_, nullptr, this, nullptr);
    // The frames hold views over the documents' images: they go first.
    for (QMdiSubWindow* w : mdi_->subWindowList()) delete w;
    editors_.reset();
}

QAction* CMainFrame::action(int id) const { return commands_->action(id); }
QMenu* CMainFrame::menu(cmd::Menu menu) const { return commands_->menu(menu); }
QLabel* CMainFrame::statusMessage() const { return panes_->message(); }
QDialog* CMainFrame::editorDialog(int command) const { return editors_->dialog(command); }
QString CMainFrame::caption() const { return settings_.appName; }
QStringList CMainFrame::recentFiles() const { return recent_->files(); }
QString CMainFrame::dataFolder() const { return recent_->dataFolder(); }

CProgramView* CMainFrame::activeView() const { return current_ ? current_->view() : nullptr; }
CProgramDoc* CMainFrame::activeDocument() const {
    return current_ ? current_->document() : nullptr;
}

void CMainFrame::onView(void (CProgramView::*run)()) {
    if (CProgramView* view = activeView()) (view->*run)();
}

bool CMainFrame::menuBarHas(int id) const {
    for (QAction* top : menuBar()->actions()) {
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions())
            if (!a->isSeparator() && a->data().toInt() == id) return true;
    }
    return false;
}

void CMainFrame::trimMenus(bool showLanguage) {
    if (!showLanguage) menu(cmd::Menu::Setup)->removeAction(action(cmd::Language));
    for (int id : {cmd::KeyAssignment, cmd::ParamAdjust, cmd::SqlTuning})
        menu(cmd::Menu::Edit)->removeAction(action(id));
}

void CMainFrame::unlockService() {
    const cps::Settings& ctx = settings_;
    if (transferRunning() || !cps::CPasswordDlg::ask(ctx.chinese, this)) return;
    session_->unlockService();
    if (CProgramView* v = activeView()) v->revealServiceControls();
    for (int id : {cmd::SqlTuning, cmd::ParamAdjust})
        if (!menuBarHas(id)) menu(cmd::Menu::Edit)->addAction(action(id));
}

// ---------------------------------------------------------------------------------------
// Navigation

void CMainFrame::createNavigation() {
    const cps::Settings& ctx = settings_;
    nav_ = new NavigationBar(ctx.profile().get(ctx.languageName, QStringLiteral("Company")), this);
    addDockWidget(Qt::LeftDockWidgetArea, nav_);
    nav_->setEntries({
        {ctx.text("Channel Information", "信道信息"), cmd::ChannelInfo},
        {ctx.text("Optional Features", "可选功能"), cmd::OptionalFeatures},
        {ctx.text("Software Info", "软件信息"), cmd::SoftwareInfo},
        // Its menu item is trimmed at start-up; this keeps it reachable.
        {ctx.text("Key Assignment", "按键定义"), cmd::KeyAssignment},
    });
    connect(nav_, &NavigationBar::commandChosen, this, [this](int id) { action(id)->trigger(); });
    connect(nav_, &QDockWidget::visibilityChanged, this,
            [this](bool) { action(cmd::ControlBar)->setChecked(!nav_->isHidden()); });
}

void CMainFrame::showChannelWindow() {
    if (!current_) return;
    current_->showNormal();
    current_->show();
    mdi_->setActiveSubWindow(current_);
}

void CMainFrame::toggleControlBar() {
    nav_->setVisible(nav_->isHidden());
    action(cmd::ControlBar)->setChecked(!nav_->isHidden());
}

// ---------------------------------------------------------------------------------------
// Documents

void CMainFrame::addFrame(std::unique_ptr<CProgramDoc> doc) {
    auto* frame = new CChildFrame(doc.get(), settings_, *session_, prompter_);
    // F1 over the grid with nothing of its own in focus: the channel window's page.
    connect(frame->view(), &CProgramView::helpRequested, this,
            [](int id) { cps::showHelp(id != 0 ? id : 101); });
    docs_.push_back(std::move(doc));
    mdi_->addSubWindow(frame);
    // The channel window never grows beyond the client area it lives in.
    const QSize room = mdi_->viewport()->size();
    if (room.width() > 100 && room.height() > 100) frame->resize(frame->size().boundedTo(room));
    frame->move(0, 0);
    frame->show();
    mdi_->setActiveSubWindow(frame);
    current_ = frame;
    connect(frame->view(), &CProgramView::serviceAccessRequested, this, &CMainFrame::unlockService);
    // The verify result joins the transfer's own line when it ends.
    connect(frame, &CChildFrame::statusReport, panes_, &StatusPanes::transferNote);
    if (session_->serviceUnlocked()) frame->view()->revealServiceControls();
    connect(frame->document(), &CProgramDoc::historyChanged, this, &CMainFrame::updateCommands);
    connect(frame->document(), &CProgramDoc::busyChanged, this, &CMainFrame::busyChanged);
    connect(frame, &CChildFrame::transferFinished, this, &CMainFrame::transferFinished);
    updateCommands();
    connect(frame, &QMdiSubWindow::windowStateChanged, this,
            [this] { titleKeeper_ = windowkeys::keepTitle(*this, title_, titleKeeper_); });
    titleKeeper_ = windowkeys::keepTitle(*this, title_, titleKeeper_);
}

void CMainFrame::fitChannelWindows() { mdi_->fitChannelWindows(); }

void CMainFrame::destroyFrame(CChildFrame* frame) {
    CProgramDoc* doc = frame->document();
    editors_->forget(frame);
    mdi_->removeSubWindow(frame);
    delete frame;
    if (current_ == frame) current_ = nullptr;
    for (auto it = docs_.begin(); it != docs_.end(); ++it) {
        if (it->get() == doc) {
            docs_.erase(it);
            break;
        }
    }
    updateCommands();
}

void CMainFrame::newDocument() {
    const cps::Settings& ctx = settings_;
    auto doc = std::make_unique<CProgramDoc>();
    doc->startNew(ctx.text("Channel Information", "信道信息"), ctx.setupAppName());
    session_->setImageFromNew(true);
    addFrame(std::move(doc));
}

void CMainFrame::fileNew() {
    if (current_) {
        if (activeDocument()->isModified() ||
            (activeView()->commitPendingEdit(), activeDocument()->isModified())) {
            // The save question decides; the document goes without a second question.
            if (!maySaveChanges()) return;
        } else {
            const auto answer = prompter_->message(
                this, caption(),
                QCoreApplication::translate("StringTable", "All data will be Cleared!"),
                Prompter::Icon::Exclamation, QMessageBox::Ok | QMessageBox::Cancel);
            if (answer != QMessageBox::Ok) return;
        }
        destroyFrame(current_);
    }
    newDocument();
}

void CMainFrame::fileOpen() {
    if (!maySaveChanges()) return;
    // Where the user is working: beside the open document, else the last data folder.
    const CProgramDoc* doc = activeDocument();
    prompter_->setOpenFolder(doc && doc->hasFile() && !doc->pathName().isEmpty()
                                 ? QFileInfo(doc->pathName()).absolutePath()
                                 : dataFolder());
    const QString path = prompter_->openFileName(this, tr("Data File (*.dat)"));
    if (!path.isEmpty()) openDocument(path);
}

bool CMainFrame::openDocument(const QString& path) {
    auto doc = std::make_unique<CProgramDoc>();
    QString error;
    if (!doc->load(path, &error, settings_.chinese)) {
        prompter_->message(this, caption(),
                           settings_.text("Failed to open the document.", "无法打开文件。") +
                               QLatin1Char('\n') + error,
                           Prompter::Icon::Exclamation, QMessageBox::Ok);
        recent_->forget(path);
        return false;
    }
    CChildFrame* previous = current_;
    // Cleared before the grid is filled, so the loaded image is taken as it is and its
    // radio type is remembered (a new image's settings must not overwrite a file).
    session_->setImageFromNew(false);
    addFrame(std::move(doc));
    if (previous) previous->close();
    recent_->remember(path);
    return true;
}

void CMainFrame::fileClose() {
    if (current_) current_->close();
}

bool CMainFrame::saveDocument(bool askForName, bool confirm) {
    CProgramDoc* doc = activeDocument();
    if (!doc) return false;
    if (confirm) {
        const auto answer = prompter_->message(
            this, caption(), settings_.text("Whether to save the file", "是否保存文件"),
            Prompter::Icon::Question, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) return false;
    }
    activeView()->storeGridIntoImage();
    // A value left in an editor is the user's last step; the store itself is none.
    doc->absorbChange();
    QString path = doc->pathName();
    // Save writes only to the document's own file. A document that never had one (its
    // path name is only the proposal [Setup] AppName, which may name any file, the program
    // itself among them) always asks.
    if (askForName || !doc->hasFile() || path.isEmpty() || !QFileInfo(path).isFile()) {
        const QString proposed =
            doc->hasFile() ? path : QDir(dataFolder()).filePath(doc->displayName());
        path = prompter_->saveFileName(this, proposed, tr("Data File (*.dat)"));
        if (path.isEmpty()) return false;
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".dat");
    }
    QString error;
    if (!doc->save(path, &error)) {
        prompter_->message(this, caption(),
                           settings_.text("Failed to save the document.", "无法保存文件。") +
                               QLatin1Char('\n') + error,
                           Prompter::Icon::Exclamation, QMessageBox::Ok);
        return false;
    }
    if (current_) current_->updateCaption();
    recent_->remember(path);
    return true;
}

bool CMainFrame::maySaveChanges() {
    CProgramDoc* doc = activeDocument();
    if (!doc) return true;
    // What is still in an editor counts as typed.
    activeView()->commitPendingEdit();
    if (!doc->isModified()) return true;
    const QString text =
        settings_.text("Save changes to %1?", "是否保存对 %1 的更改？").arg(doc->displayName());
    const auto answer =
        prompter_->message(this, caption(), text, Prompter::Icon::Exclamation,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return saveDocument(false, false);
    return answer == QMessageBox::No;
}

bool CMainFrame::openRecentOrDropped(const QString& path) {
    if (path.isEmpty() || transferRunning() || !maySaveChanges()) return false;
    return openDocument(path);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void CMainFrame::dragMoveEvent(QDragMoveEvent* event) {
    // Always a copy: a file manager offering a move would otherwise delete the user's file.
    if (!RecentFiles::droppedDataFile(event->mimeData()).isEmpty() && !transferRunning() &&
        (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = RecentFiles::droppedDataFile(event->mimeData());
    if (path.isEmpty() || !(event->possibleActions() & Qt::CopyAction)) return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // After the drop has finished: the question and the load run their own event loops.
    QTimer::singleShot(0, this, [this, path] { openRecentOrDropped(path); });
}

// ---------------------------------------------------------------------------------------
// Undo, transfers and closing

void CMainFrame::updateCommands() {
    const CProgramDoc* doc = activeDocument();
    auto text = [this](const char* en, const char* zh, const QString& step, const char* key) {
        QString t = settings_.text(en, zh);
        if (!step.isEmpty()) t += QLatin1Char(' ') + step;
        return t + QLatin1Char('\t') + QLatin1String(key);
    };
    action(cmd::EditUndo)
        ->setText(text("&Undo", "撤销(&U)", doc ? doc->undoName() : QString(), "Ctrl+Z"));
    action(cmd::EditRedo)
        ->setText(text("&Redo", "恢复(&R)", doc ? doc->redoName() : QString(), "Ctrl+Y"));
    commands_->refresh();
}

void CMainFrame::editUndo() {
    if (CProgramDoc* doc = activeDocument(); doc && !transferRunning()) doc->undo();
}

void CMainFrame::editRedo() {
    if (CProgramDoc* doc = activeDocument(); doc && !transferRunning()) doc->redo();
}

bool CMainFrame::transferRunning() const { return session_->busy(); }

void CMainFrame::programRead() {
    // A read replaces the image: unsaved changes first.
    if (!current_ || (!current_->transferWindowOpen() && !maySaveChanges())) return;
    current_->read();
}

void CMainFrame::busyChanged(bool running) {
    bool any = false;
    for (const auto& doc : docs_) any = any || doc->isBusy();
    session_->setBusy(any);
    updateCommands();
    // The tree opens editors of the document.
    nav_->tree()->setEnabled(!any);
    if (running) panes_->transferStarted();
}

void CMainFrame::transferFinished(bool write, bool ok) {
    const QString port = session_->portName();
    const QString text =
        !ok     ? QString()
        : write ? settings_.text("Write completed on %1.", "写数据完成，端口 %1。").arg(port)
                : settings_.text("Read completed on %1.", "读数据完成，端口 %1。").arg(port);
    panes_->transferEnded(text);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A transfer uses the document and the port until it ends; unsaved changes ask first.
    if (transferRunning() || !maySaveChanges()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// ---------------------------------------------------------------------------------------
// Help, language and about

void CMainFrame::createHelp() {
    const cps::Settings& ctx = settings_;
    help_ = std::make_unique<HelpSystem>(ctx.programDir + ctx.helpFileName, ctx.chinese, this);
    cps::setHelpFunction([this](int context) { help_->showContext(context); });
    // F1 on a highlighted menu item: that command's page.
    for (QAction* top : menuBar()->actions()) {
        if (QMenu* m = top->menu()) {
            m->installEventFilter(this);
            panes_->watchPrompts(m);
        }
    }
}

void CMainFrame::helpOnFocus() {
    QWidget* focus = QApplication::focusWidget();
    auto within = [focus](const QWidget* w) {
        return focus && w && (focus == w || w->isAncestorOf(focus));
    };
    int context = 0x10000 + 128;
    if (within(nav_)) {
        context = 1030;
    } else if (CProgramView* view = activeView(); within(view)) {
        // A view control the view's own F1 does not watch (the SQL switch, say).
        const int id = focus->property("controlId").toInt();
        context = id != 0 ? id : 101;
    }
    cps::showHelp(context);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            const QAction* a = menu->activeAction();
            const int id = a ? a->data().toInt() : 0;
            menu->close();
            cps::showHelp(id != 0 ? id : 0x10000 + 128);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::chooseLanguage() {
    const cps::Settings& ctx = settings_;
    CLanguageDlg dlg(ctx.chinese, this);
    if (dlg.exec() != QDialog::Accepted) return;
    const QString language = cps::languageToWrite(ctx.chinese, dlg.chineseChosen());
    if (language.isEmpty()) return;
    // The new instance reads the file: the setting is there before anything else happens.
    QString why;
    if (!languages_.saveLanguage(language, &why)) {
        // A restart would come back in the old language: stay, and say why.
        prompter_->message(
            this, caption(),
            ctx.text("The language setting could not be saved.", "无法保存语言设置。") +
                QLatin1Char('\n') + why,
            Prompter::Icon::Exclamation, QMessageBox::Ok);
        return;
    }
    if (!close()) {
        // The dealer kept the window open: no switch, the next start stays as it was.
        languages_.saveLanguage(ctx.languageName, nullptr);
        return;
    }
    emit restartRequested();
}

void CMainFrame::showAbout() {
    const cps::Settings& ctx = settings_;
    CAboutDlg dlg(ctx.profile(), ctx.languageName, ctx.chinese, ctx.programDir, this);
    dlg.exec();
}
