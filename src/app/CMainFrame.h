#pragma once

#include <QHash>
#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>
#include <QPointer>
#include <memory>
#include <vector>

#include "ReportPrinting.h"

class CChildFrame;
class ExchangeCommands;
class CMskDlg;
class COptionalFeaturesDlg;
class CProgramDoc;
class CProgramView;
class HelpSystem;
class NavigationBar;
class Prompter;
class QAction;
class QLabel;
class QPrinter;
class QTreeWidgetItem;
namespace cps {
struct AppContext;
class CTwoToneDlg;
}  // namespace cps

// Command ids of the menus, toolbar and accelerators.
namespace cmd {
enum : int {
    ControlBar = 0x8004,
    Read = 0x8005,
    Write = 0x8006,
    ComSetup = 0x8009,
    ChannelInfo = 0x8013,
    OptionalFeatures = 0x8014,
    Dtmf = 0x8015,
    Msk = 0x8016,
    TwoTone = 0x8017,
    HelpTopics = 0x8019,
    Language = 0x801F,
    KeyAssignment = 0x8020,
    ParamAdjust = 0x8021,
    SoftwareInfo = 0x8022,
    SqlTuning = 0x8023,
    Stun = 0x8024,
    ExportPdf = 0x8030,
    EditUndo = 0xE12B,
    EditRedo = 0xE12C,
    RecentFile1 = 0xE110,  // to 0xE113
    FileNew = 0xE100,
    FileOpen = 0xE101,
    FileClose = 0xE102,
    FileSave = 0xE103,
    FileSaveAs = 0xE104,
    PrintSetup = 0xE106,
    Print = 0xE107,
    PrintDirect = 0xE108,
    PrintPreview = 0xE109,
    About = 0xE140,
    Help = 0xE146,
    Exit = 0xE141,
    ViewToolbar = 0xE800,
    ViewStatusBar = 0xE801,
    VerifyAfterWrite = 0x8031,
};
// The Edit menu's clipboard commands, which act on the channel grid's rows.
enum : int {
    EditCopy = 0xE122,
    EditCut = 0xE123,
    EditPaste = 0xE125,
};
}  // namespace cmd

// The client area: tiles "background.bmp" from the program's folder, or the built-in
// picture, from the top-left corner.
class CMdiBackground : public QMdiArea {
    Q_OBJECT
  public:
    explicit CMdiBackground(const QString& programDir, QWidget* parent = nullptr);
    QPixmap tile() const { return tile_; }

  signals:
    void resized();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void reload();
    QString programDir_;
    QPixmap tile_;
};

// The main window. Holds the documents (one shown at a time), their channel windows, the
// navigation bar, menus, toolbar and status bar.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    // context: the program's settings and process-wide values, owned by the start-up.
    explicit CMainFrame(cps::AppContext& context, Prompter* prompter = nullptr,
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* action(int id) const { return actions_.value(id); }
    // A command made outside the frame's own table, found by action() like the others.
    void addCommand(int id, QAction* a) { actions_.insert(id, a); }
    // Removes the start-up trims' commands from the menus (ShowLang 0 removes Language).
    void trimMenus(bool showLanguage);
    QMenu* topMenu(int index) const;

    NavigationBar* navigationBar() const { return nav_; }
    CMdiBackground* mdiArea() const { return mdi_; }
    CChildFrame* activeFrame() const { return current_; }
    CProgramView* activeView() const;
    CProgramDoc* activeDocument() const;
    // The 2-Tone dialog's object, once Edit > 2-Tone made it.
    cps::CTwoToneDlg* twoToneDialog() const { return twoTone_.get(); }
    int documentCount() const { return static_cast<int>(docs_.size()); }
    QLabel* statusMessage() const { return message_; }
    HelpSystem* help() const { return help_.get(); }

    // Document commands.
    void newDocument();
    bool openDocument(const QString& path);
    // confirm: first the question whether to save at all.
    bool saveDocument(bool askForName, bool confirm = true);
    // Before an action that replaces or closes the document: a document with unsaved
    // changes asks whether to save them. False when the action is to be abandoned.
    bool maySaveChanges();
    // Keeps the channel windows inside the client area (after the frame got its size).
    void fitChannelWindows();

  public slots:
    void fileNew();
    void fileOpen();
    void fileClose();
    void fileSave() { saveDocument(false); }
    void fileSaveAs() { saveDocument(true); }
    // Edit > Undo and Redo on the active document.
    void editUndo();
    void editRedo();
    // File > a recent file; a file dropped onto the window.
    bool openRecentOrDropped(const QString& path);
    // The per-user list of the last data files, newest first.
    QStringList recentFiles() const;
    // The folder the file dialogs start in: the one last used for a data file.
    QString dataFolder() const;
    bool transferRunning() const;
    void showChannelWindow();
    void toggleControlBar();
    // The print commands on the active document; Print Setup works without one.
    void filePrint() { printReport(cps::ReportPrinting::Mode::Dialog); }
    void filePrintDirect() { printReport(cps::ReportPrinting::Mode::Direct); }
    void filePrintPreview() { printReport(cps::ReportPrinting::Mode::Preview); }
    void filePrintSetup();
    void fileExportPdf();
    // The service tools on the active document: Param Adjust asks for the access code first;
    // Software Info refills the channel grid after OK.
    void paramAdjust();
    void softwareInfo();
    void sqlTuning();
    // Setup > Language: a different language is written to the settings, then the window
    // closes the usual way and the program starts again (restartRequested).
    void chooseLanguage();
    void showAbout();

    // The feature editors' commands.
    void editOptionalFeatures();
    void editDtmf();
    void editMsk();
    void editKeyAssignment();
    void editStun();
    // Ctrl+F11 in the channel view: with the service access code, service mode.
    void unlockService();

    // Edit > 2-Tone: the frame's 2-Tone dialog, run modally on the active document.
    void showTwoTone();

  signals:
    // The window has closed for a language change; start the program again after exit.
    void restartRequested();

  public:
    COptionalFeaturesDlg* optionalFeaturesDialog() const { return optionalDlg_; }
    CMskDlg* mskDialog() const { return mskDlg_; }
    // Whether an item with the command id is in any menu of the menu bar.
    bool menuBarHas(int id) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Undo and redo.
    void createUndoActions();
    void updateUndoActions();
    // A dialog that edits the image closed: what it changed is one step.
    void recordStep(const char* english, const char* chinese);
    // Recent files.
    void createRecentFiles();
    void rememberFile(const QString& path);
    void forgetFile(const QString& path);
    void updateRecentFiles();
    // Transfers: the commands that would disturb one are locked while it runs, and the
    // status bar says how it ended.
    void connectTransfer(CChildFrame* frame);
    void markSafeWhileBusy();
    void lockForTransfer(bool running);
    void transferFinished(bool write, bool ok);
    // Status bar: the keyboard's lock states, where the platform tells them.
    void updateLockPanes();
    // F6 and Shift+F6: the focus to the next or previous pane.
    void createPaneKeys();
    // A command's prompt leaves the status bar with the pointer.
    void watchPrompts();
    // The title stays [language] Title, also under a maximised channel window.
    void keepTitle();

    struct Command;
    void createActions();
    void createMenus();
    void createClipboardCommands();
    void createToolBar();
    void createStatusBar();
    void createNavigation();
    void createHelp();
    void createVerifySetting();
    void onTreeClicked(QTreeWidgetItem* item);
    void addFrame(std::unique_ptr<CProgramDoc> doc);
    void destroyFrame(CChildFrame* frame);
    QString caption() const;
    void printReport(cps::ReportPrinting::Mode mode);
    // Null without an active document.
    std::unique_ptr<cps::ReportPrinting> reportPrinting();
    QPrinter& printer();

    cps::AppContext& context_;
    Prompter* prompter_;
    CMdiBackground* mdi_ = nullptr;
    NavigationBar* nav_ = nullptr;
    QLabel* message_ = nullptr;
    QHash<int, QAction*> actions_;
    std::vector<std::unique_ptr<CProgramDoc>> docs_;
    CChildFrame* current_ = nullptr;
    std::unique_ptr<QPrinter> printer_;  // kept, so that Print Setup's choices hold
    std::unique_ptr<HelpSystem> help_;
    // Kept for the window's life and run again at every opening.
    COptionalFeaturesDlg* optionalDlg_ = nullptr;
    CMskDlg* mskDlg_ = nullptr;
    // Declared after the documents, so it goes before the image it works on.
    std::unique_ptr<cps::CTwoToneDlg> twoTone_;
    CProgramDoc* twoToneDoc_ = nullptr;
    ExchangeCommands* exchange_ = nullptr;  // Import/Export Channels, Compare with Radio
    QString title_;  // [language] Title: the window's title whatever the channel window does
    std::vector<QAction*> recentActions_;
    QAction* recentSeparator_ = nullptr;
    QLabel* lockPanes_[3] = {};
    QObject* titleKeeper_ = nullptr;
    QString transferNote_;  // a line the running transfer reported (the verify result)
    QList<QPointer<QAction>> lockedByTransfer_;  // enabled again when the transfer ends
    static constexpr const char* kSafeWhileBusy = "safeWhileBusy";
};
