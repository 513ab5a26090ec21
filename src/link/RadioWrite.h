#pragma once

#include <QString>

#include "RadioLink.h"

namespace cps {

// One radio written the careful way: first, when asked, its backup read and saved (nothing
// is sent when that fails), then the write with the range check, then, when asked, the
// read-back. `cps write`, `cps fleet` and the fleet window all write through this.
struct RadioWriteOptions {
    QString portName;
    Bands bands;  // the image's band limits in use, checked against the radio's range
    bool calibration = false;
    bool verify = false;
    bool chinese = false;
    QString backupPath;  // empty: no backup
};

struct RadioWriteResult {
    LinkResult result = LinkResult::Cancelled;
    bool ok() const { return result == LinkResult::Ok; }
    bool sent = false;  // the write was started (the backup, if any, went well)
    // The write ended early after blocks reached the radio: it holds part of the new
    // configuration. partlyNote says so and where the way back is.
    bool partly = false;
    QString partlyNote;
    QString summary;         // one line: what happened, for a report or a log
    QString identification;  // the radio as its handshake described it
    QString backupSaved;     // the backup file, once saved
    int mismatch = -1;       // after a failed read-back: the first address that differs
};

RadioWriteResult writeRadio(Port& port, LinkPrompt& prompt, const RadioImage& image,
                            const RadioWriteOptions& options);

// The port as it may appear in a file name: COM3 for COM3 and \\.\COM12's COM12, a device
// path's file name, any other character that a file name cannot hold as '_'.
QString portToken(const QString& portName);
// DIR/<stamp>-<port>.dat; never one that exists, so an earlier backup is never replaced.
QString backupPath(const QString& dir, const QString& stamp, const QString& portName);

}  // namespace cps
