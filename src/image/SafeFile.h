#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace cps {

// File access that never blocks on odd paths and never destroys what it replaces.

enum class ReplaceResult {
    Ok,
    Refused,      // the path exists and is not a regular file: left as it is
    NotStarted,   // no temporary file beside the target could be created
    WriteFailed,  // a byte did not reach the temporary file (disk full, quota, I/O error)
    NotReplaced,  // written completely, but the old file could not be replaced
};

// Writes bytes to a temporary file beside path and replaces path with it only once every
// byte is known to be on disk. On any failure the old file keeps its content. A path that
// exists but is not a regular file (or a link to one), such as a device or a FIFO, is
// refused. error names the file and the reason, in Chinese when chinese is set (the
// system's own reason stays as the system gives it).
ReplaceResult replaceFileContents(const QString& path, const QByteArray& bytes,
                                  QString* error = nullptr, bool chinese = false);
inline bool replaceFile(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                        bool chinese = false) {
    return replaceFileContents(path, bytes, error, chinese) == ReplaceResult::Ok;
}

// Opens path for reading only when it is a regular file (or a link to one): a FIFO would
// block the open, a device may never end. error names the file and the reason, in Chinese
// when chinese is set.
bool openRegularFile(QFile& file, const QString& path, QString* error = nullptr,
                     bool chinese = false);
// Why the last operation on file failed, in the language asked for.
QString fileErrorText(const QFile& file, bool chinese);

// Input files larger than this are refused before they are read: a channel list or table is
// a few KB, a configuration some 60 KB, a settings file a few lines. Read at most one byte
// more, so that an endless source (a link to /dev/zero) cannot fill the memory.
constexpr qint64 kMaxInputFile = 1024 * 1024;

}  // namespace cps
