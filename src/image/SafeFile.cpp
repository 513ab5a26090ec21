#include "SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "Pick.h"

namespace cps {
namespace {

void say(QString* error, const QString& text) {
    if (error) *error = text;
}

}  // namespace

ReplaceResult replaceFileContents(const QString& path, const QByteArray& bytes, QString* error,
                                  bool chinese) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        say(error,
            pick(chinese, "Cannot write %1: it is not a regular file, so it was not replaced",
                 "无法写入 %1：它不是普通文件，未被替换")
                .arg(QDir::toNativeSeparators(path)));
        return ReplaceResult::Refused;
    }
    QSaveFile file(path);
    // Unbuffered, so that a write the disk refuses fails here and not in a later flush
    // whose result the commit may not pass on.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        say(error, pick(chinese, "Cannot write %1: %2", "无法写入 %1：%2")
                       .arg(QDir::toNativeSeparators(path), file.errorString()));
        return ReplaceResult::NotStarted;
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) break;
        done += n;
    }
    if (done != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        say(error, pick(chinese, "Cannot write %1: %2; the previous file was left as it was",
                        "无法写入 %1：%2；原来的文件保持不变")
                       .arg(QDir::toNativeSeparators(path), file.errorString()));
        file.cancelWriting();
        return ReplaceResult::WriteFailed;
    }
    if (!file.commit()) {
        say(error, pick(chinese, "Cannot write %1: %2; the previous file was left as it was",
                        "无法写入 %1：%2；原来的文件保持不变")
                       .arg(QDir::toNativeSeparators(path), file.errorString()));
        return ReplaceResult::NotReplaced;
    }
    return ReplaceResult::Ok;
}

QString fileErrorText(const QFile& file, bool chinese) {
    if (!chinese) return file.errorString();
    // The system's reason comes in English; the common ones are said in Chinese.
    const QFileInfo info(file.fileName());
    if (!info.exists()) return QString::fromUtf8("文件不存在");
    if (!info.isReadable()) return QString::fromUtf8("没有读取权限");
    return file.errorString();
}

bool openRegularFile(QFile& file, const QString& path, QString* error, bool chinese) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        say(error, chinese ? QString::fromUtf8("无法打开 %1：它不是普通文件")
                                 .arg(QDir::toNativeSeparators(path))
                           : QStringLiteral("Cannot open %1: it is not a regular file")
                                 .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString why = fileErrorText(file, chinese);
        say(error,
            chinese
                ? QString::fromUtf8("无法打开 %1：%2").arg(QDir::toNativeSeparators(path), why)
                : QStringLiteral("Cannot open %1: %2").arg(QDir::toNativeSeparators(path), why));
        return false;
    }
    return true;
}

}  // namespace cps
