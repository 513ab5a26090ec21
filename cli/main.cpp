// cps: the command-line side of the programming tool. Works on ".dat" images and, with a
// programming cable, on the radio itself.
#include <QCoreApplication>
#include <QFileInfo>
#include <QTranslator>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#ifdef CPS_HAVE_PRINT
#include <QGuiApplication>
#endif

#include "CliCommon.h"
#include "Commands.h"
#include "Settings.h"
#include "TerminalText.h"
#include "Version.h"

namespace cps::cli {

// Every line cps prints passes a device that escapes control characters: image texts, file
// names and typed values reach the terminal as \xNN, never as commands to it.
QTextStream& out() {
    static TerminalDevice device(stdout, true);
    static QTextStream s(&device);
    return s;
}

QTextStream& err() {
    static TerminalDevice device(stderr, false);
    static QTextStream s(&device);
    return s;
}

namespace {

struct Command {
    const char* name;
    const char* summary;
    const char* summaryZh;
    int (*run)(const QStringList&, const cps::Settings&);
    const char* const* help;
    const char* const* helpZh = nullptr;
};

const Command kCommands[] = {
    {"new", "write the image a new document saves", "写出新建、未编辑的文档保存时的映像", runNew,
     &kNewHelp, &kNewHelpZh},
    {"channels", "print or import the channel table of an image", "打印或导入映像的信道表",
     runChannels, &kChannelsHelp, &kChannelsHelpZh},
    {"info", "print the bands, model, band code, type and password state",
     "打印频段、机型、频段代码、类型和密码状态", runInfo, &kInfoHelp, &kInfoHelpZh},
    {"show", "print the editor sections of an image", "打印映像的各编辑区", runShow, &kShowHelp,
     &kShowHelpZh},
    {"set", "change fields of one editor section", "修改一个编辑区的字段", runSet, &kSetHelp,
     &kSetHelpZh},
    {"read", "read a radio into an image file", "把对讲机读入映像文件", runRead, &kReadHelp,
     &kReadHelpZh},
    {"write", "write an image file to a radio", "把映像文件写入对讲机", runWrite, &kWriteHelp,
     &kWriteHelpZh},
    {"fleet", "write a document to many radios, each with its own values",
     "把一个文档写入多台对讲机，每台用自己的值", runFleet, &kFleetHelp, &kFleetHelpZh},
    {"ports", "list the system's serial ports and their COM numbers", "列出系统的串口及其 COM 号",
     runPorts, &kPortsHelp, &kPortsHelpZh},
    {"service", "read or write the param or sql section alone", "单独读写 param 或 sql 区",
     runService, &kServiceHelp, &kServiceHelpZh},
    {"export-csv", "write the channels as a CSV channel list", "把信道写成 CSV 信道列表",
     runExportCsv, &kExportCsvHelp, &kExportCsvHelpZh},
    {"import-csv", "type a CSV channel list into an image", "把 CSV 信道列表录入映像", runImportCsv,
     &kImportCsvHelp, &kImportCsvHelpZh},
    {"export", "write the whole configuration as JSON", "把整个配置写成 JSON", runExportJson,
     &kExportHelp, &kExportHelpZh},
    {"import", "apply a JSON configuration to an image", "把 JSON 配置应用到映像", runImportJson,
     &kImportHelp, &kImportHelpZh},
    {"diff", "list the differences between two images", "列出两个映像的差别", runDiff, &kDiffHelp,
     &kDiffHelpZh},
#ifdef CPS_HAVE_PRINT
    {"print", "write the printed report of an image as a PDF", "把映像的打印报告写成 PDF", runPrint,
     &kPrintHelp, &kPrintHelpZh},
#endif
};

// A command's help in the run's language; where it has no Chinese text yet, the English.
QString commandHelp(const Command& c) {
    return say(*c.help, c.helpZh && *c.helpZh ? *c.helpZh : *c.help);
}

const Command* findCommand(const QString& name) {
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

void usage(QTextStream& s) {
    s << say(
        "Usage: cps COMMAND [OPTIONS] [--] [ARGUMENTS]\n\n"
        "Programming tool for the hand-held FM radio: works on 4096-byte \".dat\" images.\n\n"
        "Commands:\n",
        "用法：cps 命令 [选项] [--] [参数]\n\n"
        "手持调频对讲机的编程工具：处理 4096 字节的 \".dat\" 映像文件。\n\n"
        "命令：\n");
    for (const Command& c : kCommands)
        s << QStringLiteral("  %1  %2\n")
                 .arg(QLatin1String(c.name), -10)
                 .arg(say(c.summary, c.summaryZh));
    s << say(
        "\n"
        "Options:\n"
        "  -h, --help          describe the program, or with a command that command\n"
        "  -V, --version       print the version\n"
        "  -o, --output FILE   the file a command writes (\"-\": standard output)\n"
        "  -q, --quiet         no progress display\n"
        "  --lang en|zh        the language of everything cps prints (default: the\n"
        "                      program's language setting)\n"
        "Options take their value as \"--port COM1\" or \"--port=COM1\"; \"--\" ends the\n"
        "options, so that a file name may start with \"-\".\n\n"
        "\"cps COMMAND --help\" or \"cps help COMMAND\" describes a command.\n"
        "Exit status: 0 success, 1 failure (message on stderr, nothing written), 2 wrong "
        "usage;\n"
        "cps diff, like diff: 0 the same, 1 different, 2 trouble.\n",
        "\n"
        "选项：\n"
        "  -h, --help          说明本程序；跟在命令后则说明该命令\n"
        "  -V, --version       打印版本\n"
        "  -o, --output 文件   命令写出的文件（\"-\"：标准输出）\n"
        "  -q, --quiet         不显示进度\n"
        "  --lang en|zh        cps 输出的语言（默认：程序的语言设置）\n"
        "选项的值可写成 \"--port COM1\" 或 \"--port=COM1\"；\"--\" 结束选项，\n"
        "此后的文件名可以 \"-\" 开头。\n\n"
        "\"cps 命令 --help\" 或 \"cps help 命令\" 说明一个命令。\n"
        "退出状态：0 成功，1 失败（stderr 上有说明，不写任何文件），2 用法错误；\n"
        "cps diff 与 diff 相同：0 相同，1 不同，2 出错。\n");
}

// The value of --lang among the options (before "--"), null when none is given.
QString languageOption(const QStringList& args) {
    QString value;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--")) break;
        if (a == QLatin1String("--lang"))
            value = args.value(++i);  // none: the command says a value is missing
        else if (a.startsWith(QLatin1String("--lang=")))
            value = a.mid(7);
    }
    return value;
}

// -h or --help among a command's options; after "--" it is a file name.
bool asksForHelp(const QStringList& args) {
    for (const QString& a : args) {
        if (a == QLatin1String("--")) return false;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) return true;
    }
    return false;
}

// Qt's own notes (a missing runtime folder, font fallbacks) are for developers: a user sees
// only what cps says. CPS_QT_MESSAGES=1 lets them through.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg || type == QtCriticalMsg || qEnvironmentVariableIsSet("CPS_QT_MESSAGES"))
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

#ifdef CPS_HAVE_PRINT
bool asksForHelp(int argc, char** argv) {
    QStringList args;
    for (int i = 2; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return asksForHelp(args);
}
#endif

// The port messages' Chinese texts come from the program's language file beside cps; every
// other text of cps carries both languages itself.
void loadLanguage(const cps::Settings& context, QTranslator& translator) {
    if (!context.chinese) return;
    if (translator.load(QStringLiteral("Chinese"), QCoreApplication::applicationDirPath()))
        QCoreApplication::installTranslator(&translator);
}

// The report needs fonts and a painter, which come with a GUI application; without a display
// it draws off screen.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
#ifdef CPS_HAVE_PRINT
    if (argc > 1 && std::strcmp(argv[1], "print") == 0 && !asksForHelp(argc, argv)) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        return std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace
}  // namespace cps::cli

int main(int argc, char** argv) {
    using namespace cps::cli;
    qInstallMessageHandler(quietQt);
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);

    // The settings file beside the program names the per-user store ([Setup] AppName) and
    // the default language. The command-line tool never creates or changes it.
    const QString dir = QCoreApplication::applicationDirPath();
    cps::SettingsFile file;
    const bool settingsFailed =
        QFileInfo::exists(dir + QStringLiteral("/Program.ini")) && !file.open(dir);
    cps::Settings context = file.settings();
    // --lang overrides the settings file for the whole run, before anything is printed.
    const QString lang = languageOption(args);
    // Also before the command: "cps --lang zh info FILE".
    if (args.value(0) == QLatin1String("--lang"))
        args.remove(0, qMin(2, int(args.size())));
    else if (args.value(0).startsWith(QLatin1String("--lang=")))
        args.removeFirst();
    const bool langValid =
        lang.isNull() || lang == QLatin1String("en") || lang == QLatin1String("zh");
    if (!lang.isNull() && langValid) {
        context.chinese = lang == QLatin1String("zh");
        context.languageName =
            context.chinese ? QStringLiteral("Chinese") : QStringLiteral("English");
    }
    setRunChinese(context.chinese);
    if (settingsFailed)
        err() << "cps: " << file.errorString() << say("; going on without it", "；不用它继续")
              << '\n';
    QTranslator translator;
    loadLanguage(context, translator);

    if (args.isEmpty()) {
        usage(err());
        return kUsage;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--version") || name == QLatin1String("-V") ||
        name == QLatin1String("version")) {
        out() << "cps " << cps::kVersion << "\n";
        return kOk;
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        // The language was taken above; what is left names the command.
        for (int i = 0; i < args.size();) {
            if (args[i] == QLatin1String("--lang"))
                args.remove(i, qMin(2, int(args.size()) - i));
            else if (args[i].startsWith(QLatin1String("--lang=")))
                args.remove(i);
            else
                ++i;
        }
        if (args.isEmpty()) {
            usage(out());
            return kOk;
        }
        if (const Command* c = findCommand(args.first())) {
            out() << commandHelp(*c);
            return kOk;
        }
        err() << say("cps: unknown command '%1'", "cps：未知命令 '%1'").arg(args.first()) << "\n\n";
        usage(err());
        return kUsage;
    }
    const Command* c = findCommand(name);
    if (!c) {
        err() << say("cps: unknown command '%1'", "cps：未知命令 '%1'").arg(name) << "\n\n";
        usage(err());
        return kUsage;
    }
    if (asksForHelp(args)) {
        out() << commandHelp(*c);
        return kOk;
    }
    if (!langValid) return usageError(c->name, say("--lang takes en or zh", "--lang 取 en 或 zh"));
    int status = c->run(args, context);
    errno = 0;
    out().flush();
    // Output that never arrived (a full disk behind a redirection) is no success, and for
    // diff, whose 1 means "different", it is trouble.
    // A command that failed already said why.
    const bool diff = name == QLatin1String("diff");
    const bool reported = status == kUsage || (status == kFailed && !diff);
    if (!reported &&
        (out().status() != QTextStream::Ok || std::fflush(stdout) != 0 || std::ferror(stdout))) {
        const int why = errno;
        err() << "cps " << name << ": "
              << say("cannot write to standard output", "无法写入标准输出")
              << (why ? QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(why))
                      : QString())
              << '\n';
        status = diff ? kUsage : kFailed;
    }
    err().flush();
    return status;
}
