#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>

#include "PortNames.h"
#include "RadioImage.h"

namespace cps {
struct Settings;
}

namespace cps::cli {

// One run speaks one language: --lang when given, else the settings file's. main sets it
// before the first line is printed; every text cps prints itself is picked by it.
void setRunChinese(bool chinese);
bool runChinese();
// The text of the run's language.
QString say(const char* english, const char* chineseText);

// Command-line arguments after the command name: options that take a value, flags, and
// positional arguments in order. Options are looked up as the command named them; "-o" and
// "--output" (likewise "-q" and "--quiet") answer for each other.
struct Args {
    QStringList positional;
    QHash<QString, QString> values;         // the last value of each option
    QHash<QString, QStringList> allValues;  // every value, for options that may repeat
    QSet<QString> flags;
    QString error;  // set when the arguments could not be parsed

    bool has(const QString& option) const {
        return values.contains(option) || flags.contains(option);
    }
    QString value(const QString& option) const { return values.value(option); }
    QStringList all(const QString& option) const { return allValues.value(option); }
};

// The usual conventions: "--port COM1" or "--port=COM1", "-oFILE", "--" ends the options,
// "-" is an argument (standard input or output). Every command also takes -q/--quiet and
// --lang, which main has read already.
Args parseArgs(const QStringList& args, const QStringList& valued, const QStringList& flags = {});

// Prints "cps COMMAND: message" and a pointer to the command's help; returns kUsage.
int usageError(const char* command, const QString& message);

// Load and save with the failure reported as "cps COMMAND: ...".
bool loadImage(const char* command, const QString& path, RadioImage& image);
bool saveImage(const char* command, const QString& path, const RadioImage& image);
// Saves the image to path, or to standard output when path is "-"; error says why not.
bool writeImage(const QString& path, const RadioImage& image, QString* error);
// Writes bytes as they are to standard output; false, with the reason, when any of them did
// not get there (a full disk behind a redirection).
bool writeStandardOutput(const QByteArray& bytes, QString* error);
inline bool isStandardOutput(const QString& path) { return path == QLatin1String("-"); }

// The image a new, unedited document holds when it is first shown or saved: the factory
// image with the new-image settings and the radio type remembered per user.
RadioImage newDocumentImage(const Settings& context);

// A --port value: COM1..COM16 become the link's port names; a device path (anything with
// a slash) stays one, made absolute. False for anything else.
bool portArgument(const QString& arg, QString& name);
// COMn leads where the user assigned it in the per-user settings.
PortResolver userPortResolver(const Settings& context);

}  // namespace cps::cli
