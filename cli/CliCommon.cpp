#include "CliCommon.h"

#include <QFileInfo>
#include <cstdio>

#include "AppContext.h"
#include "Commands.h"
#include "DataFile.h"
#include "PortNames.h"
#include "UserStore.h"
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace cps::cli {

Args parseArgs(const QStringList& args, const QStringList& valued, const QStringList& flags) {
    Args a;
    for (int i = 0; i < args.size(); ++i) {
        const QString& s = args[i];
        if (!s.startsWith(QLatin1Char('-')) || s.size() == 1) {
            a.positional << s;
        } else if (flags.contains(s)) {
            a.flags.insert(s);
        } else if (!valued.contains(s)) {
            a.error = QStringLiteral("unknown option '%1'").arg(s);
            return a;
        } else if (i + 1 >= args.size()) {
            a.error = QStringLiteral("option '%1' needs a value").arg(s);
            return a;
        } else {
            a.values.insert(s, args[++i]);
            a.allValues[s] << args[i];
        }
    }
    return a;
}

int usageError(const char* command, const QString& message) {
    err() << "cps " << command << ": " << message << "\nTry \"cps " << command << " --help\".\n";
    return kUsage;
}

bool loadImage(const char* command, const QString& path, RadioImage& image) {
    QString error;
    if (loadDataFile(path, image, &error)) return true;
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
    if (!ok && error) *error = QStringLiteral("cannot write to standard output");
    return ok;
}

bool writeImage(const QString& path, const RadioImage& image, QString* error) {
    if (!isStandardOutput(path)) return saveDataFile(path, image, error);
    return writeStandardOutput(QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize),
                               error);
}

bool saveImage(const char* command, const QString& path, const RadioImage& image) {
    QString error;
    if (writeImage(path, image, &error)) return true;
    err() << "cps " << command << ": " << error << '\n';
    return false;
}

RadioImage newDocumentImage(const AppContext& context) {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, context.userStore().number(QStringLiteral("Type"), 0));
    return image;
}

// COM1..COM16 become the port names the link uses; device paths (anything with a slash,
// such as /dev/ttyUSB0 or ./radio) stay as they are.
bool portArgument(const QString& arg, QString& name) {
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

PortResolver userPortResolver(const AppContext& context) {
    const QString appName = context.setupAppName();
    return portResolver([appName](int n) { return assignedDevice(UserStore(appName), n); });
}

}  // namespace cps::cli
