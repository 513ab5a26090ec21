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

#include "AppContext.h"
#include "Commands.h"
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
    int (*run)(const QStringList&, const cps::AppContext&);
    const char* const* help;
};

const Command kCommands[] = {
    {"new", "write the image a new document saves", runNew, &kNewHelp},
    {"channels", "print or import the channel table of an image", runChannels, &kChannelsHelp},
    {"info", "print the bands, model, band code, type and password state", runInfo, &kInfoHelp},
    {"show", "print the editor sections of an image", runShow, &kShowHelp},
    {"set", "change fields of one editor section", runSet, &kSetHelp},
    {"read", "read a radio into an image file", runRead, &kReadHelp},
    {"write", "write an image file to a radio", runWrite, &kWriteHelp},
    {"fleet", "write a document to many radios, each with its own values", runFleet, &kFleetHelp},
    {"ports", "list the system's serial ports and their COM numbers", runPorts, &kPortsHelp},
    {"service", "read or write the param or sql section alone", runService, &kServiceHelp},
    {"export-csv", "write the channels as a CSV channel list", runExportCsv, &kExportCsvHelp},
    {"import-csv", "type a CSV channel list into an image", runImportCsv, &kImportCsvHelp},
    {"export", "write the whole configuration as JSON", runExportJson, &kExportHelp},
    {"import", "apply a JSON configuration to an image", runImportJson, &kImportHelp},
    {"diff", "list the differences between two images", runDiff, &kDiffHelp},
#ifdef CPS_HAVE_PRINT
    {"print", "write the printed report of an image as a PDF", runPrint, &kPrintHelp},
#endif
};

const Command* findCommand(const QString& name) {
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

void usage(QTextStream& s) {
    s << "Usage: cps COMMAND [OPTIONS] [--] [ARGUMENTS]\n\n"
         "Programming tool for the hand-held FM radio: works on 4096-byte \".dat\" images.\n\n"
         "Commands:\n";
    for (const Command& c : kCommands)
        s << QStringLiteral("  %1  %2\n")
                 .arg(QLatin1String(c.name), -10)
                 .arg(QLatin1String(c.summary));
    s << "\n"
         "Options:\n"
         "  -h, --help          describe the program, or with a command that command\n"
         "  -V, --version       print the version\n"
         "  -o, --output FILE   the file a command writes (\"-\": standard output)\n"
         "  -q, --quiet         no progress display\n"
         "Options take their value as \"--port COM1\" or \"--port=COM1\"; \"--\" ends the\n"
         "options, so that a file name may start with \"-\".\n\n"
         "\"cps COMMAND --help\" or \"cps help COMMAND\" describes a command.\n"
         "Exit status: 0 success, 1 failure (message on stderr, nothing written), 2 wrong usage;\n"
         "cps diff, like diff: 0 the same, 1 different, 2 trouble.\n";
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

// The port messages' Chinese texts come from the program's language file beside cps.
void loadLanguage(const cps::AppContext& context, QTranslator& translator) {
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
    cps::AppContext& context = cps::app();
    if (QFileInfo::exists(dir + QStringLiteral("/Program.ini")) && !context.loadSettings(dir))
        err() << "cps: " << context.profile.errorString() << "; going on without it\n";
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
        if (args.isEmpty()) {
            usage(out());
            return kOk;
        }
        if (const Command* c = findCommand(args.first())) {
            out() << *c->help;
            return kOk;
        }
        err() << "cps: unknown command '" << args.first() << "'\n\n";
        usage(err());
        return kUsage;
    }
    const Command* c = findCommand(name);
    if (!c) {
        err() << "cps: unknown command '" << name << "'\n\n";
        usage(err());
        return kUsage;
    }
    if (asksForHelp(args)) {
        out() << *c->help;
        return kOk;
    }
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
        err() << "cps " << name << ": cannot write to standard output"
              << (why ? QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(why))
                      : QString())
              << '\n';
        status = diff ? kUsage : kFailed;
    }
    err().flush();
    return status;
}
