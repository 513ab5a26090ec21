// `cps export-csv`, `import-csv`, `export`, `import` and `diff`: the image in files other
// programs read, and two images compared.
#include <QFile>

#include "CliCommon.h"
#include "Commands.h"
#include "DataFile.h"
#include "Exchange.h"
#include "JsonText.h"
#include "SafeFile.h"
#include "ServiceAccess.h"
#include "Settings.h"
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

const char* const kExportCsvHelpZh =
    "用法：cps export-csv 文件 -o channels.csv\n"
    "\n"
    "把文件的信道写成 CSV 信道列表，各列为\n"
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,\n"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment（UTF-8，CRLF）。Location 1-128 是\n"
    "信道，129 是 Fr；Frequency 是以 MHz 为单位的接收频率；Duplex 为 +/- 时 Offset 是发射\n"
    "频差，为 split 时 Offset 是发射频率，为 off 时没有发射频率；编码亚音是发射亚音，解码\n"
    "亚音是接收亚音；Mode FM 为宽带，NFM 为窄带；Skip S 表示不扫描；Power 为 High、Mid 或\n"
    "Low。\"-o -\" 写到标准输出。\n";

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

const char* const kImportCsvHelpZh =
    "用法：cps import-csv channels.csv [--into 文件] -o OUT [--lenient]\n"
    "\n"
    "把 CSV 信道列表的各行录入文件（默认：新映像）上的信道表并写出 OUT。标题行给出列名\n"
    "（顺序任意，不分大小写；其他列被忽略；可有 UTF-8 BOM 和 CRLF 行尾）；必须有 Location\n"
    "和 Frequency。文件未列出的位置被清空。遇忙禁发和 PTT ID 取文件中同一位置的信道，否则\n"
    "为关。对讲机没有的功率名称取名称最接近的，否则为 High。\n"
    "\n"
    "信道表拒绝的行（频率格式、步进或范围，格式不认识的列值）会中止导入，并给出行号和原因；\n"
    "此时不写任何文件。对讲机存不下的内容（超过 7 个字符的名称、不在亚音表中的亚音或 DCS\n"
    "码、5 或 6.25 kHz 以外的步进、FM 和 NFM 以外的模式、频段之外的发射频率）也被拒绝，\n"
    "除非给出 --lenient：此时名称被截断，亚音取表中最接近的，发射频率取频段 1 的下限，其他\n"
    "行被跳过；每处改动都在 stderr 上报告。\n";

const char* const kExportHelp =
    "Usage: cps export FILE -o config.json\n\n"
    "Writes the whole configuration of FILE as JSON: \"channels\" with one object per channel\n"
    "(1 to 128, Fr) holding the ten grid columns by key, then one object per section of\n"
    "\"cps show\" with its fields by key. Values are the texts \"cps show\" prints in English.\n"
    "\"-o -\" writes to standard output.\n";

const char* const kExportHelpZh =
    "用法：cps export 文件 -o config.json\n"
    "\n"
    "把文件的整个配置写成 JSON：\"channels\" 中每个信道（1 到 128，Fr）一个对象，按键名\n"
    "含信道表的十列；然后 \"cps show\" 的每个区一个对象，按键名含其字段。值是 \"cps show\"\n"
    "打印的英文文本。\"-o -\" 写到标准输出。\n";

const char* const kImportHelp =
    "Usage: cps import config.json [--into FILE] -o OUT [--access-code CODE]\n\n"
    "Applies a configuration written by \"cps export\" (or a part of one) to FILE (default: a\n"
    "new image) through the editors' own rules and writes OUT. Sections, channels and fields\n"
    "the file leaves out keep FILE's values; bytes no field owns are FILE's. Section and field\n"
    "names are matched ignoring letter case. An unknown section, channel or field, a value\n"
    "that is not a string, or a value the field refuses or would store otherwise is an error\n"
    "naming its JSON path; nothing is written then. Changes to the stun and param sections need\n"
    "--access-code with the service access code.\n";

const char* const kImportHelpZh =
    "用法：cps import config.json [--into 文件] -o OUT [--access-code 密码]\n"
    "\n"
    "按各编辑器自己的规则，把 \"cps export\" 写出的配置（或其一部分）应用到文件（默认：新\n"
    "映像）并写出 OUT。配置中没有的区、信道和字段保留文件的值；不属于任何字段的字节保留\n"
    "文件的。区名和字段名不分大小写。未知的区、信道或字段，不是字符串的值，或字段拒绝或会\n"
    "存成别的值的值，都是错误，会指出其 JSON 路径；此时不写任何文件。修改 stun 和 param 区\n"
    "需要在 --access-code 中给出维修密码。\n";

const char* const kDiffHelp =
    "Usage: cps diff A.dat B.dat [--lang en|zh] [--json]\n\n"
    "Lists how B differs from A, field by field as the editors show them: channel row and\n"
    "column heading, then section and field, each with the old and the new text. Then the\n"
    "ranges of differing bytes no listed field accounts for: \"no field\" for bytes no field\n"
    "owns, \"same text\" for bytes that differ but show the same. Exit status 0 when the images\n"
    "are the same byte for byte, 1 when they differ, 2 on an error. --json prints one object:\n"
    "\"equal\", \"fields\" (each with \"where\", \"before\", \"after\") and \"bytes\" (each with\n"
    "\"first\" and \"last\" address and \"owned\": true for \"same text\").\n";

const char* const kDiffHelpZh =
    "用法：cps diff A.dat B.dat [--lang en|zh] [--json]\n"
    "\n"
    "按编辑器的显示逐字段列出 B 与 A 的不同：先是信道行和列标题，然后是区和字段，各带旧的和\n"
    "新的文本。然后是没有列出的字段能说明的、不同的字节范围：\"无字段\" 表示不属于任何字段的\n"
    "字节，\"显示相同\" 表示字节不同但显示相同。映像逐字节相同时退出状态为 0，不同时为 1，\n"
    "出错时为 2。--json 打印一个对象：\"equal\"、\"fields\"（每项含 \"where\"、\"before\"、\n"
    "\"after\"）和 \"bytes\"（每项含 \"first\" 和 \"last\" 地址以及 \"owned\"：\"显示相同\" 时为\n"
    "true）。\n";

namespace {

// An input file: regular files only, and no more than an import can use.
bool readInput(const char* command, const QString& path, QByteArray* bytes) {
    QFile f;
    QString error;
    if (!openRegularFile(f, path, &error, runChinese())) {
        err() << "cps " << command << ": " << error << '\n';
        return false;
    }
    *bytes = f.read(kMaxInputFile + 1);
    if (bytes->size() > kMaxInputFile) {
        err() << "cps " << command << ": "
              << say("%1 is larger than 1 MiB", "%1 大于 1 MiB").arg(path) << '\n';
        return false;
    }
    return true;
}

bool writeOutput(const char* command, const QString& path, const QByteArray& bytes) {
    QString error;
    if (isStandardOutput(path) ? writeStandardOutput(bytes, &error)
                               : replaceFile(path, bytes, &error, runChinese()))
        return true;
    err() << "cps " << command << ": " << error << '\n';
    return false;
}

// --into FILE, or the image a new document starts with.
bool baseImage(const char* command, const Args& a, const Settings& context, RadioImage* image) {
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
        return usageError(command, say("needs FILE and -o OUT", "需要 FILE 和 -o OUT"));
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
        if (r.fittable)
            err() << "cps " << command << ": "
                  << say("--lenient fits it", "加 --lenient 可使其适配") << '\n';
        err() << "cps " << command << ": " << say("nothing written", "未写任何文件") << '\n';
        return kFailed;
    }
    return saveImage(command, outPath, r.image) ? kOk : kFailed;
}

}  // namespace

int runExportCsv(const QStringList& args, const Settings&) {
    return exportTo("export-csv", args, exchange::exportCsv);
}

int runExportJson(const QStringList& args, const Settings&) {
    // The same JSON, with no raw control character for a terminal "-o -" may print it on.
    return exportTo("export", args, [](const RadioImage& image) {
        return jsonTerminalSafe(exchange::exportJson(image));
    });
}

int runImportCsv(const QStringList& args, const Settings& context) {
    const Args a = parseArgs(args, {QStringLiteral("--into"), QStringLiteral("-o")},
                             {QStringLiteral("--lenient")});
    if (!a.error.isEmpty()) return usageError("import-csv", a.error);
    if (a.positional.size() != 1 || !a.has(QStringLiteral("-o")))
        return usageError("import-csv",
                          say("needs channels.csv and -o OUT", "需要 channels.csv 和 -o OUT"));
    RadioImage into;
    QByteArray csv;
    if (!baseImage("import-csv", a, context, &into) ||
        !readInput("import-csv", a.positional.first(), &csv))
        return kFailed;
    exchange::CsvOptions options;
    options.lenient = a.has(QStringLiteral("--lenient"));
    options.chinese = runChinese();
    return finishImport("import-csv", exchange::importCsv(csv, into, options), a.positional.first(),
                        a.value(QStringLiteral("-o")));
}

int runImportJson(const QStringList& args, const Settings& context) {
    const Args a = parseArgs(
        args, {QStringLiteral("--into"), QStringLiteral("-o"), QStringLiteral("--access-code")});
    if (!a.error.isEmpty()) return usageError("import", a.error);
    if (a.positional.size() != 1 || !a.has(QStringLiteral("-o")))
        return usageError("import",
                          say("needs config.json and -o OUT", "需要 config.json 和 -o OUT"));
    exchange::JsonOptions options;
    options.chinese = runChinese();
    if (a.has(QStringLiteral("--access-code"))) {
        if (!accessCodeMatches(a.value(QStringLiteral("--access-code")))) {
            err() << "cps import: "
                  << say("Password: wrong service access code", "密码：维修密码错误") << '\n';
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

int runDiff(const QStringList& args, const Settings& context) {
    // Like diff: 1 means "different", so every error is 2.
    const Args a = parseArgs(args, {}, {QStringLiteral("--json")});
    if (!a.error.isEmpty()) return usageError("diff", a.error);
    if (a.positional.size() != 2)
        return usageError("diff", say("needs A.dat and B.dat", "需要 A.dat 和 B.dat"));
    const bool chinese = context.chinese;  // --lang was taken by main
    RadioImage before, after;
    if (!loadImage("diff", a.positional[0], before) || !loadImage("diff", a.positional[1], after))
        return kUsage;
    const exchange::Comparison c = exchange::compare(before, after, chinese);
    if (a.has(QStringLiteral("--json"))) {
        QList<QByteArray> fields, bytes;
        for (const exchange::FieldChange& f : c.fields)
            fields << json::object({{QStringLiteral("where"), json::string(f.where)},
                                    {QStringLiteral("before"), json::string(f.before)},
                                    {QStringLiteral("after"), json::string(f.after)}});
        for (const exchange::ByteRange& r : c.bytes)
            bytes << json::object({{QStringLiteral("first"), json::number(r.first)},
                                   {QStringLiteral("last"), json::number(r.last)},
                                   {QStringLiteral("owned"), json::boolean(r.owned)}});
        out() << jsonTerminalSafe(json::object({{QStringLiteral("equal"), json::boolean(c.equal)},
                                                {QStringLiteral("fields"), json::array(fields)},
                                                {QStringLiteral("bytes"), json::array(bytes)}}))
              << '\n';
        return c.equal ? kOk : kFailed;
    }
    for (const QString& line : exchange::describe(c, before, after, chinese)) out() << line << '\n';
    return c.equal ? kOk : kFailed;
}

}  // namespace cps::cli
