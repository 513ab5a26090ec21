#pragma once

#include <QString>

#include "Pick.h"
#include "ProfileStore.h"
#include "RadioImage.h"
#include "UserStore.h"

namespace cps {

class SettingsFile;

// The settings as read once at start-up: language, program folder, the SQL switch as it was
// read, the caption of message boxes, and the settings file's own lines for texts a dialog
// looks up. Only the program's start-up and the command line's main build them (from the
// SettingsFile they own); everything below is handed a const reference. What changes while
// the desktop program runs is its main window's Session.
struct Settings {
    bool chinese = false;  // language flag: [Setup] Language == "Chinese"
    QString languageName;  // [Setup] Language as written
    QString helpFileName = QStringLiteral("enHelp.rcc");
    QString programDir;         // ends with a separator
    int sqlWritingAllowed = 0;  // [Setup] EnableSql as read
    QString appName;            // [language] Company, the caption of message boxes

    // The settings file as read (empty before one is opened). Lives as long as the
    // SettingsFile these settings came from.
    const ProfileStore& profile() const;

    // [Setup] AppName: the per-user store's key and the name proposed for a new file.
    QString setupAppName() const;
    // The per-user store for this application.
    UserStore userStore() const;

    // Picks the text of the current language.
    QString text(const char* english, const char* chinese) const;

    // The step before every grid fill: an image from New takes the remembered radio type
    // and the new-image settings; any other image has its type byte remembered.
    void prepareFill(RadioImage& image, bool imageFromNew) const;

  private:
    friend class SettingsFile;
    const ProfileStore* file_ = nullptr;
};

// What the main window may write to the settings file: the language chosen for a restart.
class LanguageStore {
  public:
    virtual ~LanguageStore() = default;
    // Writes [Setup] Language to the file at once, so the restarted program reads it. On
    // failure the value in memory is put back and why names the file and the reason.
    virtual bool saveLanguage(const QString& language, QString* why) = 0;
};

// "Program.ini" beside the program, or its per-user copy, owned by the program's start-up or
// the command line's main: the one place that writes it.
class SettingsFile : public LanguageStore {
  public:
    SettingsFile() = default;
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Reads Program.ini from programDirectory and the values settings() gives (start-up
    // steps 2 to 4 and 16). Returns whether the file could be opened. When the user cannot
    // write it (an installed program; CPS_READONLY_PROGRAM_DIR=1 pretends so), the per-user
    // copy is read first and takes what the program writes back.
    bool open(const QString& programDirectory);
    const Settings& settings() const { return settings_; }

    // Where the per-user copy of Program.ini lives: CPS_USER_PROFILE when set, otherwise
    // "Software/<AppName>/Program.ini" in the user's configuration folder, beside the
    // per-user store, shared by the desktop program and the command-line tool.
    QString userProfilePath() const;

    bool saveLanguage(const QString& language, QString* why) override;
    // Writes [Setup] EnableSql back as the switch stands and saves the file (program
    // exit). False, with the reason in errorString(), when the file could not be written.
    bool saveOnExit(int sqlWriting);
    QString errorString() const { return profile_.errorString(); }

  private:
    ProfileStore profile_;
    Settings settings_;
};

}  // namespace cps
