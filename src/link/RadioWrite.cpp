#include "RadioWrite.h"

#include <QDir>
#include <QFileInfo>

#include "DataFile.h"

namespace cps {

RadioWriteResult writeRadio(Port& port, LinkPrompt& prompt, const RadioImage& image,
                            const RadioWriteOptions& options) {
    RadioWriteResult r;
    RadioLink link(port, prompt);
    if (!options.backupPath.isEmpty()) {
        // The backup starts from the image about to be written, so that the radio's
        // password is checked against the one it will get.
        RadioImage backup = image;
        TransferSettings read;
        read.mode = LinkMode::Read;
        read.portName = options.portName;
        read.chinese = options.chinese;
        r.result = link.transfer(backup, read);
        r.identification = describeIdentification(link.identification());
        if (r.result != LinkResult::Ok) {
            r.summary = QStringLiteral("the backup read failed, nothing sent");
            return r;
        }
        QString error;
        if (!saveDataFile(options.backupPath, backup, &error)) {
            prompt.message(error, QString(), Buttons::Ok);
            r.result = LinkResult::Cancelled;
            r.summary = QStringLiteral("the backup could not be saved, nothing sent");
            return r;
        }
        r.backupSaved = options.backupPath;
    }
    TransferSettings settings;
    settings.mode = LinkMode::Write;
    settings.portName = options.portName;
    settings.bands = options.bands;
    settings.sendCalibration = options.calibration;
    settings.chinese = options.chinese;
    settings.verify = options.verify;
    RadioImage copy = image;
    r.sent = true;
    r.result = link.transfer(copy, settings);
    if (const QString id = describeIdentification(link.identification()); !id.isEmpty())
        r.identification = id;
    r.mismatch = link.verifyMismatch();
    r.partly = link.dataSent() && r.result != LinkResult::Ok &&
               r.result != LinkResult::VerifyFailed && r.result != LinkResult::VerifyInterrupted;
    if (r.partly) r.partlyNote = linktext::partlyWritten(options.chinese, r.backupSaved);
    switch (r.result) {
        case LinkResult::Ok:
            r.summary =
                options.verify ? QStringLiteral("written, verified") : QStringLiteral("written");
            return r;
        case LinkResult::VerifyFailed:
            r.summary = QStringLiteral("written, but the read-back differs");
            break;
        case LinkResult::VerifyInterrupted:
            r.summary = QStringLiteral(
                "written completely; only the verify was interrupted, the radio's data is "
                "unchecked");
            break;
        default:
            r.summary = QStringLiteral("failed, nothing more sent");
            break;
    }
    // What the radio held before is the user's way back.
    if (!r.partly && !r.backupSaved.isEmpty())
        r.summary += QStringLiteral("; the radio's previous data is saved in ") + r.backupSaved;
    return r;
}

QString portToken(const QString& portName) {
    QString t = portName.startsWith(QLatin1String("\\\\.\\")) ? portName.mid(4) : portName;
    if (t.contains(QLatin1Char('/'))) t = QFileInfo(t).fileName();
    for (QChar& c : t)
        if (!c.isLetterOrNumber() && c != QLatin1Char('.') && c != QLatin1Char('-') &&
            c != QLatin1Char('_'))
            c = QLatin1Char('_');
    return t.isEmpty() ? QStringLiteral("port") : t;
}

QString backupPath(const QString& dir, const QString& stamp, const QString& portName) {
    const QString base = QDir(dir).filePath(stamp + QLatin1Char('-') + portToken(portName));
    QString path = base + QStringLiteral(".dat");
    for (int n = 2; QFileInfo::exists(path); ++n) path = base + QStringLiteral("-%1.dat").arg(n);
    return path;
}

}  // namespace cps
