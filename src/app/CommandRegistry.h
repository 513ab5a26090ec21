#pragma once

#include <QHash>
#include <QObject>
#include <QStyle>
#include <functional>
#include <vector>

#include "CommandIds.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// One command of the main window: its id, texts, keys, place in the menus and on the
// toolbar, when it may run and what it does. Written as one line of the command table:
//   Command(cmd::FileNew, "&New\tCtrl+N", "Create a new document\nNew").keys("Ctrl+N")...
class Command {
  public:
    // text: the item; prompt: the status bar's prompt, then the tooltip after a line break.
    // Both go through the language file unless chinese() gives their Chinese here.
    Command(int id, const char* text, const char* prompt) : id_(id), text_(text), prompt_(prompt) {}

    Command& chinese(const char* text, const char* prompt) {
        zhText_ = text;
        zhPrompt_ = prompt;
        return *this;
    }
    // Keys, separated by '|'. shownInText: the item's text shows the key already (with
    // spaces, not a tab); the key then works beside the item, not through it.
    Command& keys(const char* keys, bool shownInText = false) {
        keys_ = keys;
        keysInText_ = shownInText;
        return *this;
    }
    Command& icon(QStyle::StandardPixmap icon) {
        icon_ = icon;
        return *this;
    }
    // In a menu, after the commands listed before it; group: a separator before it.
    Command& menu(cmd::Menu menu, bool group = false) {
        menu_ = menu;
        group_ = group;
        return *this;
    }
    // On the toolbar: tens the group (a separator between groups), units the order.
    Command& toolbar(int place) {
        toolbar_ = place;
        return *this;
    }
    // Only shows things: stays usable while the document is busy.
    Command& safeWhileBusy() {
        safe_ = true;
        return *this;
    }
    // A further condition for being enabled.
    Command& when(std::function<bool()> enabled) {
        when_ = std::move(enabled);
        return *this;
    }
    Command& checkable(bool checked) {
        checkable_ = true;
        checked_ = checked;
        return *this;
    }
    // The action's object name, when it is not cmd_<id in hex>.
    Command& name(const char* objectName) {
        name_ = objectName;
        return *this;
    }
    // The help page F1 shows over the item; 0: the main window's.
    Command& helpTopic(int id) {
        help_ = id;
        return *this;
    }
    Command& run(std::function<void()> action) {
        run_ = std::move(action);
        return *this;
    }

    int id() const { return id_; }

  private:
    friend class CommandRegistry;
    int id_;
    const char* text_;
    const char* prompt_;
    const char* zhText_ = nullptr;
    const char* zhPrompt_ = nullptr;
    const char* keys_ = nullptr;
    bool keysInText_ = false;
    QStyle::StandardPixmap icon_ = QStyle::SP_CustomBase;
    cmd::Menu menu_ = cmd::Menu::None;
    bool group_ = false;
    int toolbar_ = 0;
    bool safe_ = false;
    std::function<bool()> when_;
    bool checkable_ = false;
    bool checked_ = false;
    const char* name_ = nullptr;
    int help_ = -1;  // -1: the id
    std::function<void()> run_;
};

// The main window's commands: makes their actions, the menu bar and the toolbar from the
// command table, and enables each by its rule. While the document is busy (a transfer
// uses it or the radio), every command that is not safe while busy is off.
class CommandRegistry : public QObject {
    Q_OBJECT
  public:
    // busy: whether a transfer holds the document.
    CommandRegistry(QMainWindow& window, bool chinese, std::function<bool()> busy);
    ~CommandRegistry() override;

    // Makes the actions, the menus in the table's order and the toolbar.
    void build(std::vector<Command> table);

    QAction* action(int id) const { return actions_.value(id); }
    QMenu* menu(cmd::Menu menu) const;
    QToolBar* toolBar() const { return toolBar_; }
    // The separator a command's group starts with in its menu, if any.
    QAction* separatorBefore(int id) const { return separators_.value(id); }
    // Every command's id, in the table's order.
    const std::vector<int>& ids() const { return ids_; }
    bool safeWhileBusy(int id) const;

    // Enables every command by its rule; after a change of the busy state or of a rule's
    // facts (the undo history, say).
    void refresh();

  private:
    QAction* makeAction(const Command& c);
    QString text(const char* english, const char* chinese) const;

    QMainWindow& window_;
    bool chinese_;
    std::function<bool()> busy_;
    std::vector<Command> table_;
    std::vector<int> ids_;
    QHash<int, QAction*> actions_;
    QHash<int, QAction*> separators_;
    std::vector<QMenu*> menus_;
    QToolBar* toolBar_ = nullptr;
};
