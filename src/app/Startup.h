#pragma once

#include <QIcon>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>
#include <functional>
#include <memory>

class CMainFrame;
class Prompter;
namespace cps {
class SettingsFile;
struct Settings;
}  // namespace cps

// The program's start and exit: settings, language file, splash, main window, the first
// document and the menu trims. Tests run it in-process with a folder of their own.
class Startup {
  public:
    struct Options {
        QString programDir;  // where Program.ini, the language files and pictures are
        QString fileToOpen;  // empty: start with a new image
        Prompter* prompter = nullptr;
        bool splash = true;
        bool showWindow = true;  // false keeps the window hidden (tests, benchmark)
        // What a language change starts again after exit: this program, with these
        // arguments (a data file among them is left out).
        QString programPath;
        QStringList arguments;
        std::function<bool(const QString& program, const QStringList& arguments)> launch;
    };

    explicit Startup(Options options);
    ~Startup();

    // False when the program must end (no language file, or the first document failed).
    bool start();
    // Writes the settings back and, after a language change, starts the program again;
    // call once when the event loop has ended.
    void exit();
    bool restartPending() const { return restart_; }

    CMainFrame* mainFrame() const { return frame_.get(); }
    // The settings as start() read them; empty ones before.
    const cps::Settings& settings() const;
    // The language file the start loaded, empty before.
    QString languageFile() const { return languageFile_; }
    // What came up: the main window's title, the language file, the settings file and its
    // per-user copy (empty when unused).
    QStringList report() const;

    // The program's own icon in every size it is drawn in.
    static QIcon programIcon();

    // Command line: an optional data file and "-nosplash".
    static Options fromArguments(const QStringList& args, const QString& programDir);

  private:
    Options options_;
    QTranslator language_;
    QTranslator qtTexts_;
    bool installed_ = false;
    bool qtInstalled_ = false;
    QLocale previousLocale_;
    bool localeSet_ = false;
    bool restart_ = false;
    QString languageFile_;
    // Built by start(); the main window below reads it and only saves a language choice.
    std::unique_ptr<cps::SettingsFile> file_;
    std::unique_ptr<CMainFrame> frame_;
};
