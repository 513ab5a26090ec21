#pragma once

#include <QStringList>
#include <QTextStream>

namespace cps::cli {

// Exit status of every command.
enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

QTextStream& out();
QTextStream& err();

// Each command gets its arguments after the command name.
int runNew(const QStringList& args);
int runChannels(const QStringList& args);
int runInfo(const QStringList& args);
int runRead(const QStringList& args);
int runWrite(const QStringList& args);
int runShow(const QStringList& args);
int runSet(const QStringList& args);
int runService(const QStringList& args);

// Per-command help texts, printed by "cps COMMAND --help".
extern const char* const kNewHelp;
extern const char* const kChannelsHelp;
extern const char* const kInfoHelp;
extern const char* const kReadHelp;
extern const char* const kWriteHelp;
extern const char* const kShowHelp;
extern const char* const kSetHelp;
extern const char* const kServiceHelp;

}  // namespace cps::cli
