#include "DataFile.h"

#include <QFile>
#include <cstring>

#include "SafeFile.h"

namespace cps {

bool loadDataFile(const QString& path, RadioImage& image, QString* error) {
    QFile file;
    if (!openRegularFile(file, path, error)) return false;
    const QByteArray bytes = file.read(kImageSize);
    if (bytes.size() != kImageSize) {
        if (error) {
            *error = file.error() != QFileDevice::NoError
                         ? QStringLiteral("Cannot read %1: %2").arg(path, file.errorString())
                         : QStringLiteral(
                               "%1 is not a radio data file: it holds %2 bytes, %3 are needed")
                               .arg(path)
                               .arg(bytes.size())
                               .arg(kImageSize);
        }
        return false;
    }
    std::memcpy(image.data(), bytes.constData(), kImageSize);
    return true;
}

bool saveDataFile(const QString& path, const RadioImage& image, QString* error) {
    return replaceFile(path, QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize),
                       error);
}

}  // namespace cps
