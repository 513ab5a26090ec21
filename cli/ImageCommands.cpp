#include <QFile>

#include "AppContext.h"
#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "CliCommon.h"
#include "Commands.h"
#include "FeatureFields.h"
#include "JsonText.h"
#include "RowImport.h"
#include "RowText.h"

namespace cps::cli {

const char* const kNewHelp =
    "Usage: cps new -o FILE\n\n"
    "Writes the image that saving a new, unedited document gives: the factory image with the\n"
    "new-image settings applied (radio type from the per-user value \"Type\", 0 when absent;\n"
    "both bands 134-176 MHz; model 0; band code 1). FILE \"-\" writes it to standard output.\n";

const char* const kChannelsHelp =
    "Usage: cps channels FILE [--lang en|zh]\n"
    "       cps channels FILE --import ROWS.tsv -o OUT [--lang en|zh]\n\n"
    "Without --import: prints the 129 rows of the channel grid, one line each: the row label\n"
    "(1 to 128, Fr) and the ten column texts (Rx and Tx frequency, decode and encode tone,\n"
    "name, power, W/N, scan add, busy lock, PTT ID), separated by tabs, in UTF-8. Control\n"
    "characters in a text are written as \\t, \\n, \\r or \\xNN and a backslash as \\\\.\n"
    "--lang picks the language of the texts (default: the program's language setting).\n\n"
    "With --import: reads 129 lines of that same form and types each row into the channel grid\n"
    "over FILE, left to right, under the grid's entry rules and the bands of FILE; then stores\n"
    "the grid into a copy of FILE and writes OUT (\"-\": standard output). Texts of either\n"
    "language and the escapes above are accepted, list\n"
    "texts whatever their letter case; --lang picks the language of the reported values. An\n"
    "entry the grid refuses (or a name longer than the 8 characters of the record) is an error\n"
    "that names the line and the column, with the grid's message; nothing is written then. A\n"
    "value the grid's rules change (a transmit frequency outside both bands becomes band 1's\n"
    "lower limit, tone 259.99 becomes 259.9) is stored as the grid stores it and reported on\n"
    "stderr.\n";

const char* const kInfoHelp =
    "Usage: cps info FILE [--json]\n\n"
    "Prints the two bands in use, the model index, the band code, the radio type byte and\n"
    "whether a radio password is set; --json prints them as one object, bands in MHz. Band\n"
    "limits that cannot be used (a digit above 9, lower above upper, upper 0) are replaced\n"
    "as the channel grid replaces them, from the 16-bit copy or the band code's reset range,\n"
    "with a note on stderr; `cps channels` does the same.\n";

namespace {

// The note the grid shows when it replaces unusable band limits, on stderr.
void noteBands(const char* command, const RadioImage& image, const BandsInUse& in, bool chinese) {
    if (in.replaced())
        err() << "cps " << command << ": "
              << msg::bandsInUseNote(in, image.at(addr::kBandCode), chinese) << '\n';
}

int importRows(const QString& file, const QString& rowsPath, const QString& outPath, bool chinese) {
    RadioImage image;
    if (!loadImage("channels", file, image)) return kFailed;
    QFile rowsFile(rowsPath);
    if (!rowsFile.open(QIODevice::ReadOnly)) {
        err() << "cps: cannot open " << rowsPath << ": " << rowsFile.errorString() << "\n";
        return kFailed;
    }
    // A table is about 10 KB; a pipe is fine, but an endless source (/dev/zero) must not
    // fill the memory.
    const qint64 maxTable = 1024 * 1024;
    const QByteArray text = rowsFile.read(maxTable + 1);
    if (text.size() > maxTable) {
        err() << "cps: " << rowsPath << " is larger than 1 MiB, no channel table\n";
        return kFailed;
    }
    const RowImportResult result = importChannelRows(text, rowsPath, image, chinese);
    for (const QString& line : result.messages) err() << "cps: " << line << '\n';
    if (!result.ok) return kFailed;
    return saveImage("channels", outPath, image) ? kOk : kFailed;
}

}  // namespace

int runNew(const QStringList& args, const AppContext& context) {
    const Args a = parseArgs(args, {QStringLiteral("-o")});
    if (!a.error.isEmpty()) return usageError("new", a.error);
    if (!a.positional.isEmpty() || !a.has(QStringLiteral("-o")))
        return usageError("new", QStringLiteral("needs -o FILE and nothing else"));
    return saveImage("new", a.value(QStringLiteral("-o")), newDocumentImage(context)) ? kOk
                                                                                      : kFailed;
}

int runChannels(const QStringList& args, const AppContext& context) {
    const Args a = parseArgs(
        args, {QStringLiteral("--lang"), QStringLiteral("--import"), QStringLiteral("-o")});
    if (!a.error.isEmpty()) return usageError("channels", a.error);
    if (a.positional.size() != 1)
        return usageError("channels", QStringLiteral("needs exactly one FILE"));
    const QString file = a.positional.first();

    bool chinese = context.chinese;
    if (a.has(QStringLiteral("--lang"))) {
        const QString lang = a.value(QStringLiteral("--lang"));
        if (lang != QLatin1String("en") && lang != QLatin1String("zh"))
            return usageError("channels", QStringLiteral("--lang takes en or zh"));
        chinese = lang == QLatin1String("zh");
    }
    if (a.has(QStringLiteral("--import")) || a.has(QStringLiteral("-o"))) {
        if (!a.has(QStringLiteral("--import")) || !a.has(QStringLiteral("-o")))
            return usageError("channels",
                              QStringLiteral("--import ROWS.tsv and -o OUT go together"));
        return importRows(file, a.value(QStringLiteral("--import")), a.value(QStringLiteral("-o")),
                          chinese);
    }

    RadioImage image;
    if (!loadImage("channels", file, image)) return kFailed;
    noteBands("channels", image, loadBandsInUse(image), chinese);
    out() << exportChannelRows(image, chinese);
    return kOk;
}

int runInfo(const QStringList& args, const AppContext& context) {
    const Args a = parseArgs(args, {}, {QStringLiteral("--json")});
    if (!a.error.isEmpty()) return usageError("info", a.error);
    if (a.positional.size() != 1)
        return usageError("info", QStringLiteral("needs exactly one FILE"));
    RadioImage image;
    if (!loadImage("info", a.positional.first(), image)) return kFailed;
    // The limits the grid and the radio write work with.
    const BandsInUse in = loadBandsInUse(image);
    noteBands("info", image, in, context.chinese);
    const Bands& bands = in.bands;
    // As the Optional Features dialog shows it.
    const field::Table& optional = optionalFields();
    const bool password =
        !field::show(*optional.find(QStringLiteral("Password")), image.data(), field::Env{})
             .isEmpty();
    auto mhz = [](Freq f) { return QString::number(f / kPerMHz); };
    if (a.has(QStringLiteral("--json"))) {
        auto band = [](const Band& b) {
            return json::object({{QStringLiteral("low"), json::number(double(b.low) / kPerMHz)},
                                 {QStringLiteral("high"), json::number(double(b.high) / kPerMHz)}});
        };
        out() << json::object(
                     {{QStringLiteral("band1"), band(bands.band1)},
                      {QStringLiteral("band2"), band(bands.band2)},
                      {QStringLiteral("modelIndex"), json::number(image.at(addr::kModelIndex))},
                      {QStringLiteral("bandCode"), json::number(image.at(addr::kBandCode))},
                      {QStringLiteral("radioType"), json::number(image.at(addr::kRadioType))},
                      {QStringLiteral("password"), json::boolean(password)}})
              << '\n';
        return kOk;
    }
    out() << "Band 1: " << mhz(bands.band1.low) << "-" << mhz(bands.band1.high) << " MHz\n"
          << "Band 2: " << mhz(bands.band2.low) << "-" << mhz(bands.band2.high) << " MHz\n"
          << "Model index: " << int(image.at(addr::kModelIndex)) << "\n"
          << "Band code: " << int(image.at(addr::kBandCode)) << "\n"
          << "Radio type: " << int(image.at(addr::kRadioType)) << "\n"
          << "Password: " << (password ? "set" : "none") << "\n";
    return kOk;
}

}  // namespace cps::cli
