#pragma once

#include <QString>
#include <memory>

#include "Pick.h"
#include "ProfileStore.h"
#include "RadioImage.h"
#include "UserStore.h"

namespace cps {

// The settings the whole process shares, in one place: settings file, language, program
// folder and the SQL-writing switch as read. Only the program's start-up and the command
// line's main take it; everything below is handed what it needs. What changes while the
// desktop program runs is its main window's Session. (The band limits in use belong to the
// document's channel table.)
struct AppContext {
    ProfileStore profile;  // "Program.ini" beside the program, or its per-user copy
    bool chinese = false;  // language flag: [Setup] Language == "Chinese"
    QString languageName;  // [Setup] Language as written
    QString helpFileName = QStringLiteral("enHelp.rcc");
    QString programDir;         // ends with a separator
    int sqlWritingAllowed = 0;  // [Setup] EnableSql as read
    QString appName;            // [language] Company, the caption of message boxes

    // Reads Program.ini from programDir and sets the language values and the switch
    // (start-up steps 2 to 4 and 16). Returns whether the file could be opened. When the
    // user cannot write it (an installed program; CPS_READONLY_PROGRAM_DIR=1 pretends so),
    // the per-user copy is read first and takes what the program writes back.
    bool loadSettings(const QString& programDirectory);

    // Where the per-user copy of Program.ini lives: CPS_USER_PROFILE when set, otherwise
    // "Software/<AppName>/Program.ini" in the user's configuration folder, beside the
    // per-user store, shared by the desktop program and the command-line tool.
    QString userProfilePath() const;

    // [Setup] AppName: the per-user store's key and the name proposed for a new file.
    QString setupAppName() const;
    // The per-user store for this application.
    UserStore userStore() const;

    // Picks the text of the current language.
    QString text(const char* english, const char* chinese) const;

    // Writes [Setup] EnableSql back as the switch stands and saves the settings file
    // (program exit). False, with the reason in profile.errorString(), when the file could
    // not be written.
    bool saveOnExit(int sqlWriting);

    // The step before every grid fill: an image from New takes the remembered radio type
    // and the new-image settings; any other image has its type byte remembered.
    void prepareFill(RadioImage& image, bool imageFromNew) const;
};

// The process's context, for the program's start-up and the command line's main only.
AppContext& app();

}  // namespace cps
