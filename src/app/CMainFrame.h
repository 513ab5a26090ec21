#pragma once

#include <QMainWindow>
#include <memory>
#include <vector>

#include "CommandIds.h"
#include "MdiBackground.h"
#include "Workspace.h"

class CChildFrame;
class Command;
class CommandRegistry;
class CProgramDoc;
class CProgramView;
class EditorLaunchers;
class ExchangeCommands;
class FleetCommand;
class HelpSystem;
class NavigationBar;
class PrintCommands;
class Prompter;
class QAction;
class QDialog;
class QLabel;
class QMenu;
class RecentFiles;
class Session;
class StatusPanes;
namespace cps {
class LanguageStore;
struct Settings;
}  // namespace cps

// The main window. Holds the documents (one shown at a time), their channel windows, the
// navigation bar, menus, toolbar and status bar. Its commands are the lines of its command
// table (CommandTable.cpp); the editors are the lines of EditorLaunchers::standard().
class CMainFrame : public QMainWindow, public Workspace {
    Q_OBJECT
  public:
    // settings: as read at start-up; languages: where Setup > Language saves the choice.
    // Both are the start-up's and outlive the window.
    CMainFrame(const cps::Settings& settings, cps::LanguageStore& languages,
               Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* action(int id) const;
    QMenu* menu(cmd::Menu menu) const;
    CommandRegistry& commands() const { return *commands_; }
    // What the documents share while the program runs.
    Session& session() const { return *session_; }
    // Removes the start-up trims' commands from the menus (ShowLang 0 removes Language).
    void trimMenus(bool showLanguage);
    // Whether an item with the command id is in any menu of the menu bar.
    bool menuBarHas(int id) const;

    NavigationBar* navigationBar() const { return nav_; }
    CMdiBackground* mdiArea() const { return mdi_; }
    CChildFrame* activeFrame() const override { return current_; }
    QWidget* dialogParent() override { return this; }
    CProgramView* activeView() const;
    CProgramDoc* activeDocument() const;
    // An editor's dialog that outlives its opening (Optional Features, MSK, 2-Tone), once made.
    QDialog* editorDialog(int command) const;
    int documentCount() const { return static_cast<int>(docs_.size()); }
    QLabel* statusMessage() const;
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

    // File > a recent file; a file dropped onto the window.
    bool openRecentOrDropped(const QString& path);
    // The per-user list of the last data files, newest first.
    QStringList recentFiles() const;
    // The folder the file dialogs start in: the one last used for a data file.
    QString dataFolder() const;
    // Whether a transfer holds a document: the commands that change one are off meanwhile.
    bool transferRunning() const;

  signals:
    // The window has closed for a language change; start the program again after exit.
    void restartRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The command table: every command of the menus, toolbar and keys.
    std::vector<Command> commandTable();

    void fileNew();
    void fileOpen();
    void fileClose();
    void programRead();
    void editUndo();
    void editRedo();
    // The undo items name the steps; they and every rule follow the documents.
    void updateCommands();
    void onView(void (CProgramView::*run)());
    void showChannelWindow();
    void toggleControlBar();
    // Setup > Language: a different language is written to the settings, then the window
    // closes the usual way and the program starts again (restartRequested).
    void chooseLanguage();
    void showAbout();
    // F1 in the main window: the navigation tree's page over the tree, else the main
    // window's (the channel view and the dialogs answer F1 themselves).
    void helpOnFocus();
    // Ctrl+F11 in the channel view: with the service access code, service mode.
    void unlockService();

    // A transfer started or ended on a document; it ended (ok: completed).
    void busyChanged(bool running);
    void transferFinished(bool write, bool ok);

    void createNavigation();
    void createHelp();
    void addFrame(std::unique_ptr<CProgramDoc> doc);
    void destroyFrame(CChildFrame* frame);
    QString caption() const;

    const cps::Settings& settings_;
    cps::LanguageStore& languages_;
    Prompter* prompter_;
    Session* session_ = nullptr;
    CommandRegistry* commands_ = nullptr;
    CMdiBackground* mdi_ = nullptr;
    NavigationBar* nav_ = nullptr;
    StatusPanes* panes_ = nullptr;
    std::vector<std::unique_ptr<CProgramDoc>> docs_;
    CChildFrame* current_ = nullptr;
    std::unique_ptr<HelpSystem> help_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<PrintCommands> print_;
    ExchangeCommands* exchange_ = nullptr;  // Import/Export Channels, Compare with Radio
    FleetCommand* fleet_ = nullptr;
    // Declared after the documents, so that its dialogs go before the images they work on.
    std::unique_ptr<EditorLaunchers> editors_;
    QString title_;  // [language] Title: the window's title whatever the channel window does
    QObject* titleKeeper_ = nullptr;
};
