// `cps print`: the printed report of an image as a PDF file, the same pages the program
// prints.
#include "ChannelTable.h"
#include "CliCommon.h"
#include "Commands.h"
#include "PageRenderer.h"
#include "PrintPages.h"
#include "Report.h"
#include "SafeFile.h"
#include "Settings.h"

namespace cps::cli {

const char* const kPrintHelp =
    "Usage: cps print FILE -o REPORT.pdf [--sections LIST] [--lang en|zh]\n\n"
    "Writes the printed report of FILE as a PDF (A4): the chosen sections' pages, numbered\n"
    "through, each with the report's frame and footer. LIST is a comma-separated choice of\n"
    "dtmf, msk, optional, 2tone and channels, or all (default: optional,channels, as the\n"
    "print dialog starts). The language defaults to the program's. Exit status 1 when the\n"
    "choice gives no page (only channels, and no channel filled) or the file cannot be\n"
    "written; nothing is written then, and a file named by -o keeps its previous content.\n"
    "\"-o -\" writes the PDF to standard output.\n";

const char* const kPrintHelpZh =
    "用法：cps print 文件 -o REPORT.pdf [--sections 列表] [--lang en|zh]\n"
    "\n"
    "把文件的打印报表写成 PDF（A4）：所选各部分的页面，连续编号，每页带报表的边框和页脚。\n"
    "列表是以逗号分隔的 dtmf、msk、optional、2tone 和 channels 的选择，或 all（默认：\n"
    "optional,channels，与打印对话框的初始选择相同）。语言默认为程序的语言。所选内容没有\n"
    "页面（只有 channels 且没有信道）或文件无法写入时，退出状态为 1；此时不写任何文件，\n"
    "-o 指定的文件保持原来的内容。\"-o -\" 把 PDF 写到标准输出。\n";

namespace {

bool parseSections(const QString& list, print::Choice* choice, QString* bad) {
    *choice = {};
    for (const QString& raw : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = raw.trimmed().toLower();
        if (name == QLatin1String("all")) {
            choice->fill(true);
            continue;
        }
        bool known = false;
        for (int s = 0; s < print::kSectionCount; ++s) {
            if (name == QLatin1String(print::kSections[s].name)) {
                (*choice)[s] = true;
                known = true;
            }
        }
        if (!known) {
            *bad = raw;
            return false;
        }
    }
    return true;
}

}  // namespace

int runPrint(const QStringList& args, const Settings& ctx) {
    const Args a = parseArgs(args, {QStringLiteral("-o"), QStringLiteral("--sections")});
    if (!a.error.isEmpty()) return usageError("print", a.error);
    if (a.positional.size() != 1 || !a.has(QStringLiteral("-o")))
        return usageError(
            "print", say("needs one FILE and -o REPORT.pdf", "需要一个 FILE 和 -o REPORT.pdf"));

    // --lang was taken by main.
    const bool chinese = ctx.chinese;
    const QString& languageSection = ctx.languageName;
    print::Choice choice = print::defaultChoice();
    if (a.has(QStringLiteral("--sections"))) {
        QString bad;
        if (!parseSections(a.value(QStringLiteral("--sections")), &choice, &bad))
            return usageError("print", say("unknown section '%1' (sections: dtmf, msk, optional, "
                                           "2tone, channels, all)",
                                           "未知的区 '%1'（区：dtmf, msk, optional, 2tone, "
                                           "channels, all）")
                                           .arg(bad));
    }

    RadioImage image;
    if (!loadImage("print", a.positional.first(), image)) return kFailed;
    // The channel pages print the grid's texts, as the grid shows this image.
    ChannelTable table(chinese);
    table.fill(image);

    const print::Job job = print::prepareJob(choice, table);
    const print::Source source{
        &image, &table, chinese,
        ctx.profile().get(languageSection, QStringLiteral("Copyrights Owner"))};
    QString error;
    const QString output = a.value(QStringLiteral("-o"));
    QByteArray pdf;
    const bool written = print::renderPdf(&pdf, job, source, &error) &&
                         (isStandardOutput(output) ? writeStandardOutput(pdf, &error)
                                                   : replaceFile(output, pdf, &error, chinese));
    if (!written) {
        err() << "cps print: " << error << '\n';
        return kFailed;
    }
    return kOk;
}

}  // namespace cps::cli
