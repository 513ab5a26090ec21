#include "CommandRegistry.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <map>

namespace {
// The menu bar's titles, in the order of cmd::Menu.
const char* const kMenuTitles[] = {
    QT_TRANSLATE_NOOP("CMainFrame", "&File"),    QT_TRANSLATE_NOOP("CMainFrame", "&Edit"),
    QT_TRANSLATE_NOOP("CMainFrame", "&Program"), QT_TRANSLATE_NOOP("CMainFrame", "Setup"),
    QT_TRANSLATE_NOOP("CMainFrame", "&View"),    QT_TRANSLATE_NOOP("CMainFrame", "&Help"),
};

QString translated(const char* text) { return QCoreApplication::translate("CMainFrame", text); }
}  // namespace

CommandRegistry::CommandRegistry(QMainWindow& window, bool chinese, std::function<bool()> busy)
    : QObject(&window), window_(window), chinese_(chinese), busy_(std::move(busy)) {}

CommandRegistry::~CommandRegistry() = default;

QString CommandRegistry::text(const char* english, const char* chinese) const {
    if (!english) return {};
    if (!chinese) return translated(english);
    return QString::fromUtf8(chinese_ ? chinese : english);
}

QAction* CommandRegistry::makeAction(const Command& c) {
    const QString text = this->text(c.text_, c.zhText_);
    auto* a = new QAction(text, &window_);
    a->setData(c.help_ < 0 ? c.id_ : c.help_);
    a->setObjectName(c.name_ ? QString::fromLatin1(c.name_)
                             : QStringLiteral("cmd_%1").arg(c.id_, 4, 16, QLatin1Char('0')));
    const QStringList prompt = this->text(c.prompt_, c.zhPrompt_).split(QLatin1Char('\n'));
    if (c.prompt_) a->setStatusTip(prompt.value(0));
    if (prompt.size() > 1) a->setToolTip(prompt.value(1));
    if (c.icon_ != QStyle::SP_CustomBase) a->setIcon(window_.style()->standardIcon(c.icon_));
    if (c.checkable_) {
        a->setCheckable(true);
        a->setChecked(c.checked_);
    }
    if (c.keys_) {
        QList<QKeySequence> keys;
        for (const QString& k : QString::fromLatin1(c.keys_).split(QLatin1Char('|')))
            keys << QKeySequence(k);
        if (c.keysInText_) {
            // The item text already shows the key; a separate shortcut avoids showing it twice.
            for (const QKeySequence& k : keys) {
                auto* sc = new QShortcut(k, &window_);
                connect(sc, &QShortcut::activated, a, &QAction::trigger);
            }
        } else {
            a->setShortcuts(keys);
            // In a text field of a dialog the keys stay that field's own.
            a->setShortcutContext(Qt::WindowShortcut);
        }
    }
    if (c.run_) connect(a, &QAction::triggered, this, [run = c.run_] { run(); });
    return a;
}

void CommandRegistry::build(std::vector<Command> table) {
    table_ = std::move(table);
    QMenuBar* bar = window_.menuBar();
    for (const char* title : kMenuTitles) menus_.push_back(bar->addMenu(translated(title)));
    std::map<int, QAction*> onToolbar;
    for (const Command& c : table_) {
        QAction* a = makeAction(c);
        actions_.insert(c.id_, a);
        ids_.push_back(c.id_);
        if (QMenu* m = menu(c.menu_)) {
            if (c.group_ && !m->actions().isEmpty()) separators_.insert(c.id_, m->addSeparator());
            m->addAction(a);
        } else if (c.keys_ && !c.keysInText_) {
            // A key without an item: the window takes it.
            window_.addAction(a);
        }
        if (c.toolbar_ > 0) onToolbar[c.toolbar_] = a;
    }
    toolBar_ = window_.addToolBar(translated("Standard"));
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(18, 19));
    toolBar_->setMovable(true);
    int group = -1;
    for (const auto& [place, a] : onToolbar) {
        if (group >= 0 && place / 10 != group) toolBar_->addSeparator();
        group = place / 10;
        toolBar_->addAction(a);
    }
    refresh();
}

QMenu* CommandRegistry::menu(cmd::Menu menu) const {
    const auto i = static_cast<size_t>(menu);
    return menu != cmd::Menu::None && i < menus_.size() ? menus_[i] : nullptr;
}

bool CommandRegistry::safeWhileBusy(int id) const {
    for (const Command& c : table_)
        if (c.id_ == id) return c.safe_;
    return false;
}

void CommandRegistry::refresh() {
    const bool busy = busy_ && busy_();
    for (const Command& c : table_) {
        QAction* a = actions_.value(c.id_);
        if (a) a->setEnabled((c.safe_ || !busy) && (!c.when_ || c.when_()));
    }
}
