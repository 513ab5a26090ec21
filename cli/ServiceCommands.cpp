// `cps service read|write`: the service block exchange of the Param Adjust and SQL Tuning
// dialogs, over exactly their image ranges.
#include <QFileInfo>

#include "CliCommon.h"
#include "Commands.h"
#include "Field.h"
#include "PortNames.h"
#include "RadioLink.h"
#include "SerialPort.h"
#include "ServiceAccess.h"
#include "ServiceExchange.h"
#include "Settings.h"

namespace cps::cli {

const char* const kServiceHelp =
    "Usage: cps service read --port PORT --section param|sql FILE -o OUT [--access-code CODE]\n"
    "       cps service write --port PORT --section param|sql FILE [--access-code CODE]\n"
    "\n"
    "Exchanges one service section with the radio, as the Read and Write buttons of its\n"
    "dialog do, and nothing else:\n"
    "  param  Param Adjust, image bytes 0xFB4-0xFCF (needs the service access code)\n"
    "  sql    SQL Tuning, image bytes 0xFA0-0xFB3\n"
    "\n"
    "read   saves OUT: FILE with the section's bytes as the radio holds them; OUT is\n"
    "       written only when every block arrived.\n"
    "write  sends the section's bytes of FILE after the dialog's store (out-of-range values\n"
    "       become their defaults, as OK would make them); FILE is not changed.\n"
    "\n"
    "  --port PORT         COM1 to COM16, or a device path such as /dev/ttyUSB0\n"
    "  --access-code CODE  the service access code\n";

const char* const kServiceHelpZh =
    "用法：cps service read --port 端口 --section param|sql 文件 -o OUT [--access-code 密码]\n"
    "      cps service write --port 端口 --section param|sql 文件 [--access-code 密码]\n"
    "\n"
    "与对讲机交换一个维修区，如同其对话框的读、写按钮，不做别的：\n"
    "  param  参数调整，映像字节 0xFB4-0xFCF（需要维修密码）\n"
    "  sql    静噪调整，映像字节 0xFA0-0xFB3\n"
    "\n"
    "read   保存 OUT：文件加上对讲机中该区的字节；只在每一块都收到时写出 OUT。\n"
    "write  发送文件中该区经对话框存储后的字节（超出范围的值变为默认值，如同按确定）；\n"
    "       文件不被修改。\n"
    "\n"
    "  --port 端口          COM1 到 COM16，或设备路径，如 /dev/ttyUSB0\n"
    "  --access-code 密码   维修密码\n";

namespace {

// Collects the exchange's boxes; the command prints them where they belong.
class ServicePrompt : public LinkPrompt {
  public:
    QStringList boxes;
    Answer message(const QString& text, const QString&, Buttons) override {
        boxes << text.trimmed();
        return Answer::Ok;
    }
    void setStatus(const QString&) override {}
    void setProgressRange(int) override {}
    void setProgress(int) override {}
    bool pump() override { return false; }
};

}  // namespace

int runService(const QStringList& args, const Settings& context) {
    const QString direction = args.value(0);
    const bool reading = direction == QLatin1String("read");
    if (!reading && direction != QLatin1String("write"))
        return usageError("service", say("needs read or write", "需要 read 或 write"));
    const Args a = parseArgs(
        args.mid(1), {QStringLiteral("--port"), QStringLiteral("--section"), QStringLiteral("-o"),
                      QStringLiteral("--output"), QStringLiteral("--access-code")});
    if (!a.error.isEmpty()) return usageError("service", a.error);
    if (a.positional.size() != 1)
        return usageError(
            "service",
            a.positional.isEmpty()
                ? say("FILE is required", "必须给出 FILE")
                : say("unexpected argument '%1'", "多余的参数 '%1'").arg(a.positional[1]));
    const QString output = a.has(QStringLiteral("-o")) ? a.value(QStringLiteral("-o"))
                                                       : a.value(QStringLiteral("--output"));
    if (reading && output.isEmpty())
        return usageError("service", say("read needs -o OUT", "read 需要 -o OUT"));
    if (!reading && !output.isEmpty())
        return usageError("service", say("write sends FILE and writes no file; -o is for read",
                                         "write 发送 FILE，不写文件；-o 用于 read"));
    const QString section = a.value(QStringLiteral("--section"));
    const ServiceRange* range = findServiceRange(section);
    const field::Table* table = field::findTable(section);
    if (!range || !table)
        return usageError("service",
                          say("--section takes param or sql", "--section 取 param 或 sql"));
    QString port;
    if (!a.has(QStringLiteral("--port")))
        return usageError("service", say("--port is required", "必须给出 --port"));
    if (!portArgument(a.value(QStringLiteral("--port")), port))
        return usageError("service", say("'%1' is not COM1 to COM16 or a device path",
                                         "'%1' 不是 COM1 到 COM16，也不是设备路径")
                                         .arg(a.value(QStringLiteral("--port"))));
    if (table->needsAccessCode && !accessCodeMatches(a.value(QStringLiteral("--access-code")))) {
        err() << "cps service: "
              << say("Password: section %1 needs the service access code (--access-code); "
                     "nothing sent",
                     "密码：区 %1 需要维修密码（--access-code）；未发送任何数据")
                     .arg(QString::fromUtf8(table->section))
              << '\n';
        return kFailed;
    }

    RadioImage image;
    if (!loadImage("service", a.positional.first(), image)) return kFailed;
    if (!reading) {
        // What the dialog's Write sends: its controls stored into the image first.
        field::Env env;
        env.bands = loadBandsInUse(image).bands;
        field::store(field::load(*table, image, env), image);
    }

    const PortResolver resolve = userPortResolver(context);
    SerialPort serial(resolve);
    ServicePrompt prompt;
    const LinkResult result =
        RadioLink(serial, prompt)
            .serviceExchange(image, range->start, range->end,
                             reading ? LinkMode::Read : LinkMode::Write, port, context.chinese);
    if (result != LinkResult::Ok) {
        for (const QString& box : prompt.boxes) err() << "cps service: " << box << '\n';
        if (result == LinkResult::PortNotOpened) {
            // The system's reason comes in English; a known one is said in Chinese.
            const QString reason =
                context.chinese ? linktext::portReason(serial.openFailure(), resolve(port), true)
                                : QString();
            err() << "cps service: "
                  << (reason.isEmpty() ? resolve(port) + QStringLiteral(": ") + serial.errorText()
                                       : reason)
                  << '\n';
        }
        err() << "cps service: "
              << (reading ? say("failed, nothing saved", "失败，未保存任何文件")
                          : say("failed, nothing more sent", "失败，不再发送数据"))
              << '\n';
        return kFailed;
    }
    if (reading && !saveImage("service", output, image)) return kFailed;
    for (const QString& box : prompt.boxes) out() << box << '\n';
    return kOk;
}

}  // namespace cps::cli
