#pragma once

#include <QStringList>
#include <QTextStream>

namespace cps {
struct Settings;
}

namespace cps::cli {

// Exit status of every command.
enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

QTextStream& out();
QTextStream& err();

// Each command gets its arguments after the command name and the program's settings, which
// main loads.
int runNew(const QStringList& args, const Settings& context);
int runChannels(const QStringList& args, const Settings& context);
int runInfo(const QStringList& args, const Settings& context);
int runRead(const QStringList& args, const Settings& context);
int runWrite(const QStringList& args, const Settings& context);
int runShow(const QStringList& args, const Settings& context);
int runSet(const QStringList& args, const Settings& context);
int runService(const QStringList& args, const Settings& context);
int runPorts(const QStringList& args, const Settings& context);
int runPrint(const QStringList& args, const Settings& context);
int runExportCsv(const QStringList& args, const Settings& context);
int runImportCsv(const QStringList& args, const Settings& context);
int runExportJson(const QStringList& args, const Settings& context);
int runImportJson(const QStringList& args, const Settings& context);
int runDiff(const QStringList& args, const Settings& context);
int runFleet(const QStringList& args, const Settings& context);

// Per-command help texts, printed by "cps COMMAND --help", in English and in Chinese.
extern const char* const kNewHelp;
extern const char* const kChannelsHelp;
extern const char* const kInfoHelp;
extern const char* const kReadHelp;
extern const char* const kWriteHelp;
extern const char* const kShowHelp;
extern const char* const kSetHelp;
extern const char* const kServiceHelp;
extern const char* const kPrintHelp;
extern const char* const kExportCsvHelp;
extern const char* const kImportCsvHelp;
extern const char* const kExportHelp;
extern const char* const kImportHelp;
extern const char* const kDiffHelp;
extern const char* const kPortsHelp;
extern const char* const kNewHelpZh;
extern const char* const kChannelsHelpZh;
extern const char* const kInfoHelpZh;
extern const char* const kShowHelpZh;
extern const char* const kSetHelpZh;
extern const char* const kReadHelpZh;
extern const char* const kWriteHelpZh;
extern const char* const kServiceHelpZh;
extern const char* const kPortsHelpZh;
extern const char* const kExportCsvHelpZh;
extern const char* const kImportCsvHelpZh;
extern const char* const kExportHelpZh;
extern const char* const kImportHelpZh;
extern const char* const kDiffHelpZh;
extern const char* const kPrintHelpZh;
extern const char* const kFleetHelp;
extern const char* const kFleetHelpZh;

}  // namespace cps::cli
