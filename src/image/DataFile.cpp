#include "DataFile.h"

#include <QDir>
#include <QFile>
#include <cstring>

#include "Pick.h"
#include "SafeFile.h"

namespace cps {

bool loadDataFile(const QString& path, RadioImage& image, QString* error, bool chinese) {
    QFile file;
    if (!openRegularFile(file, path, error, chinese)) return false;
    const QByteArray bytes = file.read(kImageSize);
    if (bytes.size() != kImageSize) {
        if (error) {
            if (file.error() != QFileDevice::NoError) {
                *error = pick(chinese, "Cannot read %1: %2", "无法读取 %1：%2")
                             .arg(QDir::toNativeSeparators(path), fileErrorText(file, chinese));
            } else {
                *error =
                    pick(chinese, "%1 is not a radio data file: it holds %2 bytes, %3 are needed",
                         "%1 不是对讲机数据文件：它只有 %2 字节，需要 %3 字节")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(bytes.size())
                        .arg(kImageSize);
            }
        }
        return false;
    }
    std::memcpy(image.data(), bytes.constData(), kImageSize);
    return true;
}

bool saveDataFile(const QString& path, const RadioImage& image, QString* error, bool chinese) {
    return replaceFile(path, QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize),
                       error, chinese);
}

}  // namespace cps
