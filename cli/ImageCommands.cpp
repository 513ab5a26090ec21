#include <QFile>
#include <QHash>
#include <QSet>

#include "AppContext.h"
#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "CliCommon.h"
#include "Commands.h"
#include "FeatureFields.h"
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
    "Usage: cps info FILE\n\n"
    "Prints the two bands, the model index, the band code, the radio type byte and whether a\n"
    "radio password is set.\n";

namespace {

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
    QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    // Editors often leave empty lines at the end; they hold no row.
    while (!lines.isEmpty() && (lines.last().isEmpty() || lines.last() == QLatin1String("\r")))
        lines.removeLast();

    QHash<QString, int> labels;
    for (int n = 1; n <= kChannelCount; ++n) labels.insert(channelLabel(n), n);

    QHash<int, ChannelRow> rows;
    QHash<int, int> lineOf;
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
            err() << "cps: " << where << ": unknown row label \"" << escapeCell(fields[0])
                  << "\"\n";
            return kFailed;
        }
        if (rows.contains(n)) {
            err() << "cps: " << where << ": row \"" << escapeCell(fields[0])
                  << "\" appears twice\n";
            return kFailed;
        }
        ChannelRow row;
        // Bytes other than printable ASCII reach a name only as escapes, as `cps channels`
        // prints them; typed as they are they would be whatever the file's encoding made.
        const QString& name = fields[1 + kColName];
        for (QChar ch : name) {
            if (ch.unicode() < 0x20 || ch.unicode() > 0x7E) {
                err() << "cps: " << where << ", column \""
                      << ChannelTable::heading(1 + kColName, false) << "\": '" << escapeCell(name)
                      << "': a character outside printable ASCII (write other bytes as \\xNN)"
                      << "\ncps: nothing written\n";
                return kFailed;
            }
        }
        for (int c = 0; c < kColumnCount; ++c) row[c] = unescapeCell(fields[c + 1]);
        rows.insert(n, row);
        lineOf.insert(n, i + 1);
    }
    if (rows.size() != kChannelCount) {
        err() << "cps: " << rowsPath << ": " << rows.size() << " rows, " << kChannelCount
              << " expected\n";
        return kFailed;
    }
    // As if each row were typed into the grid over FILE, left to right: the receive
    // frequency first (a new channel gets its defaults), then the other columns over them.
    ChannelTable table(chinese);
    table.fill(image);
    for (int n = 1; n <= kChannelCount; ++n) {
        for (int col = 1; col < ChannelTable::kCols; ++col) {
            const QString& typed = rows[n][col - 1];
            const CellEntry entry = table.typeCell(n, col, typed);
            const QString where = QStringLiteral("%1 line %2, column \"%3\"")
                                      .arg(rowsPath)
                                      .arg(lineOf[n])
                                      .arg(ChannelTable::heading(col, false));
            if (entry.refused) {
                const char* why = entry.outcome.notice != Notice::None
                                      ? ChannelTable::noticeText(entry.outcome.notice)
                                      : entry.reason;
                err() << "cps: " << where << ": '" << typed << "': " << why
                      << "\ncps: nothing written\n";
                return kFailed;
            }
            if (entry.changed)
                err() << "cps: " << where << ": '" << typed << "' stored as '" << table.text(n, col)
                      << "'\n";
        }
    }
    table.store(image);
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
    const Bands bands = unpackBands(image);
    QString text;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRow row = decodeChannel(image.data() + recordOffset(n), bands, chinese);
        text += rowLine(channelLabel(n), row) + QLatin1Char('\n');
    }
    out() << text;
    return kOk;
}

int runInfo(const QStringList& args, const AppContext&) {
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
