#include <QFile>

#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "CliCommon.h"
#include "Commands.h"
#include "FeatureFields.h"
#include "JsonText.h"
#include "RowImport.h"
#include "RowText.h"
#include "SafeFile.h"
#include "Settings.h"

namespace cps::cli {

const char* const kNewHelp =
    "Usage: cps new -o FILE\n\n"
    "Writes the image that saving a new, unedited document gives: the factory image with the\n"
    "new-image settings applied (radio type from the per-user value \"Type\", 0 when absent;\n"
    "both bands 134-176 MHz; model 0; band code 1). FILE \"-\" writes it to standard output.\n";

const char* const kNewHelpZh =
    "用法：cps new -o 文件\n"
    "\n"
    "写出保存一个新建、未编辑的文档所得的映像：出厂映像加上新映像设置（对讲机类型取每用户\n"
    "设置 \"Type\"，没有时为 0；两个频段均为 134-176 MHz；机型 0；频段代码 1）。文件为 \"-\"\n"
    "时写到标准输出。\n";

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

const char* const kChannelsHelpZh =
    "用法：cps channels 文件 [--lang en|zh]\n"
    "      cps channels 文件 --import ROWS.tsv -o OUT [--lang en|zh]\n"
    "\n"
    "不带 --import：打印信道表的 129 行，每行一条：行标签（1 到 128，Fr）和十列文本（接收与\n"
    "发射频率、解码与编码亚音、名称、功率、宽/窄带、扫描添加、遇忙禁发、PTT ID），以制表符\n"
    "分隔，UTF-8 编码。文本中的控制字符写成 \\t、\\n、\\r 或 \\xNN，反斜杠写成 \\\\。\n"
    "--lang 选择文本的语言（默认：程序的语言设置）。\n"
    "\n"
    "带 --import：读入同样格式的 129 行，按信道表的录入规则和文件的频段，把每行从左到右录入\n"
    "文件上的信道表；然后把信道表存入文件的副本并写出 OUT（\"-\"：标准输出）。两种语言的文本\n"
    "和上述转义都可接受，列表文本不分大小写；--lang 选择所报告的值的语言。信道表拒绝的输入\n"
    "（或超过记录 8 个字符的名称）是错误，会指出行和列以及信道表的提示；此时不写任何文件。\n"
    "被信道表规则改变的值（两个频段之外的发射频率变为频段 1 的下限，亚音 259.99 变为\n"
    "259.9）按信道表的存法存入，并在 stderr 上报告。\n";

const char* const kInfoHelp =
    "Usage: cps info FILE [--json]\n\n"
    "Prints the two bands in use, the model index, the band code, the radio type byte and\n"
    "whether a radio password is set; --json prints them as one object, bands in MHz. Band\n"
    "limits that cannot be used (a digit above 9, lower above upper, upper 0) are replaced\n"
    "as the channel grid replaces them, from the 16-bit copy or the band code's reset range,\n"
    "with a note on stderr; `cps channels` does the same.\n";

const char* const kInfoHelpZh =
    "用法：cps info 文件 [--json]\n"
    "\n"
    "打印使用中的两个频段、机型序号、频段代码、对讲机类型字节以及是否设置了对讲机密码；\n"
    "--json 把它们打印为一个对象，频段以 MHz 为单位。无法使用的频段限值（数字大于 9、下限\n"
    "高于上限、上限为 0）会像信道表那样，从 16 位副本或频段代码的复位范围取代，并在 stderr\n"
    "上说明；`cps channels` 也是如此。\n";

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
        err() << say("cps: cannot open %1: %2", "cps：无法打开 %1：%2")
                     .arg(rowsPath, fileErrorText(rowsFile, chinese))
              << "\n";
        return kFailed;
    }
    // A table is about 10 KB; a pipe is fine, but an endless source (/dev/zero) must not
    // fill the memory.
    const QByteArray text = rowsFile.read(kMaxInputFile + 1);
    if (text.size() > kMaxInputFile) {
        err() << say("cps: %1 is larger than 1 MiB, no channel table",
                     "cps：%1 大于 1 MiB，不是信道表")
                     .arg(rowsPath)
              << '\n';
        return kFailed;
    }
    const RowImportResult result = importChannelRows(text, rowsPath, image, chinese);
    for (const QString& line : result.messages) err() << "cps: " << line << '\n';
    if (!result.ok) return kFailed;
    return saveImage("channels", outPath, image) ? kOk : kFailed;
}

}  // namespace

int runNew(const QStringList& args, const Settings& context) {
    const Args a = parseArgs(args, {QStringLiteral("-o")});
    if (!a.error.isEmpty()) return usageError("new", a.error);
    if (!a.positional.isEmpty() || !a.has(QStringLiteral("-o")))
        return usageError("new", say("needs -o FILE and nothing else", "只需要 -o 文件"));
    return saveImage("new", a.value(QStringLiteral("-o")), newDocumentImage(context)) ? kOk
                                                                                      : kFailed;
}

int runChannels(const QStringList& args, const Settings& context) {
    const Args a = parseArgs(args, {QStringLiteral("--import"), QStringLiteral("-o")});
    if (!a.error.isEmpty()) return usageError("channels", a.error);
    if (a.positional.size() != 1)
        return usageError("channels", say("needs exactly one FILE", "需要且只需要一个文件"));
    const QString file = a.positional.first();

    const bool chinese = context.chinese;  // --lang was taken by main
    if (a.has(QStringLiteral("--import")) || a.has(QStringLiteral("-o"))) {
        if (!a.has(QStringLiteral("--import")) || !a.has(QStringLiteral("-o")))
            return usageError("channels", say("--import ROWS.tsv and -o OUT go together",
                                              "--import ROWS.tsv 与 -o OUT 须一起给出"));
        return importRows(file, a.value(QStringLiteral("--import")), a.value(QStringLiteral("-o")),
                          chinese);
    }

    RadioImage image;
    if (!loadImage("channels", file, image)) return kFailed;
    noteBands("channels", image, loadBandsInUse(image), chinese);
    out() << exportChannelRows(image, chinese);
    return kOk;
}

int runInfo(const QStringList& args, const Settings& context) {
    const Args a = parseArgs(args, {}, {QStringLiteral("--json")});
    if (!a.error.isEmpty()) return usageError("info", a.error);
    if (a.positional.size() != 1)
        return usageError("info", say("needs exactly one FILE", "需要且只需要一个文件"));
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
    out() << say("Band 1: ", "频段 1：") << mhz(bands.band1.low) << "-" << mhz(bands.band1.high)
          << " MHz\n"
          << say("Band 2: ", "频段 2：") << mhz(bands.band2.low) << "-" << mhz(bands.band2.high)
          << " MHz\n"
          << say("Model index: ", "机型序号：") << int(image.at(addr::kModelIndex)) << "\n"
          << say("Band code: ", "频段代码：") << int(image.at(addr::kBandCode)) << "\n"
          << say("Radio type: ", "对讲机类型：") << int(image.at(addr::kRadioType)) << "\n"
          << say("Password: ", "密码：") << (password ? say("set", "已设置") : say("none", "无"))
          << "\n";
    return kOk;
}

}  // namespace cps::cli
