#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

#include "AppContext.h"
#include "CliCommon.h"
#include "Commands.h"
#include "DataFile.h"
#include "PortNames.h"
#include "RadioLink.h"
#include "SerialPort.h"
#include "ServiceAccess.h"

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
    "\n"
    "Reads the whole memory of a radio and saves it as the image file OUT.\n"
    "\n"
    "  --port PORT         COM1 to COM16, or a device path such as /dev/ttyUSB0 or ./radio\n"
    "  -o, --output OUT    image file to write; written only when the read completed\n"
    "                      (\"-\" writes the image to standard output)\n"
    "  --into DOC          start from the image file DOC instead of a new image (its\n"
    "                      radio password is checked against the radio's)\n"
    "  --password DIGITS   radio password (up to six digits) to read a locked radio\n"
    "  --retries N         answer Retry this many times when the radio does not answer\n"
    "\n"
    "On systems without COM names COMn opens /dev/ttyUSB(n-1), or the device set as\n"
    "Ports/COMn in the per-user settings.\n";

const char* const kWriteHelp =
    "Usage: cps write --port PORT FILE [--ignore-range] [--retries N]\n"
    "                 [--calibration --access-code CODE]\n"
    "\n"
    "Writes the image file FILE to a radio: rows 0 to 249 and the model, band,\n"
    "password and limit blocks.\n"
    "\n"
    "  --port PORT          COM1 to COM16, or a device path such as /dev/ttyUSB0 or ./radio\n"
    "  --ignore-range       go on when the image's bands lie outside the radio's range\n"
    "  --retries N          answer Retry this many times when the radio does not answer\n"
    "  --calibration        also send the squelch calibration rows (0xFA0-0xFCF);\n"
    "                       needs the service access code in --access-code\n";

namespace {

// Answers the protocol's questions from the options and draws a progress bar on a terminal.
class CliPrompt : public LinkPrompt {
  public:
    CliPrompt(bool continueOutOfRange, int retries)
        : continue_(continueOutOfRange), retries_(retries), tty_(isatty(fileno(stderr)) != 0) {}

    Answer message(const QString& text, const QString&, Buttons buttons) override {
        endBar();
        const QString line = text.trimmed().replace(QLatin1Char('\n'), QLatin1Char(' '));
        switch (buttons) {
            case Buttons::OkCancel:
                err() << line << (continue_ ? " [OK: --ignore-range]\n" : " [Cancel]\n");
                return continue_ ? Answer::Ok : Answer::Cancel;
            case Buttons::RetryCancel:
                if (retries_ > 0) {
                    --retries_;
                    err() << line << " [Retry]\n";
                    err().flush();
                    return Answer::Retry;
                }
                err() << line << '\n';
                return Answer::Cancel;
            case Buttons::Ok:
                break;
        }
        err() << line << '\n';
        return Answer::Ok;
    }
    void setStatus(const QString&) override {}
    void setProgressRange(int maximum) override { max_ = maximum; }
    void setProgress(int position) override {
        if (!tty_ || max_ <= 0) return;
        const int width = 40;
        const int filled = position * width / max_;
        err() << '\r' << '[' << QString(filled, QLatin1Char('#'))
              << QString(width - filled, QLatin1Char(' ')) << "] " << position << '/' << max_;
        err().flush();
        barShown_ = true;
    }
    bool pump() override { return false; }
    void endBar() {
        if (barShown_) err() << '\n';
        barShown_ = false;
    }

  private:
    bool continue_;
    int retries_;
    bool tty_;
    int max_ = 0;
    bool barShown_ = false;
};

struct Parsed {
    QString port, output, into, password, file, accessCode;
    bool ignoreRange = false, calibration = false, hasAccessCode = false;
    int retries = 0;
};

int parse(const char* command, const QStringList& args, Parsed& p) {
    const Args a =
        parseArgs(args,
                  {QStringLiteral("--port"), QStringLiteral("-o"), QStringLiteral("--output"),
                   QStringLiteral("--into"), QStringLiteral("--password"),
                   QStringLiteral("--access-code"), QStringLiteral("--retries")},
                  {QStringLiteral("--ignore-range"), QStringLiteral("--calibration")});
    if (!a.error.isEmpty()) return usageError(command, a.error);
    if (a.positional.size() > 1)
        return usageError(command, QStringLiteral("unexpected argument '%1'").arg(a.positional[1]));
    p.file = a.positional.value(0);
    p.port = a.value(QStringLiteral("--port"));
    p.output = a.has(QStringLiteral("-o")) ? a.value(QStringLiteral("-o"))
                                           : a.value(QStringLiteral("--output"));
    p.into = a.value(QStringLiteral("--into"));
    if (a.has(QStringLiteral("--password"))) p.password = a.value(QStringLiteral("--password"));
    p.hasAccessCode = a.has(QStringLiteral("--access-code"));
    p.accessCode = a.value(QStringLiteral("--access-code"));
    p.ignoreRange = a.has(QStringLiteral("--ignore-range"));
    p.calibration = a.has(QStringLiteral("--calibration"));
    if (a.has(QStringLiteral("--retries"))) {
        bool ok = false;
        p.retries = a.value(QStringLiteral("--retries")).toInt(&ok);
        if (!ok || p.retries < 0)
            return usageError(command, "--retries needs a number of 0 or more");
    }
    if (p.port.isEmpty()) return usageError(command, "--port is required");
    QString name;
    if (!portArgument(p.port, name))
        return usageError(command,
                          QStringLiteral("'%1' is not COM1 to COM16 or a device path").arg(p.port));
    p.port = name;
    return kOk;
}

int runLink(const char* command, RadioImage& image, const TransferSettings& settings,
            const Parsed& p, const AppContext& context) {
    // COMn leads where the user assigned it in the per-user settings.
    const PortResolver resolve = userPortResolver(context);
    SerialPort port(resolve);
    CliPrompt prompt(p.ignoreRange, p.retries);
    RadioLink link(port, prompt);
    const LinkResult result = link.transfer(image, settings);
    prompt.endBar();
    if (result == LinkResult::Ok) return kOk;
    if (result == LinkResult::PortNotOpened)
        err() << "cps " << command << ": " << resolve(settings.portName) << ": " << port.errorText()
              << '\n';
    err() << "cps " << command << ": failed, nothing "
          << (settings.mode == LinkMode::Read ? "saved" : "more sent") << '\n';
    return kFailed;
}

}  // namespace

int runRead(const QStringList& args, const AppContext& context) {
    Parsed p;
    if (const int status = parse("read", args, p); status != kOk) return status;
    if (!p.file.isEmpty())
        return usageError("read", QStringLiteral("unexpected argument '%1'").arg(p.file));
    if (p.output.isEmpty()) return usageError("read", "-o OUT is required");
    if (p.calibration || p.hasAccessCode || p.ignoreRange)
        return usageError("read", "--calibration, --access-code and --ignore-range are for write");
    static const QRegularExpression digits(QStringLiteral("^[0-9]{0,6}$"));
    if (!p.password.isNull() && !digits.match(p.password).hasMatch())
        return usageError("read", "--password takes up to six digits");

    RadioImage image = newDocumentImage(context);
    if (!p.into.isEmpty() && !loadImage("read", p.into, image)) return kFailed;
    if (!p.password.isNull()) {
        for (int i = 0; i < addr::kPasswordLength; ++i)
            image.set(addr::kPassword + i, i < p.password.size()
                                               ? static_cast<uint8_t>(p.password.at(i).toLatin1())
                                               : 0xFF);
    }

    TransferSettings settings;
    settings.mode = LinkMode::Read;
    settings.portName = p.port;
    settings.chinese = context.chinese;
    if (const int status = runLink("read", image, settings, p, context); status != kOk)
        return status;

    QString error;
    if (!writeImage(p.output, image, &error)) {
        err() << "cps read: the radio was read but " << error << '\n';
        return kFailed;
    }
    // With the image on standard output, the report must not mix into it.
    (isStandardOutput(p.output) ? err() : out())
        << "Read " << kImageSize << " bytes from " << p.port << " into "
        << (isStandardOutput(p.output) ? QStringLiteral("standard output") : p.output) << '\n';
    return kOk;
}

int runWrite(const QStringList& args, const AppContext& context) {
    Parsed p;
    if (const int status = parse("write", args, p); status != kOk) return status;
    if (p.file.isEmpty()) return usageError("write", "FILE is required");
    if (!p.output.isEmpty() || !p.into.isEmpty() || !p.password.isNull())
        return usageError("write", "-o, --into and --password are for read");
    if (p.hasAccessCode && !p.calibration)
        return usageError("write", "--access-code goes with --calibration");
    if (p.calibration && !accessCodeMatches(p.accessCode)) {
        err() << "cps write: --calibration needs the right service access code in "
                 "--access-code; nothing sent\n";
        return kFailed;
    }

    RadioImage image;
    if (!loadImage("write", p.file, image)) return kFailed;
    TransferSettings settings;
    settings.mode = LinkMode::Write;
    settings.portName = p.port;
    settings.bands = loadBandsInUse(image).bands;
    settings.sendCalibration = p.calibration;
    settings.chinese = context.chinese;
    if (const int status = runLink("write", image, settings, p, context); status != kOk)
        return status;
    out() << "Wrote " << QFileInfo(p.file).fileName() << " to " << p.port
          << (settings.sendCalibration ? " with the calibration rows\n" : "\n");
    return kOk;
}

}  // namespace cps::cli
