#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

namespace cps::fuzz {

// A file of the process's own in the temporary folder holding the input, for code that
// reads files: the same path for every input, so the folder does not fill up.
inline QString scratchFile(const char* name, const uint8_t* data, size_t size) {
    static const QString dir = QDir::tempPath();
    const QString path = QStringLiteral("%1/cps-fuzz-%2-%3")
                             .arg(dir)
                             .arg(QCoreApplication::applicationPid())
                             .arg(QLatin1String(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
        f.close();
    }
    return path;
}

}  // namespace cps::fuzz
