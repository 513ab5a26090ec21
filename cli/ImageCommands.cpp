#include <QFile>
#include <QHash>
#include <QSet>

#include "AppContext.h"
#include "ChannelCodec.h"
#include "CliCommon.h"
#include "Commands.h"
#include "FeatureFields.h"

namespace cps::cli {

const char* const kNewHelp =
    "Usage: cps new -o FILE\n\n"
    "Writes the image that saving a new, unedited document gives: the factory image with the\n"
    "new-image settings applied (radio type from the per-user value \"Type\", 0 when absent;\n"
    "both bands 134-176 MHz; model 0; band code 1).\n";

const char* const kChannelsHelp =
    "Usage: cps channels FILE [--lang en|zh]\n"
    "       cps channels FILE --import ROWS.tsv -o OUT\n\n"
    "Without --import: prints the 129 rows of the channel grid, one line each: the row label\n"
    "(1 to 128, Fr) and the ten column texts (Rx and Tx frequency, decode and encode tone,\n"
    "name, power, W/N, scan add, busy lock, PTT ID), separated by tabs, in UTF-8. --lang picks\n"
    "the language of the texts (default: the program's language setting).\n\n"
    "With --import: reads 129 lines of that same form, stores them into a copy of FILE the way\n"
    "the channel grid stores into the image (checked against the bands of FILE), and writes\n"
    "OUT. Texts of either language are accepted. A malformed line is an error that names it;\n"
    "nothing is written then.\n";

const char* const kInfoHelp =
    "Usage: cps info FILE\n\n"
    "Prints the two bands, the model index, the band code, the radio type byte and whether a\n"
    "radio password is set.\n";

namespace {

int importRows(const QString& file, const QString& rowsPath, const QString& outPath) {
    RadioImage image;
    if (!loadImage("channels", file, image)) return kFailed;
    QFile rowsFile(rowsPath);
    if (!rowsFile.open(QIODevice::ReadOnly)) {
        err() << "cps: cannot open " << rowsPath << ": " << rowsFile.errorString() << "\n";
        return kFailed;
    }
    QStringList lines = QString::fromUtf8(rowsFile.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();

    QHash<QString, int> labels;
    for (int n = 1; n <= kChannelCount; ++n) labels.insert(channelLabel(n), n);

    QHash<int, ChannelRow> rows;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QStringList fields = line.split(QLatin1Char('\t'));
        const QString where = QStringLiteral("%1 line %2").arg(rowsPath).arg(i + 1);
        if (fields.size() != 1 + kColumnCount) {
            err() << "cps: " << where << ": " << fields.size() << " fields, " << 1 + kColumnCount
                  << " expected (label and ten columns, separated by tabs)\n";
            return kFailed;
        }
        const int n = labels.value(fields[0], 0);
        if (n == 0) {
            err() << "cps: " << where << ": unknown row label '" << fields[0] << "'\n";
            return kFailed;
        }
        if (rows.contains(n)) {
            err() << "cps: " << where << ": row '" << fields[0] << "' appears twice\n";
            return kFailed;
        }
        ChannelRow row;
        for (int c = 0; c < kColumnCount; ++c) row[c] = fields[c + 1];
        rows.insert(n, row);
    }
    if (rows.size() != kChannelCount) {
        err() << "cps: " << rowsPath << ": " << rows.size() << " rows, " << kChannelCount
              << " expected\n";
        return kFailed;
    }
    // As the grid stores: band limits first, then every row against them.
    const Bands bands = unpackBands(image);
    packBands(image, bands);
    for (int n = 1; n <= kChannelCount; ++n)
        encodeChannel(rows[n], image.data() + recordOffset(n), bands);
    return saveImage("channels", outPath, image) ? kOk : kFailed;
}

}  // namespace

int runNew(const QStringList& args) {
    const Args a = parseArgs(args, {QStringLiteral("-o")});
    if (!a.error.isEmpty()) return usageError("new", a.error);
    if (!a.positional.isEmpty() || !a.has(QStringLiteral("-o")))
        return usageError("new", QStringLiteral("needs -o FILE and nothing else"));
    return saveImage("new", a.value(QStringLiteral("-o")), newDocumentImage()) ? kOk : kFailed;
}

int runChannels(const QStringList& args) {
    const Args a = parseArgs(
        args, {QStringLiteral("--lang"), QStringLiteral("--import"), QStringLiteral("-o")});
    if (!a.error.isEmpty()) return usageError("channels", a.error);
    if (a.positional.size() != 1)
        return usageError("channels", QStringLiteral("needs exactly one FILE"));
    const QString file = a.positional.first();

    if (a.has(QStringLiteral("--import")) || a.has(QStringLiteral("-o"))) {
        if (!a.has(QStringLiteral("--import")) || !a.has(QStringLiteral("-o")) ||
            a.has(QStringLiteral("--lang")))
            return usageError("channels",
                              QStringLiteral("--import ROWS.tsv and -o OUT go together"));
        return importRows(file, a.value(QStringLiteral("--import")), a.value(QStringLiteral("-o")));
    }

    bool chinese = app().chinese;
    if (a.has(QStringLiteral("--lang"))) {
        const QString lang = a.value(QStringLiteral("--lang"));
        if (lang != QLatin1String("en") && lang != QLatin1String("zh"))
            return usageError("channels", QStringLiteral("--lang takes en or zh"));
        chinese = lang == QLatin1String("zh");
    }
    RadioImage image;
    if (!loadImage("channels", file, image)) return kFailed;
    const Bands bands = unpackBands(image);
    QString text;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRow row = decodeChannel(image.data() + recordOffset(n), bands, chinese);
        text += channelLabel(n);
        for (const QString& cell : row) text += QLatin1Char('\t') + cell;
        text += QLatin1Char('\n');
    }
    out() << text;
    return kOk;
}

int runInfo(const QStringList& args) {
    const Args a = parseArgs(args, {});
    if (!a.error.isEmpty()) return usageError("info", a.error);
    if (a.positional.size() != 1)
        return usageError("info", QStringLiteral("needs exactly one FILE"));
    RadioImage image;
    if (!loadImage("info", a.positional.first(), image)) return kFailed;
    const Bands bands = unpackBands(image);
    // As the Optional Features dialog shows it.
    const field::Table& optional = optionalFields();
    const bool password =
        !field::show(*optional.find(QStringLiteral("Password")), image.data(), field::Env{})
             .isEmpty();
    auto mhz = [](Freq f) { return QString::number(f / kPerMHz); };
    out() << "Band 1: " << mhz(bands.band1.low) << "-" << mhz(bands.band1.high) << " MHz\n"
          << "Band 2: " << mhz(bands.band2.low) << "-" << mhz(bands.band2.high) << " MHz\n"
          << "Model index: " << int(image.at(addr::kModelIndex)) << "\n"
          << "Band code: " << int(image.at(addr::kBandCode)) << "\n"
          << "Radio type: " << int(image.at(addr::kRadioType)) << "\n"
          << "Password: " << (password ? "set" : "none") << "\n";
    return kOk;
}

}  // namespace cps::cli
