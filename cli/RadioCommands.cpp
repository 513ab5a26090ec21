#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "CliCommon.h"
#include "Commands.h"
#include "DataFile.h"
#include "ParallelRun.h"
#include "PortNames.h"
#include "RadioLink.h"
#include "RadioWrite.h"
#include "SerialPort.h"
#include "ServiceAccess.h"
#include "Settings.h"
#include "TerminalText.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace cps::cli {

const char* const kReadHelp =
    "Usage: cps read --port PORT -o OUT [--into DOC] [--password DIGITS] [--retries N]\n"
    "       cps read --port PORT --port PORT ... -o PATTERN [...]\n"
    "\n"
    "Reads the whole memory of a radio and saves it as the image file OUT.\n"
    "\n"
    "  --port PORT         COM1 to COM16, or a device path such as /dev/ttyUSB0 or ./radio;\n"
    "                      repeat it to read several radios at once, one thread each\n"
    "  -o, --output OUT    image file to write; written only when the read completed\n"
    "                      (\"-\" writes the image to standard output). With several ports\n"
    "                      %p in OUT stands for the port (COM3, or a device's file name)\n"
    "  --into DOC          start from the image file DOC instead of a new image (its\n"
    "                      radio password is checked against the radio's)\n"
    "  --password DIGITS   radio password (up to six digits) to read a locked radio\n"
    "  --retries N         answer Retry this many times when the radio does not answer\n"
    "  -q, --quiet         no progress bar\n"
    "\n"
    "A terminal shows the progress (with several ports a live line per port), unless -q.\n"
    "With several ports a line per port gives its result; the exit status is 1 when any\n"
    "of them failed.\n"
    "On systems without COM names COMn opens /dev/ttyUSB(n-1), or the device set as\n"
    "Ports/COMn in the per-user settings.\n";

const char* const kReadHelpZh =
    "用法：cps read --port 端口 -o OUT [--into DOC] [--password 数字] [--retries N]\n"
    "      cps read --port 端口 --port 端口 ... -o 样式 [...]\n"
    "\n"
    "读出对讲机的全部存储并保存为映像文件 OUT。\n"
    "\n"
    "  --port 端口         COM1 到 COM16，或设备路径，如 /dev/ttyUSB0 或 ./radio；\n"
    "                      可重复给出以同时读多台对讲机，每台一个线程\n"
    "  -o, --output OUT    要写的映像文件；只在读取完成时写出（\"-\" 把映像写到标准输出）。\n"
    "                      多个端口时 OUT 中的 %p 代表端口（COM3，或设备的文件名）\n"
    "  --into DOC          以映像文件 DOC 而不是新映像为起点（其对讲机密码与对讲机的\n"
    "                      密码核对）\n"
    "  --password 数字     读取加锁对讲机所用的对讲机密码（最多六位数字）\n"
    "  --retries N         对讲机不应答时按\"重试\"的次数\n"
    "  -q, --quiet         不显示进度条\n"
    "\n"
    "终端上显示进度（多个端口时每个端口一行动态进度），除非给出 -q。\n"
    "多个端口时每个端口一行结果；任一端口失败则退出状态为 1。\n"
    "没有 COM 名称的系统上，COMn 打开 /dev/ttyUSB(n-1)，或每用户设置中 Ports/COMn\n"
    "指定的设备。\n";

const char* const kWriteHelp =
    "Usage: cps write --port PORT [--port PORT ...] FILE [--ignore-range] [--retries N]\n"
    "                 [--verify] [--backup DIR] [--calibration --access-code CODE] [-q]\n"
    "\n"
    "Writes the image file FILE to a radio: rows 0 to 249 and the model, band,\n"
    "password and limit blocks.\n"
    "\n"
    "  --port PORT          COM1 to COM16, or a device path such as /dev/ttyUSB0 or ./radio;\n"
    "                       repeat it to write several radios at once, one thread each\n"
    "  --ignore-range       go on when the image's bands lie outside the radio's range\n"
    "  --retries N          answer Retry this many times when the radio does not answer\n"
    "  -q, --quiet          no progress bar\n"
    "  --verify             read back every block written and compare; a difference fails\n"
    "                       and names the first address that differs\n"
    "  --backup DIR         first read the radio into DIR/<date-time>-<port>.dat; when that\n"
    "                       read or its save fails, nothing is written\n"
    "  --calibration        also send the squelch calibration rows (0xFA0-0xFCF);\n"
    "                       needs the service access code in --access-code\n"
    "\n"
    "A terminal shows the progress (with several ports a live line per port), unless -q.\n"
    "With several ports a line per port gives its result; the exit status is 1 when any\n"
    "of them failed.\n";

const char* const kWriteHelpZh =
    "用法：cps write --port 端口 [--port 端口 ...] 文件 [--ignore-range] [--retries N]\n"
    "                [--verify] [--backup 文件夹] [--calibration --access-code 密码] [-q]\n"
    "\n"
    "把映像文件写入对讲机：第 0 到 249 行以及机型、频段、密码和限值块。\n"
    "\n"
    "  --port 端口          COM1 到 COM16，或设备路径，如 /dev/ttyUSB0 或 ./radio；\n"
    "                       可重复给出以同时写多台对讲机，每台一个线程\n"
    "  --ignore-range       映像的频段超出对讲机范围时照样继续\n"
    "  --retries N          对讲机不应答时按\"重试\"的次数\n"
    "  -q, --quiet          不显示进度条\n"
    "  --verify             读回写入的每一块并比较；有差别即失败，并指出第一个不同的地址\n"
    "  --backup 文件夹      先把对讲机读入 文件夹/<日期-时间>-<端口>.dat；该读取或保存失败\n"
    "                       时不写入任何数据\n"
    "  --calibration        同时发送静噪校准行（0xFA0-0xFCF）；需要在 --access-code 中\n"
    "                       给出维修密码\n"
    "\n"
    "终端上显示进度（多个端口时每个端口一行动态进度），除非给出 -q。\n"
    "多个端口时每个端口一行结果；任一端口失败则退出状态为 1。\n";

namespace {

// With several radios at once on a terminal: one live line per port, redrawn in place.
// Threads report here; only this board writes to the terminal while they run.
class ProgressBoard {
  public:
    explicit ProgressBoard(const QStringList& labels) : labels_(labels), text_(labels.size()) {
        for (int i = 0; i < labels_.size(); ++i) text_[i] = labels_[i] + QStringLiteral(": ...");
        QMutexLocker lock(&mutex_);
        draw(false);
    }
    void set(int slot, int position, int maximum) {
        const int width = 30;
        const int filled = maximum > 0 ? position * width / maximum : 0;
        QMutexLocker lock(&mutex_);
        text_[slot] = QStringLiteral("%1: [%2%3] %4/%5")
                          .arg(labels_[slot], QString(filled, QLatin1Char('#')),
                               QString(width - filled, QLatin1Char(' ')))
                          .arg(position)
                          .arg(maximum);
        draw(true);
    }

  private:
    // Straight to the terminal, as the single bar: the message stream would escape the
    // cursor controls. The lines' own text (a port's name) is escaped.
    void draw(bool over) {
        err().flush();
        QByteArray bytes;
        // Back up to the first line, then rewrite every line, clearing what was there.
        if (over) bytes += "\x1b[" + QByteArray::number(labels_.size()) + 'A';
        for (const QString& line : text_) bytes += '\r' + terminalText(line).toUtf8() + "\x1b[K\n";
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
        std::fflush(stderr);
    }

    QMutex mutex_;
    QStringList labels_;
    QStringList text_;
};

// Answers the protocol's questions from the options and draws a progress bar on a terminal.
// Its messages go to sink: standard error for one radio, a buffer of its own for each of
// several, so that threads share no stream.
class CliPrompt : public LinkPrompt {
  public:
    CliPrompt(bool continueOutOfRange, int retries, QTextStream& sink, bool progressBar)
        : continue_(continueOutOfRange), retries_(retries), sink_(sink), bar_(progressBar) {}

    Answer message(const QString& text, const QString&, Buttons buttons) override {
        endBar();
        const QString line = text.trimmed().replace(QLatin1Char('\n'), QLatin1Char(' '));
        switch (buttons) {
            case Buttons::OkCancel:
                sink_ << line
                      << (continue_ ? say(" [OK: --ignore-range]", " [确定：--ignore-range]")
                                    : say(" [Cancel]", " [取消]"))
                      << '\n';
                if (!continue_)
                    sink_ << say("--ignore-range writes the image all the same, as OK in the box "
                                 "would",
                                 "--ignore-range 照样写入映像，如同在提示框中按确定")
                          << '\n';
                return continue_ ? Answer::Ok : Answer::Cancel;
            case Buttons::RetryCancel:
                if (retries_ > 0) {
                    --retries_;
                    sink_ << line << say(" [Retry]", " [重试]") << '\n';
                    sink_.flush();
                    return Answer::Retry;
                }
                sink_ << line << '\n';
                return Answer::Cancel;
            case Buttons::Ok:
                break;
        }
        sink_ << line << '\n';
        return Answer::Ok;
    }
    void setStatus(const QString&) override {}
    void setProgressRange(int maximum) override { max_ = maximum; }
    void setProgress(int position) override {
        if (board_ && max_ > 0) board_->set(slot_, position, max_);
        if (!bar_ || max_ <= 0) return;
        const int width = 40;
        const int filled = position * width / max_;
        // Straight to the terminal: the message stream would escape the carriage return.
        sink_.flush();
        const QByteArray bar =
            QStringLiteral("\r[%1%2] %3/%4")
                .arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char(' ')))
                .arg(position)
                .arg(max_)
                .toUtf8();
        std::fwrite(bar.constData(), 1, static_cast<size_t>(bar.size()), stderr);
        std::fflush(stderr);
        barShown_ = true;
    }
    bool pump() override { return false; }
    void showOn(ProgressBoard* board, int slot) {
        board_ = board;
        slot_ = slot;
    }
    // Ends the bar's line at once: the result line goes to the other stream, and would
    // otherwise land on the bar's line before this newline is flushed.
    void endBar() {
        if (barShown_) {
            sink_ << '\n';
            sink_.flush();
        }
        barShown_ = false;
    }

  private:
    bool continue_;
    int retries_;
    QTextStream& sink_;
    bool bar_;
    int max_ = 0;
    bool barShown_ = false;
    ProgressBoard* board_ = nullptr;
    int slot_ = 0;
};

struct Parsed {
    QStringList ports;  // the link's names, in the order given
    QString output, into, password, file, accessCode, backupDir;
    bool ignoreRange = false, calibration = false, hasAccessCode = false, verify = false;
    bool quiet = false;
    int retries = 0;
};

int parse(const char* command, const QStringList& args, Parsed& p) {
    const Args a = parseArgs(
        args,
        {QStringLiteral("--port"), QStringLiteral("-o"), QStringLiteral("--output"),
         QStringLiteral("--into"), QStringLiteral("--password"), QStringLiteral("--access-code"),
         QStringLiteral("--retries"), QStringLiteral("--backup")},
        {QStringLiteral("--ignore-range"), QStringLiteral("--calibration"),
         QStringLiteral("--verify")});
    if (!a.error.isEmpty()) return usageError(command, a.error);
    if (a.positional.size() > 1)
        return usageError(command,
                          say("unexpected argument '%1'", "多余的参数 '%1'").arg(a.positional[1]));
    p.file = a.positional.value(0);
    p.output = a.has(QStringLiteral("-o")) ? a.value(QStringLiteral("-o"))
                                           : a.value(QStringLiteral("--output"));
    p.into = a.value(QStringLiteral("--into"));
    if (a.has(QStringLiteral("--password"))) p.password = a.value(QStringLiteral("--password"));
    p.hasAccessCode = a.has(QStringLiteral("--access-code"));
    p.accessCode = a.value(QStringLiteral("--access-code"));
    p.ignoreRange = a.has(QStringLiteral("--ignore-range"));
    p.calibration = a.has(QStringLiteral("--calibration"));
    p.verify = a.has(QStringLiteral("--verify"));
    p.quiet = a.has(QStringLiteral("--quiet"));
    if (a.has(QStringLiteral("--backup"))) {
        p.backupDir = a.value(QStringLiteral("--backup"));
        if (p.backupDir.isEmpty())
            return usageError(command, say("--backup needs a folder", "--backup 需要一个文件夹"));
    }
    if (a.has(QStringLiteral("--retries"))) {
        bool ok = false;
        p.retries = a.value(QStringLiteral("--retries")).toInt(&ok);
        if (!ok || p.retries < 0)
            return usageError(command, say("--retries needs a number of 0 or more",
                                           "--retries 需要 0 或更大的数"));
    }
    const QStringList ports = a.all(QStringLiteral("--port"));
    if (ports.isEmpty()) return usageError(command, say("--port is required", "必须给出 --port"));
    for (const QString& port : ports) {
        QString name;
        if (!portArgument(port, name))
            return usageError(command, say("'%1' is not COM1 to COM16 or a device path",
                                           "'%1' 不是 COM1 到 COM16，也不是设备路径")
                                           .arg(port));
        // Two threads on one port would fight over it.
        if (p.ports.contains(name))
            return usageError(command,
                              say("port '%1' is given twice", "端口 '%1' 给出了两次").arg(port));
        p.ports << name;
    }
    return kOk;
}

// The port for the report lines: COM names without the device-namespace prefix.
QString portLabel(const QString& portName) {
    return portName.startsWith(QLatin1String("\\\\.\\")) ? portName.mid(4) : portName;
}

// What one port's work needs and what it ends with. Each thread has its own.
struct PortJob {
    QString port;    // the link's name
    QString device;  // where it leads, looked up before any thread starts
    QString output;  // read: the image file; write: the backup file, when asked for
    RadioImage image;
    bool ok = false;
    QString summary;                 // the result line
    QString log;                     // the protocol's messages
    bool dataSent = false;           // write: blocks reached the radio
    ProgressBoard* board = nullptr;  // the live lines, with several ports on a terminal
    int slot = 0;
};

// Moves the image over one port with a port, prompt and link of its own.
LinkResult transferOne(PortJob& job, const TransferSettings& settings, const Parsed& p,
                       QTextStream& sink, bool progressBar, QString* portError) {
    const QString device = job.device;
    SerialPort port([device](const QString&) { return device; });
    CliPrompt prompt(p.ignoreRange, p.retries, sink, progressBar);
    prompt.showOn(job.board, job.slot);
    RadioLink link(port, prompt);
    const LinkResult result = link.transfer(job.image, settings);
    job.dataSent = link.dataSent();
    prompt.endBar();
    if (result == LinkResult::PortNotOpened && portError) {
        // The system's reason comes in English; a known one is said in Chinese.
        const QString reason =
            settings.chinese ? linktext::portReason(port.openFailure(), device, true) : QString();
        *portError =
            reason.isEmpty() ? QStringLiteral("%1: %2").arg(device, port.errorText()) : reason;
    }
    return result;
}

// Runs work over every job: on this thread with messages straight to standard error for
// one port, else one thread per port, each writing into its own buffer, printed port by
// port once all have finished. Returns kFailed when any job failed.
int runJobs(const char* command, std::vector<PortJob>& jobs, bool live,
            const std::function<void(PortJob&, QTextStream&, bool single)>& work) {
    if (jobs.size() == 1) {
        work(jobs[0], err(), true);
        return jobs[0].ok ? kOk : kFailed;
    }
    std::unique_ptr<ProgressBoard> board;
    if (live) {
        QStringList labels;
        for (const PortJob& job : jobs) labels << portLabel(job.port);
        board = std::make_unique<ProgressBoard>(labels);
        for (size_t i = 0; i < jobs.size(); ++i) {
            jobs[i].board = board.get();
            jobs[i].slot = static_cast<int>(i);
        }
    }
    runInParallel(static_cast<int>(jobs.size()), [&jobs, &work](int i) {
        PortJob& job = jobs[static_cast<size_t>(i)];
        QTextStream sink(&job.log);
        work(job, sink, false);
        sink.flush();
    });
    bool all = true;
    for (const PortJob& job : jobs) {
        const QString label = portLabel(job.port);
        for (const QString& line : job.log.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            err() << "cps " << command << ": " << label << ": " << line << '\n';
        out() << label << ": " << job.summary << '\n';
        all = all && job.ok;
    }
    return all ? kOk : kFailed;
}

std::vector<PortJob> makeJobs(const Parsed& p, const RadioImage& image, const Settings& context) {
    // COMn leads where the user assigned it; looked up here, so the threads never touch
    // the per-user store.
    const PortResolver resolve = userPortResolver(context);
    std::vector<PortJob> jobs;
    for (const QString& port : p.ports) {
        PortJob job;
        job.port = port;
        job.device = resolve(port);
        job.image = image;
        jobs.push_back(job);
    }
    return jobs;
}

// "%p" becomes the port's token, "%%" a percent sign.
QString expandPattern(const QString& pattern, const QString& token) {
    QString result;
    for (int i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) == QLatin1Char('%') && i + 1 < pattern.size()) {
            const QChar c = pattern.at(i + 1);
            if (c == QLatin1Char('p')) {
                result += token;
                ++i;
                continue;
            }
            if (c == QLatin1Char('%')) {
                result += c;
                ++i;
                continue;
            }
        }
        result += pattern.at(i);
    }
    return result;
}

// Each port gets a file name of its own, or the command is refused before any thread runs.
int checkDistinctTokens(const char* command, const Parsed& p) {
    QHash<QString, QString> seen;
    for (const QString& port : p.ports) {
        const QString token = portToken(port);
        if (seen.contains(token))
            return usageError(command, say("ports '%1' and '%2' give the same file name",
                                           "端口 '%1' 和 '%2' 得出同一个文件名")
                                           .arg(portLabel(seen.value(token)), portLabel(port)));
        seen.insert(token, port);
    }
    return kOk;
}

}  // namespace

int runRead(const QStringList& args, const Settings& context) {
    Parsed p;
    if (const int status = parse("read", args, p); status != kOk) return status;
    if (!p.file.isEmpty())
        return usageError("read", say("unexpected argument '%1'", "多余的参数 '%1'").arg(p.file));
    if (p.output.isEmpty()) return usageError("read", say("-o OUT is required", "必须给出 -o OUT"));
    if (p.calibration || p.hasAccessCode || p.ignoreRange || p.verify || !p.backupDir.isEmpty())
        return usageError(
            "read",
            say("--calibration, --access-code, --ignore-range, --verify and --backup are for write",
                "--calibration、--access-code、--ignore-range、--verify 和 --backup 用于 write"));
    static const QRegularExpression digits(QStringLiteral("^[0-9]{0,6}$"));
    if (!p.password.isNull() && !digits.match(p.password).hasMatch())
        return usageError("read",
                          say("--password takes up to six digits", "--password 取最多六位数字"));
    const bool several = p.ports.size() > 1;
    if (several) {
        if (isStandardOutput(p.output) || !p.output.contains(QStringLiteral("%p")))
            return usageError("read", say("with several ports -o needs a pattern with %p in it",
                                          "多个端口时 -o 需要含 %p 的样式"));
        if (const int status = checkDistinctTokens("read", p); status != kOk) return status;
    }

    RadioImage image = newDocumentImage(context);
    if (!p.into.isEmpty() && !loadImage("read", p.into, image)) return kFailed;
    if (!p.password.isNull()) {
        for (int i = 0; i < addr::kPasswordLength; ++i)
            image.set(addr::kPassword + i, i < p.password.size()
                                               ? static_cast<uint8_t>(p.password.at(i).toLatin1())
                                               : 0xFF);
    }

    std::vector<PortJob> jobs = makeJobs(p, image, context);
    for (PortJob& job : jobs)
        job.output = several ? expandPattern(p.output, portToken(job.port)) : p.output;
    // The progress bar only where a person watches it.
    const bool tty = !p.quiet && isatty(fileno(stderr)) != 0;
    const bool chinese = context.chinese;
    return runJobs(
        "read", jobs, tty, [&p, tty, chinese](PortJob& job, QTextStream& sink, bool single) {
            TransferSettings settings;
            settings.mode = LinkMode::Read;
            settings.portName = job.port;
            settings.chinese = chinese;
            QString portError;
            const LinkResult result =
                transferOne(job, settings, p, sink, single && tty, &portError);
            if (result != LinkResult::Ok) {
                if (!portError.isEmpty()) sink << (single ? "cps read: " : "") << portError << '\n';
                job.summary = say("failed, nothing saved", "失败，未保存任何文件");
                if (single) sink << "cps read: " << job.summary << '\n';
                return;
            }
            QString error;
            if (!writeImage(job.output, job.image, &error)) {
                job.summary = say("the radio was read but %1", "对讲机已读出，但 %1").arg(error);
                if (single) sink << "cps read: " << job.summary << '\n';
                return;
            }
            job.ok = true;
            const QString where =
                isStandardOutput(job.output) ? say("standard output", "标准输出") : job.output;
            job.summary =
                say("read %1 bytes into %2", "已读出 %1 字节到 %2").arg(kImageSize).arg(where);
            // With the image on standard output, the report must not mix into it.
            if (single)
                (isStandardOutput(job.output) ? err() : out())
                    << say("Read %1 bytes from %2 into %3", "已从 %2 读出 %1 字节到 %3")
                           .arg(kImageSize)
                           .arg(job.port, where)
                    << '\n';
        });
}

int runWrite(const QStringList& args, const Settings& context) {
    Parsed p;
    if (const int status = parse("write", args, p); status != kOk) return status;
    if (p.file.isEmpty()) return usageError("write", say("FILE is required", "必须给出 FILE"));
    if (!p.output.isEmpty() || !p.into.isEmpty() || !p.password.isNull())
        return usageError("write", say("-o, --into and --password are for read",
                                       "-o、--into 和 --password 用于 read"));
    if (p.hasAccessCode && !p.calibration)
        return usageError("write", say("--access-code goes with --calibration",
                                       "--access-code 与 --calibration 一起使用"));
    if (!p.backupDir.isEmpty())
        if (const int status = checkDistinctTokens("write", p); status != kOk) return status;
    if (p.calibration && !accessCodeMatches(p.accessCode)) {
        err() << "cps write: "
              << say("--calibration needs the right service access code in --access-code; "
                     "nothing sent",
                     "--calibration 需要在 --access-code 中给出正确的维修密码；未发送任何数据")
              << '\n';
        return kFailed;
    }

    RadioImage image;
    if (!loadImage("write", p.file, image)) return kFailed;
    if (!p.backupDir.isEmpty() && !QDir().mkpath(p.backupDir)) {
        err() << "cps write: "
              << say("cannot create the backup folder %1; nothing sent",
                     "无法创建备份文件夹 %1；未发送任何数据")
                     .arg(p.backupDir)
              << '\n';
        return kFailed;
    }
    std::vector<PortJob> jobs = makeJobs(p, image, context);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // The names are chosen here, one thread at a time.
    if (!p.backupDir.isEmpty())
        for (PortJob& job : jobs) job.output = backupPath(p.backupDir, stamp, job.port);
    const QString fileName = QFileInfo(p.file).fileName();
    // The progress bar only where a person watches it.
    const bool tty = !p.quiet && isatty(fileno(stderr)) != 0;
    const bool chinese = context.chinese;
    return runJobs("write", jobs, tty, [&](PortJob& job, QTextStream& sink, bool single) {
        auto failed = [&](const QString& summary) {
            job.summary = summary;
            if (single) sink << "cps write: " << summary << '\n';
        };
        const QString device = job.device;
        SerialPort port([device](const QString&) { return device; });
        CliPrompt prompt(p.ignoreRange, p.retries, sink, single && tty);
        RadioWriteOptions options;
        options.portName = job.port;
        options.bands = loadBandsInUse(job.image).bands;
        options.calibration = p.calibration;
        options.chinese = chinese;
        options.verify = p.verify;
        options.backupPath = job.output;
        const RadioWriteResult result = writeRadio(port, prompt, job.image, options);
        prompt.endBar();
        if (!result.ok()) {
            if (result.result == LinkResult::PortNotOpened)
                sink << (single ? "cps write: " : "") << device << ": " << port.errorText() << '\n';
            if (result.partly) sink << result.partlyNote << '\n';
            return failed(result.summary);
        }
        const QString backupNote =
            result.backupSaved.isEmpty()
                ? QString()
                : say(" after saving its backup in %1", "（先把备份保存在 %1）")
                      .arg(result.backupSaved);
        job.ok = true;
        const QString calibrationNote =
            p.calibration ? say(" with the calibration rows", "（含校准行）") : QString();
        const QString verifiedNote = p.verify ? say(", verified", "，已校验") : QString();
        job.summary = say("wrote %1%2%3%4", "已写入 %1%2%3%4")
                          .arg(fileName, calibrationNote, verifiedNote, backupNote);
        if (single)
            out() << say("Wrote %1 to %2%3%4%5", "已把 %1 写入 %2%3%4%5")
                         .arg(fileName, job.port, calibrationNote, verifiedNote, backupNote)
                  << '\n';
    });
}

}  // namespace cps::cli
