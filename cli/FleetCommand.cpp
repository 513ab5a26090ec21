// `cps fleet`: one document written to many radios, each with the values of its own row of
// a job file, over one or several ports, with a log that lets a stopped fleet resume.
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <atomic>
#include <cstdio>

#include "CliCommon.h"
#include "Commands.h"
#include "Exchange.h"
#include "FleetJob.h"
#include "FleetRun.h"
#include "RadioWrite.h"
#include "SafeFile.h"
#include "ServiceAccess.h"
#include "Settings.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace cps::cli {

const char* const kFleetHelp =
    "Usage: cps fleet DOC --job JOB.csv --port PORT [--port PORT ...] --log LOG.csv\n"
    "                 [--verify] [--backup DIR] [--ignore-range] [--access-code CODE]\n"
    "\n"
    "Writes the image file DOC to many radios, each with the values of its own row of the\n"
    "job file JOB.csv set as `cps set` sets them.\n"
    "\n"
    "JOB.csv: a header row naming a field per column as SECTION:FIELD (msk:ID Code,\n"
    "dtmf:Local ID) or a channel's cell as channel N:HEADING (channel 3:Chnnel Name), with\n"
    "an optional first column Label (the customer's name for the radio); then one row per\n"
    "radio. An empty cell keeps the document's value. The whole job is checked before\n"
    "anything is sent: a refused value names its line and column, exit status 2.\n"
    "\n"
    "  --port PORT        COM1 to COM16 or a device path; with several, each port takes\n"
    "                     the next radio that is not yet done, one thread each\n"
    "  --log LOG.csv      one line per attempt, appended as each radio ends: job line,\n"
    "                     label, port, start, end, radio, result, verify, backup. Lines\n"
    "                     already done there are skipped, so the same command resumes\n"
    "  --verify           read back every radio after its write and compare\n"
    "  --backup DIR       first read each radio into DIR; when that fails it is not written\n"
    "  --ignore-range     go on when the document's bands lie outside a radio's range\n"
    "  --access-code CODE needed for columns of the service sections\n"
    "\n"
    "When standard input is a terminal, each radio waits for the user: \"Connect radio 4 of\n"
    "20 (Label) to COM3 and press Enter; q to stop\". Otherwise each port writes its next\n"
    "radio as soon as the last one ended.\n"
    "Exit status: 0 when every radio of the job is done, 1 when some are not, 2 wrong usage\n"
    "or a refused job.\n";

const char* const kFleetHelpZh =
    "用法：cps fleet DOC --job JOB.csv --port PORT [--port PORT ...] --log LOG.csv\n"
    "                 [--verify] [--backup DIR] [--ignore-range] [--access-code CODE]\n"
    "\n"
    "把映像文件 DOC 写入多台对讲机，每台按批量文件 JOB.csv 中自己那一行的值设置\n"
    "（与 `cps set` 的设置方式相同）。\n"
    "\n"
    "JOB.csv：标题行每列写一个字段，格式为 区:字段（msk:ID Code、dtmf:Local ID），或写\n"
    "信道单元格，格式为 channel N:标题（channel 3:Chnnel Name）；第一列可为 Label\n"
    "（客户给这台对讲机起的名字）；其后每行一台对讲机。空单元格保留文档的值。发送前\n"
    "检查整个批量文件：被拒绝的值会指出其行和列，退出状态 2。\n"
    "\n"
    "  --port PORT        COM1 到 COM16 或设备路径；给出多个时，每个端口各用一个线程，\n"
    "                     依次写下一台尚未完成的对讲机\n"
    "  --log LOG.csv      每次尝试一行，每台结束时追加：批量行、名称、端口、开始、结束、\n"
    "                     对讲机、结果、校验、备份。其中已完成的行会跳过，所以同一命令\n"
    "                     可以继续未完成的批量\n"
    "  --verify           每台写完后读回并比较\n"
    "  --backup DIR       先把每台对讲机读入 DIR；读取失败时不写这台\n"
    "  --ignore-range     文档的频段超出对讲机范围时仍然继续\n"
    "  --access-code CODE 使用维修区的列时需要\n"
    "\n"
    "标准输入是终端时，每台对讲机都等待用户确认；否则每个端口在上一台结束后立即写下一台。\n"
    "退出状态：批量中每台都完成为 0，有未完成的为 1，用法错误或批量被拒绝为 2。\n";

namespace {

QString portLabel(const QString& portName) {
    return portName.startsWith(QLatin1String("\\\\.\\")) ? portName.mid(4) : portName;
}

QString radioName(const exchange::FleetRadio& radio) {
    return radio.label.isEmpty()
               ? say("line %1", "第 %1 行").arg(radio.line)
               : say("line %1 (%2)", "第 %1 行（%2）").arg(radio.line).arg(radio.label);
}

// Reports on the terminal; the ports' threads take turns through one lock.
class CliFleetObserver : public exchange::FleetObserver {
  public:
    CliFleetObserver(const QList<exchange::FleetRadio>& radios, bool interactive)
        : radios_(radios), interactive_(interactive) {}

    bool beforeRadio(const exchange::FleetRadio& radio, int number, int total,
                     const exchange::FleetPort& port) override {
        if (!interactive_) return true;
        // One question at a time; the other ports' reports go on meanwhile.
        QMutexLocker question(&questionMutex_);
        if (quit_) return false;
        {
            QMutexLocker lock(&mutex_);
            const QString label =
                radio.label.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(radio.label);
            err() << say("Connect radio %1 of %2%3 to %4 and press Enter; q to stop",
                         "请把第 %1 台对讲机%3（共 %2 台）接到 %4，然后按回车；按 q 停止")
                         .arg(number)
                         .arg(total)
                         .arg(label)
                         .arg(portLabel(port.name))
                  << '\n';
            err().flush();
        }
        char buffer[256];
        if (!std::fgets(buffer, sizeof buffer, stdin)) {
            quit_ = true;
            return false;
        }
        const QString answer = QString::fromLocal8Bit(buffer).trimmed();
        quit_ = answer.compare(QLatin1String("q"), Qt::CaseInsensitive) == 0;
        return !quit_;
    }
    void message(int index, const QString& text) override {
        QMutexLocker lock(&mutex_);
        err() << "cps fleet: " << radioName(radios_[index]) << ": " << text << '\n';
        err().flush();
    }
    void ended(int index, const exchange::FleetEntry& entry) override {
        QMutexLocker lock(&mutex_);
        out() << say("%1 on %2", "%1，%2").arg(radioName(radios_[index]), entry.port) << ": "
              << entry.result
              << (entry.verify.isEmpty() ? QString() : QStringLiteral(", ") + entry.verify) << '\n';
        out().flush();
    }

  private:
    const QList<exchange::FleetRadio>& radios_;
    bool interactive_;
    QMutex mutex_;          // the output streams
    QMutex questionMutex_;  // standard input
    std::atomic<bool> quit_{false};
};

}  // namespace

int runFleet(const QStringList& args, const Settings& context) {
    const Args a =
        parseArgs(args,
                  {QStringLiteral("--job"), QStringLiteral("--port"), QStringLiteral("--log"),
                   QStringLiteral("--backup"), QStringLiteral("--access-code")},
                  {QStringLiteral("--verify"), QStringLiteral("--ignore-range")});
    if (!a.error.isEmpty()) return usageError("fleet", a.error);
    if (a.positional.size() != 1)
        return usageError(
            "fleet", a.positional.isEmpty()
                         ? say("DOC is required", "缺少 DOC")
                         : say("unexpected argument '%1'", "多余的参数 '%1'").arg(a.positional[1]));
    for (const char* required : {"--job", "--log"})
        if (a.value(QLatin1String(required)).isEmpty())
            return usageError("fleet",
                              say("%1 is required", "缺少 %1").arg(QLatin1String(required)));
    if (a.has(QStringLiteral("--backup")) && a.value(QStringLiteral("--backup")).isEmpty())
        return usageError("fleet", say("--backup needs a folder", "--backup 需要一个文件夹"));
    const QStringList portArgs = a.all(QStringLiteral("--port"));
    if (portArgs.isEmpty()) return usageError("fleet", say("--port is required", "缺少 --port"));
    QStringList ports;
    QSet<QString> tokens;
    for (const QString& arg : portArgs) {
        QString name;
        if (!portArgument(arg, name))
            return usageError("fleet", say("'%1' is not COM1 to COM16 or a device path",
                                           "'%1' 不是 COM1 到 COM16，也不是设备路径")
                                           .arg(arg));
        // Two threads on one port would fight over it; two ports of one file name would
        // share backup names.
        if (ports.contains(name) || tokens.contains(portToken(name)))
            return usageError("fleet",
                              say("port '%1' is given twice", "端口 '%1' 给了两次").arg(arg));
        ports << name;
        tokens.insert(portToken(name));
    }

    RadioImage document;
    if (!loadImage("fleet", a.positional.first(), document)) return kFailed;

    const QString jobPath = a.value(QStringLiteral("--job"));
    QFile file;
    QString error;
    if (!openRegularFile(file, jobPath, &error)) {
        err() << "cps fleet: " << error << '\n';
        return kFailed;
    }
    exchange::Job job;
    if (!exchange::readJob(file.read(kMaxInputFile + 1), &job, &error, context.chinese)) {
        err() << "cps fleet: " << jobPath << ": " << error
              << say("; no radio written", "；未写任何对讲机") << '\n';
        return kUsage;
    }
    const bool access = a.has(QStringLiteral("--access-code")) &&
                        accessCodeMatches(a.value(QStringLiteral("--access-code")));
    const exchange::JobImages images = exchange::jobImages(job, document, access, context.chinese);
    if (!images.ok) {
        err() << "cps fleet: " << jobPath << ": " << images.error
              << say("; no radio written", "；未写任何对讲机") << '\n';
        return images.needsAccess ? kFailed : kUsage;
    }

    exchange::FleetLog log(a.value(QStringLiteral("--log")));
    if (!log.open(&error)) {
        err() << "cps fleet: " << error << say("; no radio written", "；未写任何对讲机") << '\n';
        return kFailed;
    }

    QList<exchange::FleetRadio> radios;
    for (const exchange::JobRadio& r : images.radios)
        radios << exchange::FleetRadio{r.line, r.label, r.image};
    const PortResolver resolve = userPortResolver(context);
    QList<exchange::FleetPort> fleetPorts;
    for (const QString& name : ports) fleetPorts << exchange::FleetPort{name, resolve(name)};
    exchange::FleetOptions options;
    options.verify = a.has(QStringLiteral("--verify"));
    options.ignoreRange = a.has(QStringLiteral("--ignore-range"));
    options.chinese = context.chinese;
    options.backupDir = a.value(QStringLiteral("--backup"));

    CliFleetObserver observer(radios, isatty(fileno(stdin)) != 0);
    std::atomic<bool> stop{false};
    const exchange::FleetSummary s =
        exchange::runFleet(radios, fleetPorts, options, log, observer, stop);
    if (!s.error.isEmpty()) err() << "cps fleet: " << s.error << '\n';
    out()
        << say("%1 of %2 radios done", "%2 台对讲机中已完成 %1 台").arg(s.done).arg(radios.size());
    if (s.failed > 0) out() << say(", %1 failed in this run", "，本次 %1 台失败").arg(s.failed);
    out() << say("; log %1", "；记录 %1").arg(log.path()) << '\n';
    return s.allDone() ? kOk : kFailed;
}

}  // namespace cps::cli
