#include "CliCommon.h"

#include <cstdio>

#include "AppContext.h"
#include "Commands.h"
#include "DataFile.h"
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

bool writeImage(const QString& path, const RadioImage& image, QString* error) {
    if (!isStandardOutput(path)) return saveDataFile(path, image, error);
    out().flush();
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const bool ok = std::fwrite(image.data(), 1, kImageSize, stdout) == size_t(kImageSize) &&
                    std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!ok) *error = QStringLiteral("Cannot write the image to standard output");
    return ok;
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

}  // namespace cps::cli
