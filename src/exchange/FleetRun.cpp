#include "FleetRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <vector>

#include "Exchange.h"
#include "ParallelRun.h"
#include "RadioWrite.h"
#include "SafeFile.h"
#include "SerialPort.h"

namespace cps::exchange {

namespace {

const char* const kTimeFormat = "yyyy-MM-ddTHH:mm:ss";

QString portLabel(const QString& portName) {
    return portName.startsWith(QLatin1String("\\\\.\\")) ? portName.mid(4) : portName;
}

// Answers the link for a port of the fleet: no one sits at the message boxes, so the range
// question takes the option's answer, Retry is not offered, and the last message becomes
// the reason in the log.
class FleetPrompt : public LinkPrompt {
  public:
    FleetPrompt(int index, int phases, bool ignoreRange, FleetObserver& observer)
        : index_(index), phases_(phases), ignoreRange_(ignoreRange), observer_(observer) {}

    Answer message(const QString& text, const QString&, Buttons buttons) override {
        const QString line = text.trimmed().replace(QLatin1Char('\n'), QLatin1Char(' '));
        observer_.message(index_, line);
        if (buttons == Buttons::OkCancel) {
            if (ignoreRange_) return Answer::Ok;
        }
        last_ = line;
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    void setStatus(const QString&) override {}
    // Each transfer (backup read, write) sets its range; the read-back starts again at 0.
    void setProgressRange(int maximum) override {
        ++phase_;
        max_ = maximum;
        last_position_ = 0;
    }
    void setProgress(int position) override {
        if (position < last_position_) ++phase_;
        last_position_ = position;
        if (max_ <= 0) return;
        const int permille = (std::max(phase_, 0) * 1000 + position * 1000 / max_) / phases_;
        observer_.progress(index_, std::min(permille, 1000));
    }
    bool pump() override { return false; }  // a radio once started is written to its end
    QString lastMessage() const { return last_; }

  private:
    int index_;
    int phases_;
    bool ignoreRange_;
    FleetObserver& observer_;
    QString last_;
    int phase_ = -1;
    int max_ = 0;
    int last_position_ = 0;
};

}  // namespace

QStringList FleetLog::columns() {
    return {QStringLiteral("Line"),   QStringLiteral("Label"),  QStringLiteral("Port"),
            QStringLiteral("Start"),  QStringLiteral("End"),    QStringLiteral("Radio"),
            QStringLiteral("Result"), QStringLiteral("Verify"), QStringLiteral("Backup")};
}

bool FleetLog::open(QString* error) {
    done_.clear();
    exists_ = QFileInfo::exists(path_);
    if (!exists_) return true;
    QFile file;
    if (!openRegularFile(file, path_, error)) return false;
    const QByteArray bytes = file.read(kMaxInputFile * 16 + 1);
    if (bytes.size() > kMaxInputFile * 16) {
        *error = path_ + QStringLiteral(": larger than 16 MiB, not a fleet log");
        return false;
    }
    QList<CsvRecord> records;
    if (!readCsvRecords(QString::fromUtf8(bytes), &records, error)) {
        *error = path_ + QStringLiteral(": ") + *error;
        return false;
    }
    if (records.isEmpty()) return true;
    if (records.first().cells != columns()) {
        *error = path_ + QStringLiteral(": not a fleet log (its first line is not %1)")
                             .arg(columns().join(QLatin1Char(',')));
        return false;
    }
    const int result = static_cast<int>(columns().indexOf(QStringLiteral("Result")));
    for (int i = 1; i < records.size(); ++i) {
        const QStringList& cells = records[i].cells;
        bool ok = false;
        const int line = cells.value(0).toInt(&ok);
        if (ok && cells.value(result) == FleetEntry::doneText()) done_.insert(line);
    }
    return true;
}

bool FleetLog::append(const FleetEntry& e, QString* error) {
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        *error = path_ + QStringLiteral(": ") + fileErrorText(file, false);
        return false;
    }
    QString text;
    if (file.size() == 0) text = columns().join(QLatin1Char(',')) + QStringLiteral("\r\n");
    const QStringList cells = {QString::number(e.line),
                               e.label,
                               e.port,
                               e.start.toString(QLatin1String(kTimeFormat)),
                               e.end.toString(QLatin1String(kTimeFormat)),
                               e.radio,
                               e.result,
                               e.verify,
                               e.backup};
    QStringList quoted;
    for (const QString& c : cells) quoted << csvCell(c);
    text += quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    const QByteArray bytes = text.toUtf8();
    const qint64 before = file.size();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        *error = path_ + QStringLiteral(": ") + fileErrorText(file, false);
        // Half a line would run into the next run's first line: take it back.
        file.resize(before);
        return false;
    }
    if (e.done()) done_.insert(e.line);
    return true;
}

FleetSummary runFleet(const QList<FleetRadio>& radios, const QList<FleetPort>& ports,
                      const FleetOptions& options, FleetLog& log, FleetObserver& observer,
                      std::atomic<bool>& stop) {
    FleetSummary summary;
    QMutex mutex;  // guards taken, the log and summary
    std::vector<bool> taken(static_cast<size_t>(radios.size()), false);
    for (int i = 0; i < radios.size(); ++i)
        if (log.doneLines().contains(radios[i].line)) taken[static_cast<size_t>(i)] = true;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!options.backupDir.isEmpty() && !QDir().mkpath(options.backupDir)) {
        summary.error = QStringLiteral("cannot create the backup folder ") + options.backupDir;
        stop = true;
    }
    const int phases = (options.backupDir.isEmpty() ? 0 : 1) + 1 + (options.verify ? 1 : 0);

    runInParallel(static_cast<int>(ports.size()), [&](int p) {
        const FleetPort& port = ports[p];
        for (;;) {
            int index = -1;
            {
                QMutexLocker lock(&mutex);
                if (stop) return;
                for (int i = 0; i < radios.size() && index < 0; ++i)
                    if (!taken[static_cast<size_t>(i)]) index = i;
                if (index < 0) return;
                taken[static_cast<size_t>(index)] = true;
            }
            const FleetRadio& radio = radios[index];
            if (!observer.beforeRadio(radio, index + 1, static_cast<int>(radios.size()), port) ||
                stop) {
                QMutexLocker lock(&mutex);
                taken[static_cast<size_t>(index)] = false;
                stop = true;
                return;
            }
            observer.started(index, port);
            FleetEntry entry;
            entry.line = radio.line;
            entry.label = radio.label;
            entry.port = portLabel(port.name);
            entry.start = QDateTime::currentDateTime();

            const QString device = port.device;
            SerialPort serial([device](const QString&) { return device; });
            FleetPrompt prompt(index, phases, options.ignoreRange, observer);
            RadioWriteOptions write;
            write.portName = port.name;
            write.bands = loadBandsInUse(radio.image).bands;
            write.verify = options.verify;
            write.chinese = options.chinese;
            if (!options.backupDir.isEmpty())
                write.backupPath =
                    backupPath(options.backupDir, stamp + QStringLiteral("-line%1").arg(radio.line),
                               port.name);
            const RadioWriteResult r = writeRadio(serial, prompt, radio.image, write);

            entry.end = QDateTime::currentDateTime();
            entry.radio = r.identification;
            entry.backup = r.backupSaved;
            if (r.ok()) {
                entry.result = FleetEntry::doneText();
            } else {
                QString why = prompt.lastMessage();
                if (r.result == LinkResult::PortNotOpened)
                    why = device + QStringLiteral(": ") + serial.errorText();
                entry.result = why.isEmpty() ? r.summary : r.summary + QStringLiteral(": ") + why;
                if (r.partly) entry.result += QStringLiteral("; ") + r.partlyNote.simplified();
            }
            if (options.verify && r.sent) {
                if (r.ok())
                    entry.verify = QStringLiteral("verified");
                else if (r.result == LinkResult::VerifyFailed)
                    entry.verify =
                        QStringLiteral("differs at 0x") +
                        QStringLiteral("%1").arg(r.mismatch, 4, 16, QLatin1Char('0')).toUpper();
            }
            {
                QMutexLocker lock(&mutex);
                QString error;
                if (!log.append(entry, &error)) {
                    // Unrecorded, the radio would be written again on resume: stop here.
                    summary.error = error + QStringLiteral(
                                                "; stopped: the radio last written is not in "
                                                "the log");
                    stop = true;
                }
                if (!r.ok()) ++summary.failed;
            }
            observer.ended(index, entry);
        }
    });

    for (const FleetRadio& radio : radios)
        (log.doneLines().contains(radio.line) ? summary.done : summary.left)++;
    return summary;
}

}  // namespace cps::exchange
