#pragma once

// The desktop program started in-process on a folder of its own.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "ScriptedPrompter.h"
#include "Startup.h"

class CMainFrame;
class Prompter;
class QWidget;

namespace cps::test {

// Program.ini of a test program: its language and name, and both languages' titles.
// moreSetup is added to [Setup], a line each ("ShowLang=1").
QByteArray programIni(const QString& language = QStringLiteral("English"),
                      const QStringList& moreSetup = {},
                      const QString& appName = QStringLiteral("TestRadio"));

// A program folder deleted with the object: Program.ini, files copied from the build's
// program folder (the two language files unless told otherwise), and the per-user store
// pointed into it (CPS_USER_STORE), so that no test reads or writes a real one.
class ProgramFolder {
  public:
    explicit ProgramFolder(const QByteArray& ini = programIni(),
                           const QStringList& fromBuild = languageFiles());
    static QStringList languageFiles();

    // Empty when the folder is ready; else what went wrong.
    QString error() const { return error_; }
    QString path() const { return dir_.path(); }
    // The folder ending in a slash, as the program wants it.
    QString dir() const;
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    bool write(const QString& name, const QByteArray& bytes) const;
    // Empty when the file cannot be read.
    QByteArray read(const QString& name) const;

  private:
    QTemporaryDir dir_;
    QString error_;
};

// Start options for the folder, answered by prompter: no splash, the window shown, and a
// language change's restart accepted without starting anything.
Startup::Options startOptions(const ProgramFolder& folder, Prompter& prompter);

// What a test of the desktop program keeps: the program's folder, the prompter that answers
// its message boxes and dialogs, and its start.
class DesktopFixture {
  protected:
    std::unique_ptr<ProgramFolder> dir_;
    ScriptedPrompter prompter_;
    std::unique_ptr<Startup> startup_;

    QString path(const QString& name) const { return dir_->filePath(name); }
    CMainFrame* frame() const { return startup_->mainFrame(); }
};

// Shows the window, makes it the active one and waits until the window system says so.
bool showActive(QWidget* window);

}  // namespace cps::test
