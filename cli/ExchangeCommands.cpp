// `cps export-csv`, `import-csv`, `export`, `import` and `diff`: the image in files other
// programs read, and two images compared.
#include <QFile>

#include "AppContext.h"
#include "CliCommon.h"
#include "Commands.h"
#include "DataFile.h"
#include "Exchange.h"
#include "SafeFile.h"
#include "ServiceAccess.h"
#include "TerminalText.h"

namespace cps::cli {

const char* const kExportCsvHelp =
    "Usage: cps export-csv FILE -o channels.csv\n\n"
    "Writes the channels of FILE as a CSV channel list with the columns\n"
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,\n"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment (UTF-8, CRLF). Location 1-128 are the\n"
    "channels, 129 is Fr; Frequency is the receive frequency in MHz; Duplex +/- give the\n"
    "transmit offset, split the transmit frequency in Offset, off no transmit frequency; the\n"
    "encode tone is the transmit tone, the decode tone the receive tone; Mode FM is wide, NFM\n"
    "narrow; Skip S is not in scan; Power High, Mid or Low. \"-o -\" writes to standard output.\n";

const char* const kImportCsvHelp =
    "Usage: cps import-csv channels.csv [--into FILE] -o OUT [--lenient]\n\n"
    "Types the rows of a CSV channel list into the channel grid over FILE (default: a new\n"
    "image) and writes OUT. The header names the columns (any order, letter case ignored;\n"
    "other columns are ignored; a UTF-8 BOM and CRLF line ends are fine); Location and\n"
    "Frequency are needed. Locations the file does not list are emptied. Busy Lock and PTT ID\n"
    "come from the channel at the same location in FILE, else Off. A power the radio does not\n"
    "name becomes the nearest by name, else High.\n\n"
    "A row the grid refuses (frequency format, step or range, a column value the format does\n"
    "not know) stops the import with the line and the reason; nothing is written. What the\n"
    "radio cannot hold (a name over 7 characters, a tone or DCS code not in its tone list, a\n"
    "step other than 5 or 6.25 kHz, a mode other than FM and NFM, a transmit frequency outside\n"
    "the bands) is refused too, unless --lenient: then the name is cut, a tone becomes the\n"
    "nearest of the list, a transmit frequency the band 1 lower limit, and other rows are\n"
    "skipped; each change is reported on stderr.\n";

const char* const kExportHelp =
    "Usage: cps export FILE -o config.json\n\n"
    "Writes the whole configuration of FILE as JSON: \"channels\" with one object per channel\n"
    "(1 to 128, Fr) holding the ten grid columns by key, then one object per section of\n"
    "\"cps show\" with its fields by key. Values are the texts \"cps show\" prints in English.\n"
    "\"-o -\" writes to standard output.\n";

const char* const kImportHelp =
    "Usage: cps import config.json [--into FILE] -o OUT [--access-code CODE]\n\n"
    "Applies a configuration written by \"cps export\" (or a part of one) to FILE (default: a\n"
    "new image) through the editors' own rules and writes OUT. Sections, channels and fields\n"
    "the file leaves out keep FILE's values; bytes no field owns are FILE's. Section and field\n"
    "names are matched ignoring letter case. An unknown section, channel or field, a value\n"
    "that is not a string, or a value the field refuses or would store otherwise is an error\n"
    "naming its JSON path; nothing is written then. Changes to the stun and param sections need\n"
    "--access-code with the service access code.\n";

const char* const kDiffHelp =
    "Usage: cps diff A.dat B.dat [--lang en|zh]\n\n"
    "Lists how B differs from A, field by field as the editors show them: channel row and\n"
    "column heading, then section and field, each with the old and the new text. Then the\n"
    "ranges of differing bytes no listed field accounts for: \"no field\" for bytes no field\n"
    "owns, \"same text\" for bytes that differ but show the same. Exit status 0 when the images\n"
    "are the same byte for byte, 1 when they differ, 2 on an error.\n";

namespace {

// An input file: regular files only, and no more than an import can use.
bool readInput(const char* command, const QString& path, QByteArray* bytes) {
    QFile f;
    QString error;
    if (!openRegularFile(f, path, &error)) {
        err() << "cps " << command << ": " << error << '\n';
        return false;
    }
    *bytes = f.read(exchange::kMaxInput + 1);
    if (bytes->size() > exchange::kMaxInput) {
        err() << "cps " << command << ": " << path << " is larger than 1 MiB\n";
        return false;
    }
    return true;
}

bool writeOutput(const char* command, const QString& path, const QByteArray& bytes) {
    QString error;
    if (isStandardOutput(path) ? writeStandardOutput(bytes, &error)
                               : replaceFile(path, bytes, &error))
        return true;
    err() << "cps " << command << ": " << error << '\n';
    return false;
}

// --into FILE, or the image a new document starts with.
bool baseImage(const char* command, const Args& a, const AppContext& context, RadioImage* image) {
    if (!a.has(QStringLiteral("--into"))) {
        *image = newDocumentImage(context);
        return true;
    }
    return loadImage(command, a.value(QStringLiteral("--into")), *image);
}

int exportTo(const char* command, const QStringList& args,
             QByteArray (*format)(const RadioImage&)) {
    const Args a = parseArgs(args, {QStringLiteral("-o")});
    if (!a.error.isEmpty()) return usageError(command, a.error);
    if (a.positional.size() != 1 || !a.has(QStringLiteral("-o")))
        return usageError(command, QStringLiteral("needs FILE and -o OUT"));
    RadioImage image;
    if (!loadImage(command, a.positional.first(), image)) return kFailed;
    return writeOutput(command, a.value(QStringLiteral("-o")), format(image)) ? kOk : kFailed;
}

int finishImport(const char* command, const exchange::ImportResult& r, const QString& input,
                 const QString& outPath) {
    for (const QString& note : r.notes)
        err() << "cps " << command << ": " << input << " " << note << '\n';
    if (!r.ok) {
        err() << "cps " << command << ": " << input << " " << r.error << '\n';
        if (r.fittable) err() << "cps " << command << ": --lenient fits it\n";
        err() << "cps " << command << ": nothing written\n";
        return kFailed;
    }
    return saveImage(command, outPath, r.image) ? kOk : kFailed;
}

}  // namespace

int runExportCsv(const QStringList& args, const AppContext&) {
    return exportTo("export-csv", args, exchange::exportCsv);
}

int runExportJson(const QStringList& args, const AppContext&) {
    // The same JSON, with no raw control character for a terminal "-o -" may print it on.
    return exportTo("export", args, [](const RadioImage& image) {
        return jsonTerminalSafe(exchange::exportJson(image));
    });
}

int runImportCsv(const QStringList& args, const AppContext& context) {
    const Args a = parseArgs(args, {QStringLiteral("--into"), QStringLiteral("-o")},
                             {QStringLiteral("--lenient")});
    if (!a.error.isEmpty()) return usageError("import-csv", a.error);
    if (a.positional.size() != 1 || !a.has(QStringLiteral("-o")))
        return usageError("import-csv", QStringLiteral("needs channels.csv and -o OUT"));
    RadioImage into;
    QByteArray csv;
    if (!baseImage("import-csv", a, context, &into) ||
        !readInput("import-csv", a.positional.first(), &csv))
        return kFailed;
    exchange::CsvOptions options;
    options.lenient = a.has(QStringLiteral("--lenient"));
    return finishImport("import-csv", exchange::importCsv(csv, into, options), a.positional.first(),
                        a.value(QStringLiteral("-o")));
}

int runImportJson(const QStringList& args, const AppContext& context) {
    const Args a = parseArgs(
        args, {QStringLiteral("--into"), QStringLiteral("-o"), QStringLiteral("--access-code")});
    if (!a.error.isEmpty()) return usageError("import", a.error);
    if (a.positional.size() != 1 || !a.has(QStringLiteral("-o")))
        return usageError("import", QStringLiteral("needs config.json and -o OUT"));
    exchange::JsonOptions options;
    if (a.has(QStringLiteral("--access-code"))) {
        if (!accessCodeMatches(a.value(QStringLiteral("--access-code")))) {
            err() << "cps import: Password: wrong service access code\n";
            return kFailed;
        }
        options.serviceAccess = true;
    }
    RadioImage into;
    QByteArray json;
    if (!baseImage("import", a, context, &into) ||
        !readInput("import", a.positional.first(), &json))
        return kFailed;
    return finishImport("import", exchange::importJson(json, into, options), a.positional.first(),
                        a.value(QStringLiteral("-o")));
}

int runDiff(const QStringList& args, const AppContext& context) {
    // Like diff: 1 means "different", so every error is 2.
    const Args a = parseArgs(args, {QStringLiteral("--lang")});
    if (!a.error.isEmpty()) return usageError("diff", a.error);
    if (a.positional.size() != 2)
        return usageError("diff", QStringLiteral("needs A.dat and B.dat"));
    bool chinese = context.chinese;
    if (a.has(QStringLiteral("--lang"))) {
        const QString lang = a.value(QStringLiteral("--lang"));
        if (lang != QLatin1String("en") && lang != QLatin1String("zh"))
            return usageError("diff", QStringLiteral("--lang takes en or zh"));
        chinese = lang == QLatin1String("zh");
    }
    RadioImage before, after;
    if (!loadImage("diff", a.positional[0], before) || !loadImage("diff", a.positional[1], after))
        return kUsage;
    const exchange::Comparison c = exchange::compare(before, after, chinese);
    for (const QString& line : exchange::describe(c, before, after, chinese)) out() << line << '\n';
    return c.equal ? kOk : kFailed;
}

}  // namespace cps::cli
