#include "CliCommon.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

#include "Commands.h"
#include "DataFile.h"
#include "Pick.h"
#include "PortNames.h"
#include "Settings.h"
#include "UserStore.h"
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace cps::cli {

namespace {
bool gChinese = false;
}  // namespace

void setRunChinese(bool chinese) { gChinese = chinese; }
bool runChinese() { return gChinese; }
QString say(const char* english, const char* chineseText) {
    return pick(gChinese, english, chineseText);
}

namespace {

// "-o" and "--output" are one option, as are "-q" and "--quiet"; every other option is known
// by its long name alone.
QStringList optionNames(const QString& option) {
    if (option == QLatin1String("-o") || option == QLatin1String("--output"))
        return {QStringLiteral("o"), QStringLiteral("output")};
    if (option == QLatin1String("-q") || option == QLatin1String("--quiet"))
        return {QStringLiteral("q"), QStringLiteral("quiet")};
    QString name = option;
    while (name.startsWith(QLatin1Char('-'))) name.remove(0, 1);
    return {name};
}

// The spellings a command may ask Args for: "-o" and "--output" alike.
QStringList keysOf(const QStringList& names) {
    QStringList keys;
    for (const QString& n : names)
        keys << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    return keys;
}

// The option as the user wrote it, for the message: "--foo" of "--foo=1", "-x" of "-x".
QString spelling(const QStringList& args, const QString& name) {
    for (const QString& s : args) {
        if (s == QLatin1String("--")) break;
        if (s.startsWith(QLatin1String("--"))) {
            if (s.mid(2).section(QLatin1Char('='), 0, 0) == name)
                return s.section(QLatin1Char('='), 0, 0);
        } else if (s.startsWith(QLatin1Char('-')) && s.mid(1).contains(name)) {
            return s;
        }
    }
    return keysOf({name}).first();
}

}  // namespace

Args parseArgs(const QStringList& args, const QStringList& valued, const QStringList& flags) {
    struct Known {
        QStringList names;
        bool valued;
    };
    QList<Known> known;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    auto add = [&](const QString& option, bool takesValue) {
        const QStringList names = optionNames(option);
        for (const Known& k : known)
            if (k.names == names) return;
        known.append({names, takesValue});
        parser.addOption(
            QCommandLineOption(names, QString(), takesValue ? QStringLiteral("value") : QString()));
    };
    for (const QString& v : valued) add(v, true);
    for (const QString& f : flags) add(f, false);
    add(QStringLiteral("--quiet"), false);  // every command takes these
    add(QStringLiteral("--lang"), true);

    Args a;
    // The parser skips the first argument as the program's name.
    if (!parser.parse(QStringList{QStringLiteral("cps")} + args)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            a.error =
                say("unknown option '%1'", "未知选项 '%1'").arg(spelling(args, unknown.first()));
            return a;
        }
        // "--flag=value" on an option without one; else the last option lacks its value.
        for (const QString& s : args) {
            if (s == QLatin1String("--")) break;
            if (!s.startsWith(QLatin1String("--")) || !s.contains(QLatin1Char('='))) continue;
            const QStringList names = optionNames(s.section(QLatin1Char('='), 0, 0));
            for (const Known& k : known)
                if (k.names == names && !k.valued) {
                    a.error = say("option '%1' takes no value", "选项 '%1' 不带值")
                                  .arg(s.section(QLatin1Char('='), 0, 0));
                    return a;
                }
        }
        a.error = say("option '%1' needs a value", "选项 '%1' 需要一个值")
                      .arg(args.value(args.size() - 1));
        return a;
    }
    for (const Known& k : known) {
        if (!parser.isSet(k.names.first())) continue;
        const QStringList values = parser.values(k.names.first());
        for (const QString& key : keysOf(k.names)) {
            if (k.valued) {
                a.values.insert(key, values.last());
                a.allValues.insert(key, values);
            } else {
                a.flags.insert(key);
            }
        }
    }
    a.positional = parser.positionalArguments();
    return a;
}

int usageError(const char* command, const QString& message) {
    err() << "cps " << command << ": " << message << '\n'
          << say("Try \"cps %1 --help\".", "请参阅 \"cps %1 --help\"。").arg(QLatin1String(command))
          << '\n';
    return kUsage;
}

bool loadImage(const char* command, const QString& path, RadioImage& image) {
    QString error;
    if (loadDataFile(path, image, &error, gChinese)) return true;
    err() << "cps " << command << ": " << error << '\n';
    return false;
}

bool writeStandardOutput(const QByteArray& bytes, QString* error) {
    out().flush();
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const bool ok =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
        std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!ok && error) *error = say("cannot write to standard output", "无法写入标准输出");
    return ok;
}

bool writeImage(const QString& path, const RadioImage& image, QString* error) {
    if (!isStandardOutput(path)) return saveDataFile(path, image, error, gChinese);
    return writeStandardOutput(QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize),
                               error);
}

bool saveImage(const char* command, const QString& path, const RadioImage& image) {
    QString error;
    if (writeImage(path, image, &error)) return true;
    err() << "cps " << command << ": " << error << '\n';
    return false;
}

RadioImage newDocumentImage(const Settings& context) {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, context.userStore().number(QStringLiteral("Type"), 0));
    return image;
}

// COM1..COM16 (also in Windows' device form \\.\COM12) become the port names the link uses;
// device paths (anything with a slash, such as /dev/ttyUSB0 or ./radio) stay as they are.
bool portArgument(const QString& given, QString& name) {
    const QLatin1String deviceForm("\\\\.\\");
    const QString arg = given.startsWith(deviceForm) ? given.mid(deviceForm.size()) : given;
    if (arg.contains(QLatin1Char('/'))) {
        // Made absolute so that the link takes it as a path, never as a COM name.
        name = arg.startsWith(QLatin1Char('/')) ? arg : QFileInfo(arg).absoluteFilePath();
        return true;
    }
    if (!arg.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)) return false;
    bool ok = false;
    const int n = arg.mid(3).toInt(&ok);
    if (!ok || n < kFirstPort || n > kLastPort) return false;
    name = portNameFor(n);
    return true;
}

PortResolver userPortResolver(const Settings& context) {
    const QString appName = context.setupAppName();
    return portResolver([appName](int n) { return assignedDevice(UserStore(appName), n); });
}

}  // namespace cps::cli
