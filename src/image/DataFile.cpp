#include "DataFile.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

namespace cps {

bool loadDataFile(const QString& path, RadioImage& image, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("Cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    const qint64 written = file.write(reinterpret_cast<const char*>(image.data()), kImageSize);
    if (written != kImageSize || !file.commit()) {
        if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace cps
