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
#include <QMimeData>
#include <QPrinter>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <array>
#include <functional>
#include <optional>
#include <utility>

#include "AppContext.h"
#include "CAboutDlg.h"
#include "CChildFrame.h"
#include "CDtmfCodesDlg.h"
#include "CKeyAssignmentDlg.h"
#include "CLanguageDlg.h"
#include "CMSFlexGrid.h"
#include "CMskDlg.h"
#include "COptionalFeaturesDlg.h"
#include "CParamAdjustDlg.h"
#include "CPasswordDlg.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CSoftwareInfoDlg.h"
#include "CSqlTuningDlg.h"
#include "CStunDlg.h"
#include "CTwoToneDlg.h"
#include "ExchangeCommands.h"
#include "FleetCommand.h"
#include "HelpContext.h"
#include "HelpSystem.h"
#include "LanguageSwitch.h"
#include "LockKeys.h"
#include "NavigationBar.h"
#include "Prompter.h"

// ---------------------------------------------------------------------------------------
// Background

CMdiBackground::CMdiBackground(const QString& programDir, QWidget* parent)
    : QMdiArea(parent), programDir_(programDir) {
    setObjectName(QStringLiteral("mdiClient"));
    reload();
}

void CMdiBackground::reload() {
    QPixmap picture;
    if (!picture.load(programDir_ + QStringLiteral("background.bmp")))
        picture.load(QStringLiteral(":/images/background.png"));
    tile_ = picture;
    // A texture brush repeats the picture from the area's top-left corner.
    setBackground(tile_.isNull() ? QBrush(Qt::darkGray) : QBrush(tile_));
}

void CMdiBackground::resizeEvent(QResizeEvent* event) {
    QMdiArea::resizeEvent(event);
    reload();
    viewport()->update();
    emit resized();
}

// ---------------------------------------------------------------------------------------
// Navigation

namespace {
// The tree's entries under the company name and the commands they run.
struct NavEntry {
    const char* en;
    const char* zh;
    int command;
};
const NavEntry kNavEntries[] = {
    {"Channel Information", "信道信息", cmd::ChannelInfo},
    {"Optional Features", "可选功能", cmd::OptionalFeatures},
    {"Software Info", "软件信息", cmd::SoftwareInfo},
    // Its menu item is trimmed at start-up; this keeps it reachable.
    {"Key Assignment", "按键定义", cmd::KeyAssignment},
};
}  // namespace

// ---------------------------------------------------------------------------------------
// Commands

struct CMainFrame::Command {
    int id;
    const char* text;
    const char* prompt;  // status bar prompt, then the tooltip after a line break
    const char* key;     // accelerator, when any
    bool enabled;        // the commands whose dialogs are not there yet stay disabled
    QStyle::StandardPixmap icon;
};

void CMainFrame::createActions() {
    static const Command table[] = {
        {cmd::FileNew, QT_TRANSLATE_NOOP("CMainFrame", "&New\tCtrl+N"),
         QT_TRANSLATE_NOOP("CMainFrame", "Create a new document\nNew"), "Ctrl+N", true,
         QStyle::SP_FileIcon},
        {cmd::FileOpen, QT_TRANSLATE_NOOP("CMainFrame", "&Open...\tCtrl+O"),
         QT_TRANSLATE_NOOP("CMainFrame", "Open an existing document\nOpen"), "Ctrl+O", true,
         QStyle::SP_DialogOpenButton},
        {cmd::FileClose, QT_TRANSLATE_NOOP("CMainFrame", "&Close"),
         QT_TRANSLATE_NOOP("CMainFrame", "Close the active document\nClose"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::FileSave, QT_TRANSLATE_NOOP("CMainFrame", "&Save\tCtrl+S"),
         QT_TRANSLATE_NOOP("CMainFrame", "Save the active document\nSave"), "Ctrl+S", true,
         QStyle::SP_DialogSaveButton},
        {cmd::FileSaveAs, QT_TRANSLATE_NOOP("CMainFrame", "Save &As..."),
         QT_TRANSLATE_NOOP("CMainFrame", "Save the active document with a new name\nSave As"),
         nullptr, true, QStyle::SP_CustomBase},
        {cmd::Print, QT_TRANSLATE_NOOP("CMainFrame", "&Print...\tCtrl+P"),
         QT_TRANSLATE_NOOP("CMainFrame", "Print the active document\nPrint"), "Ctrl+P", true,
         QStyle::SP_FileDialogDetailedView},
        {cmd::PrintPreview, QT_TRANSLATE_NOOP("CMainFrame", "Print Preview"),
         QT_TRANSLATE_NOOP("CMainFrame", "Display full pages\nPrint Preview"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::PrintSetup, QT_TRANSLATE_NOOP("CMainFrame", "Print Setup..."),
         QT_TRANSLATE_NOOP("CMainFrame", "Change the printer and printing options\nPrint Setup"),
         nullptr, true, QStyle::SP_CustomBase},
        {cmd::PrintDirect, QT_TRANSLATE_NOOP("CMainFrame", "Print Direct"),
         QT_TRANSLATE_NOOP("CMainFrame", "Print the active document without asking\nPrint Direct"),
         nullptr, true, QStyle::SP_CustomBase},
        {cmd::ExportPdf, QT_TRANSLATE_NOOP("CMainFrame", "Export PDF..."),
         QT_TRANSLATE_NOOP("CMainFrame",
                           "Save the report of the active document as a PDF "
                           "file\nExport PDF"),
         nullptr, true, QStyle::SP_CustomBase},
        {cmd::Exit, QT_TRANSLATE_NOOP("CMainFrame", "&Exit\tCtrl+Q"),
         QT_TRANSLATE_NOOP("CMainFrame", "Quit the application\nExit"), "Ctrl+Q", true,
         QStyle::SP_CustomBase},
        {cmd::ChannelInfo, QT_TRANSLATE_NOOP("CMainFrame", "Channel Information"),
         QT_TRANSLATE_NOOP("CMainFrame", "Show the channel table\nChannel Information"), nullptr,
         true, QStyle::SP_CustomBase},
        {cmd::OptionalFeatures, QT_TRANSLATE_NOOP("CMainFrame", "Optional Features"),
         QT_TRANSLATE_NOOP("CMainFrame", "Edit the optional features\nOptional Features"), nullptr,
         true, QStyle::SP_CustomBase},
        {cmd::Dtmf, QT_TRANSLATE_NOOP("CMainFrame", "DTMF"),
         QT_TRANSLATE_NOOP("CMainFrame", "Edit the DTMF codes\nDTMF"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::Msk, QT_TRANSLATE_NOOP("CMainFrame", "MSK"),
         QT_TRANSLATE_NOOP("CMainFrame", "Edit the MSK ID and call list\nMSK"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::TwoTone, QT_TRANSLATE_NOOP("CMainFrame", "2-Tone"),
         QT_TRANSLATE_NOOP("CMainFrame", "Edit the 2-Tone encode and decode\n2-Tone"), nullptr,
         true, QStyle::SP_CustomBase},
        {cmd::KeyAssignment, QT_TRANSLATE_NOOP("CMainFrame", "Key Assignment"),
         QT_TRANSLATE_NOOP("CMainFrame", "Assign the side key\nKey Assignment"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::ParamAdjust, QT_TRANSLATE_NOOP("CMainFrame", "Param Adjust"),
         QT_TRANSLATE_NOOP("CMainFrame", "Adjust the radio parameters\nParam Adjust"), nullptr,
         true, QStyle::SP_CustomBase},
        {cmd::SoftwareInfo, QT_TRANSLATE_NOOP("CMainFrame", "Software Info"),
         QT_TRANSLATE_NOOP("CMainFrame", "Edit the model and frequency ranges\nSoftware Info"),
         nullptr, true, QStyle::SP_CustomBase},
        {cmd::SqlTuning, QT_TRANSLATE_NOOP("CMainFrame", "Sql Tuning"),
         QT_TRANSLATE_NOOP("CMainFrame", "Tune the squelch levels\nSql Tuning"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::Stun, QT_TRANSLATE_NOOP("CMainFrame", "Stun"),
         QT_TRANSLATE_NOOP("CMainFrame", "Stun and kill codes\nStun"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::Read, QT_TRANSLATE_NOOP("CMainFrame", "&Read    Ctrl+R"),
         QT_TRANSLATE_NOOP("CMainFrame", "Read Data From Radio\nRead"), "Ctrl+R", true,
         QStyle::SP_ArrowDown},
        {cmd::Write, QT_TRANSLATE_NOOP("CMainFrame", "&Write   Ctrl+W"),
         QT_TRANSLATE_NOOP("CMainFrame", "Write Data To Radio\nWrite"), "Ctrl+W", true,
         QStyle::SP_ArrowUp},
        {cmd::ComSetup, QT_TRANSLATE_NOOP("CMainFrame", "Com Setup"),
         QT_TRANSLATE_NOOP("CMainFrame", "Choose the serial port\nCom Setup"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::Language, QT_TRANSLATE_NOOP("CMainFrame", "Language"),
         QT_TRANSLATE_NOOP("CMainFrame", "Choose the language\nLanguage"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::ViewToolbar, QT_TRANSLATE_NOOP("CMainFrame", "&Toolbar"),
         QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the toolbar\nToggle ToolBar"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::ViewStatusBar, QT_TRANSLATE_NOOP("CMainFrame", "&Status Bar"),
         QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the status bar\nToggle StatusBar"), nullptr,
         true, QStyle::SP_CustomBase},
        {cmd::ControlBar, QT_TRANSLATE_NOOP("CMainFrame", "Control &Bar   Ctrl+B"),
         QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the navigation bar\nControl Bar"), "Ctrl+B",
         true, QStyle::SP_CustomBase},
        {cmd::HelpTopics, QT_TRANSLATE_NOOP("CMainFrame", "&Help Topics"),
         QT_TRANSLATE_NOOP("CMainFrame", "List Help topics\nHelp Topics"), nullptr, true,
         QStyle::SP_CustomBase},
        {cmd::About, QT_TRANSLATE_NOOP("CMainFrame", "&About ..."),
         QT_TRANSLATE_NOOP("CMainFrame",
                           "Display program information, version number and copyright\nAbout"),
         nullptr, true, QStyle::SP_MessageBoxInformation},
    };
    for (const Command& c : table) {
        const QString text = QCoreApplication::translate("CMainFrame", c.text);
        const QStringList prompt =
            QCoreApplication::translate("CMainFrame", c.prompt).split(QLatin1Char('\n'));
        auto* a = new QAction(text, this);
        a->setData(c.id);
        a->setObjectName(QStringLiteral("cmd_%1").arg(c.id, 4, 16, QLatin1Char('0')));
        a->setStatusTip(prompt.value(0));
        a->setToolTip(prompt.value(1, prompt.value(0)));
        a->setEnabled(c.enabled);
        if (c.icon != QStyle::SP_CustomBase) a->setIcon(style()->standardIcon(c.icon));
        if (c.key) {
            if (text.contains(QLatin1Char('\t'))) {
                a->setShortcut(QKeySequence(QString::fromLatin1(c.key)));
            } else {
                // The item text already shows the key; a separate shortcut avoids showing it twice.
                auto* sc = new QShortcut(QKeySequence(QString::fromLatin1(c.key)), this);
                connect(sc, &QShortcut::activated, a, &QAction::trigger);
            }
        }
        actions_.insert(c.id, a);
    }
    connect(action(cmd::FileNew), &QAction::triggered, this, &CMainFrame::fileNew);
    connect(action(cmd::FileOpen), &QAction::triggered, this, &CMainFrame::fileOpen);
    connect(action(cmd::FileClose), &QAction::triggered, this, &CMainFrame::fileClose);
    connect(action(cmd::FileSave), &QAction::triggered, this, &CMainFrame::fileSave);
    connect(action(cmd::FileSaveAs), &QAction::triggered, this, &CMainFrame::fileSaveAs);
    connect(action(cmd::Exit), &QAction::triggered, this, &QWidget::close);
    connect(action(cmd::Print), &QAction::triggered, this, &CMainFrame::filePrint);
    connect(action(cmd::PrintDirect), &QAction::triggered, this, &CMainFrame::filePrintDirect);
    connect(action(cmd::PrintPreview), &QAction::triggered, this, &CMainFrame::filePrintPreview);
    connect(action(cmd::PrintSetup), &QAction::triggered, this, &CMainFrame::filePrintSetup);
    connect(action(cmd::ExportPdf), &QAction::triggered, this, &CMainFrame::fileExportPdf);
    connect(action(cmd::ChannelInfo), &QAction::triggered, this, &CMainFrame::showChannelWindow);
    connect(action(cmd::ControlBar), &QAction::triggered, this, &CMainFrame::toggleControlBar);
    connect(action(cmd::ParamAdjust), &QAction::triggered, this, &CMainFrame::paramAdjust);
    connect(action(cmd::SoftwareInfo), &QAction::triggered, this, &CMainFrame::softwareInfo);
    connect(action(cmd::SqlTuning), &QAction::triggered, this, &CMainFrame::sqlTuning);
    action(cmd::TwoTone)->setObjectName(QStringLiteral("actionTwoTone"));
    connect(action(cmd::TwoTone), &QAction::triggered, this, &CMainFrame::showTwoTone);
    connect(action(cmd::Read), &QAction::triggered, this, [this] {
        // A read replaces the image: unsaved changes first.
        if (!current_ || (!current_->transferWindowOpen() && !maySaveChanges())) return;
        current_->read();
    });
    connect(action(cmd::Write), &QAction::triggered, this, [this] {
        if (current_) current_->write();
    });
    connect(action(cmd::ComSetup), &QAction::triggered, this, [this] {
        if (current_) current_->comSetup();
    });
    connect(action(cmd::Language), &QAction::triggered, this, &CMainFrame::chooseLanguage);
    connect(action(cmd::About), &QAction::triggered, this, &CMainFrame::showAbout);
    connect(action(cmd::OptionalFeatures), &QAction::triggered, this,
            &CMainFrame::editOptionalFeatures);
    connect(action(cmd::Dtmf), &QAction::triggered, this, &CMainFrame::editDtmf);
    connect(action(cmd::Msk), &QAction::triggered, this, &CMainFrame::editMsk);
    connect(action(cmd::KeyAssignment), &QAction::triggered, this, &CMainFrame::editKeyAssignment);
    connect(action(cmd::Stun), &QAction::triggered, this, &CMainFrame::editStun);
    // Its dialog comes with the 2-Tone editor.
    action(cmd::TwoTone)->setObjectName(QStringLiteral("actionTwoTone"));
    for (int id : {cmd::ViewToolbar, cmd::ViewStatusBar, cmd::ControlBar}) {
        action(id)->setCheckable(true);
        action(id)->setChecked(true);
    }
}

void CMainFrame::createMenus() {
    auto add = [this](QMenu* m, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id == 0) {
                m->addSeparator();
            } else {
                m->addAction(action(id));
            }
        }
    };
    QMenuBar* bar = menuBar();
    add(bar->addMenu(tr("&File")),
        {cmd::FileNew, cmd::FileOpen, cmd::FileClose, cmd::FileSave, cmd::FileSaveAs, 0, cmd::Print,
         cmd::PrintPreview, cmd::PrintSetup, cmd::ExportPdf, 0, cmd::Exit});
    add(bar->addMenu(tr("&Edit")),
        {cmd::ChannelInfo, 0, cmd::OptionalFeatures, 0, cmd::Dtmf, cmd::Msk, cmd::TwoTone,
         cmd::KeyAssignment, cmd::ParamAdjust, cmd::SoftwareInfo, cmd::SqlTuning, cmd::Stun});
    add(bar->addMenu(tr("&Program")), {cmd::Read, cmd::Write});
    add(bar->addMenu(tr("Setup")), {cmd::ComSetup, cmd::Language});
    add(bar->addMenu(tr("&View")), {cmd::ViewToolbar, cmd::ViewStatusBar, 0, cmd::ControlBar});
    add(bar->addMenu(tr("&Help")), {cmd::HelpTopics, 0, cmd::About});
}

void CMainFrame::createClipboardCommands() {
    struct Clip {
        int id;
        const char* en;
        const char* zh;
        const char* promptEn;
        const char* promptZh;
        const char* keys[2];
        void (CProgramView::*run)();
    };
    static const Clip clips[] = {
        {cmd::EditCut,
         "Cu&t",
         "剪切(&T)",
         "Cut the selected channel rows to the clipboard",
         "将选中的信道行剪切到剪贴板",
         {"Ctrl+X", "Shift+Del"},
         &CProgramView::cutRows},
        {cmd::EditCopy,
         "&Copy",
         "复制(&C)",
         "Copy the selected channel rows to the clipboard",
         "将选中的信道行复制到剪贴板",
         {"Ctrl+C", "Ctrl+Ins"},
         &CProgramView::copyRows},
        {cmd::EditPaste,
         "&Paste",
         "粘贴(&P)",
         "Paste channel rows from the current row on",
         "从当前行起粘贴信道行",
         {"Ctrl+V", "Shift+Ins"},
         &CProgramView::pasteRows},
    };
    QMenu* edit = topMenu(1);
    QAction* first = edit ? edit->actions().value(0) : nullptr;
    for (const Clip& c : clips) {
        auto* a = new QAction(context_.text(c.en, c.zh), this);
        a->setData(c.id);
        a->setObjectName(QStringLiteral("cmd_%1").arg(c.id, 4, 16, QLatin1Char('0')));
        a->setStatusTip(context_.text(c.promptEn, c.promptZh));
        a->setShortcuts(
            {QKeySequence(QLatin1String(c.keys[0])), QKeySequence(QLatin1String(c.keys[1]))});
        // In a text field of a dialog or the tree the keys stay that field's own.
        a->setShortcutContext(Qt::WindowShortcut);
        const auto run = c.run;
        connect(a, &QAction::triggered, this, [this, run] {
            if (CProgramView* view = activeView()) (view->*run)();
        });
        actions_.insert(c.id, a);
        if (edit) edit->insertAction(first, a);
    }
    if (edit) edit->insertSeparator(first);
}

QMenu* CMainFrame::topMenu(int index) const {
    const QList<QAction*> tops = menuBar()->actions();
    return index >= 0 && index < tops.size() ? tops[index]->menu() : nullptr;
}

void CMainFrame::trimMenus(bool showLanguage) {
    if (!showLanguage)
        if (QMenu* setup = topMenu(3)) setup->removeAction(action(cmd::Language));
    if (QMenu* edit = topMenu(1)) {
        for (int id : {cmd::KeyAssignment, cmd::ParamAdjust, cmd::SqlTuning})
            edit->removeAction(action(id));
    }
}

// Setup > Verify after writing: a per-user choice, off unless the user turned it on.
void CMainFrame::createVerifySetting() {
    auto* a = new QAction(tr("Verify after writing"), this);
    a->setObjectName(QStringLiteral("actionVerifyAfterWrite"));
    a->setStatusTip(tr("Read back every block written to the radio and compare"));
    a->setCheckable(true);
    a->setChecked(cps::verifyAfterWriting(context_.userStore()));
    connect(a, &QAction::toggled, this, [this](bool on) {
        cps::UserStore store = context_.userStore();
        cps::setVerifyAfterWriting(store, on);
    });
    actions_.insert(cmd::VerifyAfterWrite, a);
    if (QMenu* setup = topMenu(3)) setup->insertAction(action(cmd::Language), a);
}

void CMainFrame::createToolBar() {
    QToolBar* tb = addToolBar(tr("Standard"));
    tb->setObjectName(QStringLiteral("toolBar"));
    tb->setIconSize(QSize(18, 19));
    tb->setMovable(true);
    tb->addAction(action(cmd::FileNew));
    tb->addAction(action(cmd::FileOpen));
    tb->addAction(action(cmd::FileSave));
    tb->addSeparator();
    tb->addAction(action(cmd::Read));
    tb->addSeparator();
    tb->addAction(action(cmd::Write));
    tb->addSeparator();
    tb->addAction(action(cmd::Print));
    tb->addAction(action(cmd::About));
    connect(action(cmd::ViewToolbar), &QAction::toggled, tb, &QWidget::setVisible);
}

void CMainFrame::createStatusBar() {
    QStatusBar* sb = statusBar();
    message_ = new QLabel(tr("Ready"), sb);
    message_->setObjectName(QStringLiteral("readyPane"));
    sb->addWidget(message_, 1);
    int i = 0;
    for (const char* pane : {"capsPane", "numPane", "scrollPane"}) {
        // Empty until the platform tells the lock's state (updateLockPanes).
        auto* l = new QLabel(sb);
        l->setObjectName(QLatin1String(pane));
        lockPanes_[i++] = l;
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        sb->addPermanentWidget(l);
    }
    connect(action(cmd::ViewStatusBar), &QAction::toggled, sb, &QWidget::setVisible);
}

void CMainFrame::createNavigation() {
    const cps::AppContext& ctx = context_;
    const QString company = ctx.profile.get(ctx.languageName, QStringLiteral("Company"));
    nav_ = new NavigationBar(company, this);
    addDockWidget(Qt::LeftDockWidgetArea, nav_);
    QTreeWidget* tree = nav_->tree();
    auto* root = new QTreeWidgetItem(tree, QStringList(company));
    for (const NavEntry& e : kNavEntries)
        new QTreeWidgetItem(root, QStringList(ctx.text(e.en, e.zh)));
    root->setExpanded(true);
    tree->setCurrentItem(root);
    // Only a click acts: keyboard moves through the tree do nothing.
    connect(tree, &QTreeWidget::itemClicked, this, &CMainFrame::onTreeClicked);
    connect(nav_, &QDockWidget::visibilityChanged, this,
            [this](bool) { action(cmd::ControlBar)->setChecked(!nav_->isHidden()); });
}

void CMainFrame::onTreeClicked(QTreeWidgetItem* item) {
    const cps::AppContext& ctx = context_;
    const QString text = item ? item->text(0) : QString();
    int id = 0;
    for (const NavEntry& e : kNavEntries)
        if (text == ctx.text(e.en, e.zh)) id = e.command;
    // Back to the root, so that choosing the same entry again acts again.
    QTreeWidget* tree = nav_->tree();
    tree->setCurrentItem(tree->topLevelItem(0));
    if (id != 0 && item && item->parent()) action(id)->trigger();
}

// ---------------------------------------------------------------------------------------
// Frame

CMainFrame::CMainFrame(cps::AppContext& context, Prompter* prompter, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      prompter_(prompter ? prompter : &Prompter::standard()) {
    setObjectName(QStringLiteral("CMainFrame"));
    const cps::AppContext& ctx = context_;
    title_ = ctx.profile.get(ctx.languageName, QStringLiteral("Title"));
    setWindowTitle(title_);
    createActions();
    createMenus();
    exchange_ = new ExchangeCommands(*this, context_, *prompter_);
    new FleetCommand(*this, context_, *prompter_);
    createVerifySetting();
    createClipboardCommands();
    createToolBar();
    createStatusBar();
    createNavigation();
    mdi_ = new CMdiBackground(ctx.programDir, this);
    setCentralWidget(mdi_);
    createHelp();
    createUndoActions();
    createRecentFiles();
    createPaneKeys();
    markSafeWhileBusy();
    watchPrompts();
    updateLockPanes();
    setAcceptDrops(true);
    // After every size change, also the one the window manager makes when it places the
    // window, the channel window fits again.
    connect(mdi_, &CMdiBackground::resized, this, &CMainFrame::fitChannelWindows);
    resize(1024, 740);
    auto activeImage = [this]() -> cps::RadioImage* {
        CProgramDoc* doc = activeDocument();
        return doc ? &doc->image() : nullptr;
    };
    optionalDlg_ = new COptionalFeaturesDlg(activeImage, ctx.chinese, this);
    mskDlg_ = new CMskDlg(activeImage, ctx.chinese, this);
}

CMainFrame::~CMainFrame() {
    cps::setHelpFunction(nullptr);
    // Hiding the bar while the base class tears the window down must not call back here.
    disconnect(nav_, nullptr, this, nullptr);
    // The frames hold views over the documents' images: they go first.
    for (QMdiSubWindow* w : mdi_->subWindowList()) delete w;
}

QString CMainFrame::caption() const { return context_.appName; }

CProgramView* CMainFrame::activeView() const { return current_ ? current_->view() : nullptr; }
CProgramDoc* CMainFrame::activeDocument() const {
    return current_ ? current_->document() : nullptr;
}

void CMainFrame::addFrame(std::unique_ptr<CProgramDoc> doc) {
    auto* frame = new CChildFrame(doc.get(), context_, prompter_);
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
    connect(frame, &CChildFrame::statusReport, this, [this](const QString& text) {
        transferNote_ = text;
        message_->setText(text);
    });
    if (context_.serviceUnlocked) frame->view()->revealServiceControls();
    connect(frame->document(), &CProgramDoc::historyChanged, this, &CMainFrame::updateUndoActions);
    connectTransfer(frame);
    updateUndoActions();
    connect(frame, &QMdiSubWindow::windowStateChanged, this, [this] { keepTitle(); });
    keepTitle();
}

void CMainFrame::fitChannelWindows() {
    // The channel window never grows beyond the client area it lives in.
    const QSize room = mdi_->viewport()->size();
    if (room.width() < 100 || room.height() < 100) return;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(w);
        if (!frame || frame->isMaximized() || frame->isMinimized()) continue;
        const double s = frame->view()->scale();
        // The size the window has, unless it still has the one this gave it last: then it
        // grows back towards its own size as the room allows.
        const QSize natural(qRound(CChildFrame::kWidth * s), qRound(CChildFrame::kHeight * s));
        const QSize lastFit = frame->property("fittedSize").toSize();
        const QSize wanted =
            (!lastFit.isValid() || frame->size() == lastFit) ? natural : frame->size();
        const QSize size = wanted.boundedTo(room);
        // Whole inside the area: the title bar and the grid's last row both in view.
        QPoint at = frame->pos();
        at.setX(qBound(0, at.x(), room.width() - size.width()));
        at.setY(qBound(0, at.y(), room.height() - size.height()));
        frame->setGeometry(QRect(at, size));
        frame->setProperty("fittedSize", size);
    }
}

void CMainFrame::destroyFrame(CChildFrame* frame) {
    CProgramDoc* doc = frame->document();
    if (doc == twoToneDoc_) {
        twoTone_.reset();
        twoToneDoc_ = nullptr;
    }
    mdi_->removeSubWindow(frame);
    delete frame;
    if (current_ == frame) current_ = nullptr;
    for (auto it = docs_.begin(); it != docs_.end(); ++it) {
        if (it->get() == doc) {
            docs_.erase(it);
            break;
        }
    }
    updateUndoActions();
}

void CMainFrame::newDocument() {
    cps::AppContext& ctx = context_;
    auto doc = std::make_unique<CProgramDoc>();
    doc->newImage(ctx.text("Channel Information", "信道信息"), ctx.setupAppName());
    ctx.newImage = true;
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
    if (!doc->load(path, &error, context_.chinese)) {
        prompter_->message(this, caption(),
                           context_.text("Failed to open the document.", "无法打开文件。") +
                               QLatin1Char('\n') + error,
                           Prompter::Icon::Exclamation, QMessageBox::Ok);
        forgetFile(path);
        return false;
    }
    CChildFrame* previous = current_;
    // Cleared before the grid is filled, so the loaded image is taken as it is and its
    // radio type is remembered (a new image's settings must not overwrite a file).
    context_.newImage = false;
    addFrame(std::move(doc));
    if (previous) previous->close();
    rememberFile(path);
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
            this, caption(), context_.text("Whether to save the file", "是否保存文件"),
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
                           context_.text("Failed to save the document.", "无法保存文件。") +
                               QLatin1Char('\n') + error,
                           Prompter::Icon::Exclamation, QMessageBox::Ok);
        return false;
    }
    if (current_) current_->updateCaption();
    rememberFile(path);
    return true;
}

bool CMainFrame::maySaveChanges() {
    CProgramDoc* doc = activeDocument();
    if (!doc) return true;
    // What is still in an editor counts as typed.
    activeView()->commitPendingEdit();
    if (!doc->isModified()) return true;
    const QString text =
        context_.text("Save changes to %1?", "是否保存对 %1 的更改？").arg(doc->displayName());
    const auto answer =
        prompter_->message(this, caption(), text, Prompter::Icon::Exclamation,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return saveDocument(false, false);
    return answer == QMessageBox::No;
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

QPrinter& CMainFrame::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

std::unique_ptr<cps::ReportPrinting> CMainFrame::reportPrinting() {
    CProgramView* view = activeView();
    CProgramDoc* doc = activeDocument();
    if (!view || !doc) return nullptr;
    const cps::AppContext& ctx = context_;
    // The channel pages print the grid as it stands, edits not yet stored included.
    const cps::print::Source source{
        &doc->image(), &view->table(), ctx.chinese,
        ctx.profile.get(ctx.languageName, QStringLiteral("Copyrights Owner"))};
    return std::make_unique<cps::ReportPrinting>(source, printer(), *prompter_, caption(), this);
}

void CMainFrame::printReport(cps::ReportPrinting::Mode mode) {
    if (auto p = reportPrinting()) p->print(mode);
}

void CMainFrame::fileExportPdf() {
    if (auto p = reportPrinting()) p->exportPdf();
}

void CMainFrame::filePrintSetup() { cps::ReportPrinting::pageSetup(printer(), this); }

// ---------------------------------------------------------------------------------------
// Help, language and about

void CMainFrame::createHelp() {
    const cps::AppContext& ctx = context_;
    help_ = std::make_unique<HelpSystem>(ctx.programDir + ctx.helpFileName, ctx.chinese, this);
    cps::setHelpFunction([this](int context) { help_->showContext(context); });
    connect(action(cmd::HelpTopics), &QAction::triggered, this, [this] { help_->showContents(); });

    // F1 in the main window: the navigation tree's page over the tree, else the main
    // window's (the channel view and the dialogs answer F1 themselves).
    auto* f1 = new QAction(this);
    f1->setObjectName(QStringLiteral("cmd_e146"));
    f1->setData(cmd::Help);
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    f1->setShortcutContext(Qt::WindowShortcut);
    addAction(f1);
    actions_.insert(cmd::Help, f1);
    connect(f1, &QAction::triggered, this, [this] {
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
    });
    // F1 on a highlighted menu item: that command's page.
    for (QAction* top : menuBar()->actions())
        if (QMenu* m = top->menu()) m->installEventFilter(this);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // The pointer left a menu or the toolbar, or a menu closed: its prompt goes.
    if ((event->type() == QEvent::Leave || event->type() == QEvent::Hide) &&
        (qobject_cast<QMenu*>(watched) || qobject_cast<QToolBar*>(watched)))
        statusBar()->clearMessage();
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
    cps::AppContext& ctx = context_;
    CLanguageDlg dlg(ctx.chinese, this);
    if (dlg.exec() != QDialog::Accepted) return;
    const QString language = cps::languageToWrite(ctx.chinese, dlg.chineseChosen());
    if (language.isEmpty()) return;
    // The new instance reads the file: the setting is there before anything else happens.
    const QString setup = QStringLiteral("Setup");
    const QString previous = ctx.profile.get(setup, QStringLiteral("Language"));
    ctx.profile.set(setup, QStringLiteral("Language"), language);
    if (!ctx.profile.save()) {
        // A restart would come back in the old language: stay, and say why.
        const QString why = ctx.profile.errorString();
        ctx.profile.set(setup, QStringLiteral("Language"), previous);
        prompter_->message(
            this, caption(),
            ctx.text("The language setting could not be saved.", "无法保存语言设置。") +
                QLatin1Char('\n') + why,
            Prompter::Icon::Exclamation, QMessageBox::Ok);
        return;
    }
    if (!close()) {
        // The dealer kept the window open: no switch, the next start stays as it was.
        ctx.profile.set(setup, QStringLiteral("Language"), previous);
        ctx.profile.save();
        return;
    }
    emit restartRequested();
}

void CMainFrame::showAbout() {
    const cps::AppContext& ctx = context_;
    CAboutDlg dlg(ctx.profile, ctx.languageName, ctx.chinese, ctx.programDir, this);
    dlg.exec();
}
void CMainFrame::paramAdjust() {
    CProgramDoc* doc = activeDocument();
    if (!doc || !current_ || !cps::CPasswordDlg::ask(context_.chinese, this)) return;
    cps::CParamAdjustDlg dlg(doc->image(), current_->radioContext(), this);
    dlg.exec();
    recordStep("Param Adjust", "参数调节");
}

void CMainFrame::sqlTuning() {
    CProgramDoc* doc = activeDocument();
    if (!doc || !current_) return;
    cps::CSqlTuningDlg dlg(doc->image(), current_->radioContext(), this);
    dlg.exec();
    recordStep("Sql Tuning", "静噪微调");
}

void CMainFrame::softwareInfo() {
    CProgramDoc* doc = activeDocument();
    CProgramView* view = activeView();
    if (!doc || !view) return;
    // The grid is refilled from the image after OK: channels typed since the last store
    // go into the image first, or the refill would drop them.
    view->storeGridIntoImage();
    doc->absorbChange();
    // The refill takes the new limits from the image.
    cps::CSoftwareInfoDlg dlg(doc->image(), context_.chinese, nullptr, this);
    if (dlg.exec() != QDialog::Accepted) return;
    // Cleared first: a new image's fill would put its own ranges back.
    context_.newImage = false;
    view->fillGridFromImage(true);
    recordStep("Software Info", "软件信息");
}

void CMainFrame::editOptionalFeatures() {
    optionalDlg_->exec();
    recordStep("Optional Features", "可选功能");
}

void CMainFrame::editMsk() {
    mskDlg_->exec();
    recordStep("MSK", "MSK呼叫列表");
}

void CMainFrame::editDtmf() {
    if (CProgramDoc* doc = activeDocument()) {
        CDtmfCodesDlg dlg(doc->image(), context_.chinese, this);
        dlg.exec();
        recordStep("DTMF", "DTMF");
    }
}

void CMainFrame::editKeyAssignment() {
    if (CProgramDoc* doc = activeDocument()) {
        CKeyAssignmentDlg dlg(doc->image(), context_.chinese, this);
        dlg.exec();
        recordStep("Key Assignment", "按键定义");
    }
}

void CMainFrame::editStun() {
    CProgramDoc* doc = activeDocument();
    if (!doc || !cps::CPasswordDlg::ask(context_.chinese, this)) return;
    CStunDlg dlg(doc->image(), context_.chinese, this);
    dlg.exec();
    recordStep("Stun", "遥晕");
}

bool CMainFrame::menuBarHas(int id) const {
    for (QAction* top : menuBar()->actions()) {
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions())
            if (!a->isSeparator() && a->data().toInt() == id) return true;
    }
    return false;
}

void CMainFrame::unlockService() {
    cps::AppContext& ctx = context_;
    if (transferRunning() || !cps::CPasswordDlg::ask(ctx.chinese, this)) return;
    ctx.serviceUnlocked = true;
    if (CProgramView* v = activeView()) v->revealServiceControls();
    if (QMenu* edit = topMenu(1)) {
        for (int id : {cmd::SqlTuning, cmd::ParamAdjust})
            if (!menuBarHas(id)) edit->addAction(action(id));
    }
}

void CMainFrame::showTwoTone() {
    CProgramDoc* doc = activeDocument();
    if (!doc) return;
    // One dialog object for the frame's life, made again only for another document's image.
    if (!twoTone_ || twoToneDoc_ != doc) {
        twoTone_ = std::make_unique<cps::CTwoToneDlg>(doc->image(), context_.chinese, this);
        twoToneDoc_ = doc;
    }
    twoTone_->exec();
    recordStep("2-Tone", "两音");
}

// ---------------------------------------------------------------------------------------
// Undo and redo

void CMainFrame::createUndoActions() {
    auto* undo = new QAction(this);
    undo->setData(cmd::EditUndo);
    undo->setObjectName(QStringLiteral("cmd_e12b"));
    undo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    undo->setStatusTip(context_.text("Undo the last action", "撤销上一步操作"));
    auto* redo = new QAction(this);
    redo->setData(cmd::EditRedo);
    redo->setObjectName(QStringLiteral("cmd_e12c"));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redo->setStatusTip(context_.text("Redo the previously undone action", "恢复上一步撤销的操作"));
    actions_.insert(cmd::EditUndo, undo);
    actions_.insert(cmd::EditRedo, redo);
    connect(undo, &QAction::triggered, this, &CMainFrame::editUndo);
    connect(redo, &QAction::triggered, this, &CMainFrame::editRedo);
    // At the top of the Edit menu, as desktop editors have them.
    if (QMenu* edit = topMenu(1)) {
        QAction* first = edit->actions().value(0);
        edit->insertAction(first, undo);
        edit->insertAction(first, redo);
        edit->insertSeparator(first);
    }
    updateUndoActions();
}

void CMainFrame::updateUndoActions() {
    QAction* undo = action(cmd::EditUndo);
    QAction* redo = action(cmd::EditRedo);
    if (!undo || !redo) return;
    const CProgramDoc* doc = activeDocument();
    const bool locked = transferRunning();
    const bool canUndo = doc && doc->canUndo() && !locked;
    const bool canRedo = doc && doc->canRedo() && !locked;
    auto text = [this](const char* en, const char* zh, const QString& step, const char* key) {
        QString t = context_.text(en, zh);
        if (!step.isEmpty()) t += QLatin1Char(' ') + step;
        return t + QLatin1Char('\t') + QLatin1String(key);
    };
    undo->setText(text("&Undo", "撤销(&U)", doc ? doc->undoName() : QString(), "Ctrl+Z"));
    redo->setText(text("&Redo", "恢复(&R)", doc ? doc->redoName() : QString(), "Ctrl+Y"));
    undo->setEnabled(canUndo);
    redo->setEnabled(canRedo);
}

void CMainFrame::editUndo() {
    if (CProgramDoc* doc = activeDocument(); doc && !transferRunning()) doc->undo();
}

void CMainFrame::editRedo() {
    if (CProgramDoc* doc = activeDocument(); doc && !transferRunning()) doc->redo();
}

void CMainFrame::recordStep(const char* english, const char* chinese) {
    if (CProgramDoc* doc = activeDocument()) doc->recordChange(context_.text(english, chinese));
}

// ---------------------------------------------------------------------------------------
// Recent files and dropped files

namespace {
const int kRecentFiles = 4;
QString recentKey(int i) { return QStringLiteral("Recent File List/File%1").arg(i + 1); }
}  // namespace

QStringList CMainFrame::recentFiles() const {
    const cps::UserStore store = context_.userStore();
    QStringList files;
    for (int i = 0; i < kRecentFiles; ++i) {
        const QString f = store.text(recentKey(i));
        if (!f.isEmpty()) files << f;
    }
    return files;
}

QString CMainFrame::dataFolder() const {
    const QString folder = context_.userStore().text(QStringLiteral("Settings/DataFolder"));
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    // Never the current folder, which may be the program's own.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void CMainFrame::createRecentFiles() {
    QMenu* file = topMenu(0);
    QAction* exit = action(cmd::Exit);
    if (!file || !exit) return;
    // Between the print commands and Exit, with a separator of their own.
    for (int i = 0; i < kRecentFiles; ++i) {
        auto* a = new QAction(this);
        a->setData(cmd::RecentFile1 + i);
        a->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        a->setStatusTip(context_.text("Open this document", "打开该文件"));
        connect(a, &QAction::triggered, this,
                [this, a] { openRecentOrDropped(a->property("path").toString()); });
        file->insertAction(exit, a);
        recentActions_.push_back(a);
    }
    recentSeparator_ = file->insertSeparator(exit);
    updateRecentFiles();
}

void CMainFrame::updateRecentFiles() {
    const QStringList files = recentFiles();
    for (int i = 0; i < static_cast<int>(recentActions_.size()); ++i) {
        QAction* a = recentActions_[i];
        const QString f = files.value(i);
        a->setVisible(!f.isEmpty());
        a->setProperty("path", f);
        // An ampersand in a folder name is not a mnemonic.
        QString shown = QDir::toNativeSeparators(f);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    }
    if (recentSeparator_) recentSeparator_->setVisible(!files.isEmpty());
}

void CMainFrame::rememberFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    cps::UserStore store = context_.userStore();
    for (int i = 0; i < kRecentFiles; ++i) store.setText(recentKey(i), files.value(i));
    store.setText(QStringLiteral("Settings/DataFolder"), QFileInfo(absolute).absolutePath());
    store.sync();
    updateRecentFiles();
}

void CMainFrame::forgetFile(const QString& path) {
    QStringList files = recentFiles();
    if (files.removeAll(QFileInfo(path).absoluteFilePath()) == 0) return;
    cps::UserStore store = context_.userStore();
    for (int i = 0; i < kRecentFiles; ++i) store.setText(recentKey(i), files.value(i));
    store.sync();
    updateRecentFiles();
}

bool CMainFrame::openRecentOrDropped(const QString& path) {
    if (path.isEmpty() || transferRunning() || !maySaveChanges()) return false;
    return openDocument(path);
}

namespace {
// The one data file a drag carries, or nothing.
QString droppedDataFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive) ? path : QString();
}
}  // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    // Always a copy: a file manager offering a move would otherwise delete the user's file.
    if (!droppedDataFile(event->mimeData()).isEmpty() && !transferRunning() &&
        (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* event) {
    if (!droppedDataFile(event->mimeData()).isEmpty() && !transferRunning() &&
        (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = droppedDataFile(event->mimeData());
    if (path.isEmpty() || !(event->possibleActions() & Qt::CopyAction)) return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // After the drop has finished: the question and the load run their own event loops.
    QTimer::singleShot(0, this, [this, path] { openRecentOrDropped(path); });
}

// ---------------------------------------------------------------------------------------
// Transfers

bool CMainFrame::transferRunning() const {
    for (const auto& doc : docs_)
        if (doc->isBusy()) return true;
    return false;
}

void CMainFrame::connectTransfer(CChildFrame* frame) {
    connect(frame->document(), &CProgramDoc::busyChanged, this, &CMainFrame::lockForTransfer);
    connect(frame, &CChildFrame::transferFinished, this, &CMainFrame::transferFinished);
}

void CMainFrame::markSafeWhileBusy() {
    // Commands that only show things. Every other command changes the document, talks to
    // the radio or opens a dialog that would hold the transfer up, and waits for it.
    for (int id : std::initializer_list<int>{cmd::ViewToolbar, cmd::ViewStatusBar, cmd::ControlBar,
                                             cmd::ChannelInfo, cmd::HelpTopics, cmd::Help,
                                             int(cmd::EditCopy)})
        if (QAction* a = action(id)) a->setProperty(kSafeWhileBusy, true);
}

void CMainFrame::lockForTransfer(bool running) {
    if (running) {
        QList<QAction*> all = actions_.values();
        all.append(QList<QAction*>(recentActions_.begin(), recentActions_.end()));
        for (QAction* a : all) {
            if (!a->isEnabled() || a->property(kSafeWhileBusy).toBool()) continue;
            a->setEnabled(false);
            lockedByTransfer_.append(a);
        }
    } else {
        for (const QPointer<QAction>& a : std::exchange(lockedByTransfer_, {}))
            if (a) a->setEnabled(true);
    }
    // The tree opens editors of the document.
    if (nav_) nav_->tree()->setEnabled(!running);
    updateUndoActions();
    if (running) {
        transferNote_.clear();
        message_->setText(tr("Ready"));
    }
}

void CMainFrame::transferFinished(bool write, bool ok) {
    const QString note = std::exchange(transferNote_, QString());
    if (!ok) return;
    const QString port = context_.portName;
    QString text = write
                       ? context_.text("Write completed on %1.", "写数据完成，端口 %1。").arg(port)
                       : context_.text("Read completed on %1.", "读数据完成，端口 %1。").arg(port);
    if (!note.isEmpty()) text += QStringLiteral("  ") + note;
    message_->setText(text);
}

// ---------------------------------------------------------------------------------------
// Closing, title, panes and prompts

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A transfer uses the document and the port until it ends; unsaved changes ask first.
    if (transferRunning() || !maySaveChanges()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

namespace {
// Keeps the main window's title: a maximised channel window appends its caption to it.
// The title change is put back and not passed on, so that the channel window does not
// append again; it is installed again whenever a channel window changes state, to stay the
// first filter asked.
class TitleKeeper : public QObject {
  public:
    TitleKeeper(QWidget* window, const QString& title) : QObject(window), title_(title) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::WindowTitleChange || watched != parent())
            return QObject::eventFilter(watched, event);
        auto* w = static_cast<QWidget*>(watched);
        if (w->windowTitle() != title_) w->setWindowTitle(title_);
        return true;
    }

  private:
    QString title_;
};
}  // namespace

void CMainFrame::keepTitle() {
    if (!titleKeeper_) titleKeeper_ = new TitleKeeper(this, title_);
    removeEventFilter(titleKeeper_);
    installEventFilter(titleKeeper_);
}

void CMainFrame::createPaneKeys() {
    // The panes in turn: the navigation tree, then the channel window's grid.
    auto cycle = [this](int step) {
        QList<QWidget*> panes;
        if (nav_ && nav_->isVisible()) panes << nav_->tree();
        if (CProgramView* v = activeView(); v && v->isVisible()) panes << v->grid();
        if (panes.isEmpty()) return;
        QWidget* focus = QApplication::focusWidget();
        int at = -1;
        for (int i = 0; i < panes.size(); ++i)
            if (focus &&
                (focus == panes[i] || panes[i]->isAncestorOf(focus) ||
                 (i == panes.size() - 1 && activeView() && activeView()->isAncestorOf(focus))))
                at = i;
        const int next = ((at < 0 ? (step > 0 ? -1 : 0) : at) + step + panes.size()) % panes.size();
        panes[next]->setFocus(Qt::ShortcutFocusReason);
    };
    const std::pair<QKeySequence, int> keys[] = {{QKeySequence(Qt::Key_F6), 1},
                                                 {QKeySequence(Qt::SHIFT | Qt::Key_F6), -1}};
    for (const auto& [key, step] : keys) {
        auto* a = new QAction(this);
        a->setShortcut(key);
        a->setObjectName(step > 0 ? QStringLiteral("nextPane") : QStringLiteral("previousPane"));
        addAction(a);
        connect(a, &QAction::triggered, this, [cycle, step = step] { cycle(step); });
    }
}

namespace {
// Key presses and activation may change the lock keys; the panes follow.
class LockKeyWatcher : public QObject {
  public:
    LockKeyWatcher(std::function<void()> changed, QObject* parent)
        : QObject(parent), changed_(std::move(changed)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type t = event->type();
        if ((t == QEvent::KeyRelease && watched->isWidgetType()) ||
            t == QEvent::ApplicationActivate)
            changed_();
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> changed_;
};

}  // namespace

void CMainFrame::watchPrompts() {
    if (QToolBar* tb = findChild<QToolBar*>(QStringLiteral("toolBar")))
        tb->installEventFilter(this);
    // The menus carry the F1 filter already (createHelp).
    qApp->installEventFilter(new LockKeyWatcher([this] { updateLockPanes(); }, this));
}

void CMainFrame::updateLockPanes() {
    const auto states = lockKeyStates();
    const char* texts[3] = {QT_TR_NOOP("CAP"), QT_TR_NOOP("NUM"), QT_TR_NOOP("SCRL")};
    for (int i = 0; i < 3; ++i)
        if (lockPanes_[i])
            lockPanes_[i]->setText(states && (*states)[i] ? tr(texts[i]) : QString());
}
