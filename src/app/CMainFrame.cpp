#include "CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

#include "AppContext.h"
#include "CAboutDlg.h"
#include "CChildFrame.h"
#include "CDtmfCodesDlg.h"
#include "CKeyAssignmentDlg.h"
#include "CLanguageDlg.h"
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
#include "HelpContext.h"
#include "HelpSystem.h"
#include "LanguageSwitch.h"
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
        {cmd::Exit, QT_TRANSLATE_NOOP("CMainFrame", "&Exit"),
         QT_TRANSLATE_NOOP("CMainFrame", "Quit the application\nExit"), nullptr, true,
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
        if (current_) current_->read();
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
    for (const char* pane : {QT_TR_NOOP("CAP"), QT_TR_NOOP("NUM"), QT_TR_NOOP("SCRL")}) {
        auto* l = new QLabel(tr(pane), sb);
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
    setWindowTitle(ctx.profile.get(ctx.languageName, QStringLiteral("Title")));
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createNavigation();
    mdi_ = new CMdiBackground(ctx.programDir, this);
    setCentralWidget(mdi_);
    createHelp();
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
    if (context_.serviceUnlocked) frame->view()->revealServiceControls();
}

void CMainFrame::fitChannelWindows() {
    // The channel window never grows beyond the client area it lives in.
    const QSize room = mdi_->viewport()->size();
    if (room.width() < 100 || room.height() < 100) return;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(w);
        if (!frame) continue;
        const double s = frame->view()->scale();
        frame->resize(QSize(qRound(CChildFrame::kWidth * s), qRound(CChildFrame::kHeight * s))
                          .boundedTo(room));
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
        const auto answer = prompter_->message(
            this, caption(),
            QCoreApplication::translate("StringTable", "All data will be Cleared!"),
            Prompter::Icon::Exclamation, QMessageBox::Ok | QMessageBox::Cancel);
        if (answer != QMessageBox::Ok) return;
        destroyFrame(current_);
    }
    newDocument();
}

void CMainFrame::fileOpen() {
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
        return false;
    }
    CChildFrame* previous = current_;
    // Cleared before the grid is filled, so the loaded image is taken as it is and its
    // radio type is remembered (a new image's settings must not overwrite a file).
    context_.newImage = false;
    addFrame(std::move(doc));
    if (previous) previous->close();
    return true;
}

void CMainFrame::fileClose() {
    if (current_) current_->close();
}

bool CMainFrame::saveDocument(bool askForName) {
    CProgramDoc* doc = activeDocument();
    if (!doc) return false;
    const auto answer = prompter_->message(
        this, caption(), context_.text("Whether to save the file", "是否保存文件"),
        Prompter::Icon::Question, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) return false;
    activeView()->storeGridIntoImage();
    QString path = doc->pathName();
    // A new document's path name is only a proposal ([Setup] AppName, a bare name taken
    // relative to the current folder): a file of that name there is someone else's, so
    // the first save always asks.
    if (askForName || !doc->hasFile() || path.isEmpty() || !QFileInfo(path).isFile()) {
        QString proposed = path.isEmpty() ? doc->title() : path;
        if (!proposed.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
            proposed += QStringLiteral(".dat");
        path = prompter_->saveFileName(this, proposed, tr("Data File (*.dat)"));
        if (path.isEmpty()) return false;
    }
    QString error;
    if (!doc->save(path, &error)) {
        prompter_->message(this, caption(),
                           context_.text("Failed to save the document.", "无法保存文件。") +
                               QLatin1Char('\n') + error,
                           Prompter::Icon::Exclamation, QMessageBox::Ok);
        return false;
    }
    return true;
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
    ctx.profile.save();
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
}

void CMainFrame::sqlTuning() {
    CProgramDoc* doc = activeDocument();
    if (!doc || !current_) return;
    cps::CSqlTuningDlg dlg(doc->image(), current_->radioContext(), this);
    dlg.exec();
}

void CMainFrame::softwareInfo() {
    CProgramDoc* doc = activeDocument();
    CProgramView* view = activeView();
    if (!doc || !view) return;
    // The grid is refilled from the image after OK: channels typed since the last store
    // go into the image first, or the refill would drop them.
    view->storeGridIntoImage();
    // The refill takes the new limits from the image.
    cps::CSoftwareInfoDlg dlg(doc->image(), context_.chinese, nullptr, this);
    if (dlg.exec() != QDialog::Accepted) return;
    // Cleared first: a new image's fill would put its own ranges back.
    context_.newImage = false;
    view->fillGridFromImage();
}

void CMainFrame::editOptionalFeatures() { optionalDlg_->exec(); }

void CMainFrame::editMsk() { mskDlg_->exec(); }

void CMainFrame::editDtmf() {
    if (CProgramDoc* doc = activeDocument()) {
        CDtmfCodesDlg dlg(doc->image(), context_.chinese, this);
        dlg.exec();
    }
}

void CMainFrame::editKeyAssignment() {
    if (CProgramDoc* doc = activeDocument()) {
        CKeyAssignmentDlg dlg(doc->image(), context_.chinese, this);
        dlg.exec();
    }
}

void CMainFrame::editStun() {
    CProgramDoc* doc = activeDocument();
    if (!doc || !cps::CPasswordDlg::ask(context_.chinese, this)) return;
    CStunDlg dlg(doc->image(), context_.chinese, this);
    dlg.exec();
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
    if (!cps::CPasswordDlg::ask(ctx.chinese, this)) return;
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
}
