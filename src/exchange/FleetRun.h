#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <atomic>

#include "RadioImage.h"

namespace cps::exchange {

// Many radios written over several ports (on the link's careful write): each port takes the next
// radio that is not yet done, writes it the careful way (writeRadio) and records the attempt in the
// log.

struct FleetRadio {
    int line = 0;  // the job's line, the radio's name in the log
    QString label;
    RadioImage image;
};

struct FleetPort {
    QString name;    // the link's name (COM3 or a device path)
    QString device;  // where it leads, looked up before any thread starts
};

struct FleetOptions {
    bool verify = false;
    bool ignoreRange = false;  // go on when the image's bands lie outside the radio's range
    bool chinese = false;      // the link's messages
    QString backupDir;         // empty: no backups
};

// One attempt, one line of the log.
struct FleetEntry {
    int line = 0;
    QString label;
    QString port;
    QDateTime start;
    QDateTime end;
    QString radio;   // the identification the handshake gave
    QString result;  // "done", or what went wrong
    QString verify;  // "verified", "differs at 0x....", or empty when not asked
    QString backup;  // the backup file, when one was saved
    bool done() const { return result == doneText(); }
    static QString doneText() { return QStringLiteral("done"); }
};

// The log: a CSV file, one line per attempt, appended and flushed as each radio ends. The
// lines already done are what a second run with the same log skips.
class FleetLog {
  public:
    explicit FleetLog(const QString& path) : path_(path) {}
    // Reads what an earlier run left; a missing file is an empty log. False (and error)
    // for a file that is no fleet log, so that no other file is appended to.
    bool open(QString* error);
    const QSet<int>& doneLines() const { return done_; }
    bool append(const FleetEntry& entry, QString* error);
    QString path() const { return path_; }

    static QStringList columns();

  private:
    QString path_;
    QSet<int> done_;
    bool exists_ = false;
};

// What a fleet run tells whoever watches it. Called on the ports' threads, one port at a
// time for each radio; implementations take care of their own sharing.
class FleetObserver {
  public:
    virtual ~FleetObserver() = default;
    // Before a radio goes to a port: false leaves it and stops the port (the user said so).
    virtual bool beforeRadio(const FleetRadio& radio, int number, int total,
                             const FleetPort& port) {
        (void)radio, (void)number, (void)total, (void)port;
        return true;
    }
    virtual void started(int index, const FleetPort& port) { (void)index, (void)port; }
    // Of one radio, over its backup, write and read-back together: position of 1000.
    virtual void progress(int index, int permille) { (void)index, (void)permille; }
    // A message of the link, as the message box would have shown it.
    virtual void message(int index, const QString& text) { (void)index, (void)text; }
    virtual void ended(int index, const FleetEntry& entry) { (void)index, (void)entry; }
};

struct FleetSummary {
    int done = 0;    // radios of the job done, in this run or before
    int failed = 0;  // attempts of this run that failed
    int left = 0;    // radios not done
    QString error;   // why the run stopped early (the log could not be written, ...)
    bool allDone() const { return left == 0 && error.isEmpty(); }
};

// Runs the radios not yet done in log over ports, one thread each. A set stop flag lets the
// radios being written finish and starts no more. Blocks until every port is through.
FleetSummary runFleet(const QList<FleetRadio>& radios, const QList<FleetPort>& ports,
                      const FleetOptions& options, FleetLog& log, FleetObserver& observer,
                      std::atomic<bool>& stop);

}  // namespace cps::exchange
