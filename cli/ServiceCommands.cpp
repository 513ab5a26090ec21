// `cps service read|write`: the service block exchange of the Param Adjust and SQL Tuning
// dialogs, over exactly their image ranges.
#include <QFileInfo>

#include "AppContext.h"
#include "CliCommon.h"
#include "Commands.h"
#include "Field.h"
#include "PortNames.h"
#include "RadioLink.h"
#include "SerialPort.h"
#include "ServiceAccess.h"
#include "ServiceExchange.h"

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

int runService(const QStringList& args, const AppContext& context) {
    const QString direction = args.value(0);
    const bool reading = direction == QLatin1String("read");
    if (!reading && direction != QLatin1String("write"))
        return usageError("service", QStringLiteral("needs read or write"));
    const Args a = parseArgs(
        args.mid(1), {QStringLiteral("--port"), QStringLiteral("--section"), QStringLiteral("-o"),
                      QStringLiteral("--output"), QStringLiteral("--access-code")});
    if (!a.error.isEmpty()) return usageError("service", a.error);
    if (a.positional.size() != 1)
        return usageError("service",
                          a.positional.isEmpty()
                              ? QStringLiteral("FILE is required")
                              : QStringLiteral("unexpected argument '%1'").arg(a.positional[1]));
    const QString output = a.has(QStringLiteral("-o")) ? a.value(QStringLiteral("-o"))
                                                       : a.value(QStringLiteral("--output"));
    if (reading && output.isEmpty()) return usageError("service", "read needs -o OUT");
    if (!reading && !output.isEmpty())
        return usageError("service", "write sends FILE and writes no file; -o is for read");
    const QString section = a.value(QStringLiteral("--section"));
    const ServiceRange* range = findServiceRange(section);
    const field::Table* table = field::findTable(section);
    if (!range || !table)
        return usageError("service", QStringLiteral("--section takes param or sql"));
    QString port;
    if (!a.has(QStringLiteral("--port"))) return usageError("service", "--port is required");
    if (!portArgument(a.value(QStringLiteral("--port")), port))
        return usageError("service", QStringLiteral("'%1' is not COM1 to COM16 or a device path")
                                         .arg(a.value(QStringLiteral("--port"))));
    if (table->needsAccessCode && !accessCodeMatches(a.value(QStringLiteral("--access-code")))) {
        err() << "cps service: Password: section " << table->section
              << " needs the service access code (--access-code); nothing sent\n";
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
        if (result == LinkResult::PortNotOpened)
            err() << "cps service: " << resolve(port) << ": " << serial.errorText() << '\n';
        err() << "cps service: failed, nothing " << (reading ? "saved" : "more sent") << '\n';
        return kFailed;
    }
    if (reading && !saveImage("service", output, image)) return kFailed;
    for (const QString& box : prompt.boxes) out() << box << '\n';
    return kOk;
}

}  // namespace cps::cli
