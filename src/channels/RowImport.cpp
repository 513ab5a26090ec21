#include "RowImport.h"

#include <QHash>

#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "Pick.h"
#include "RowText.h"

namespace cps::cli {

namespace {

RowImportResult refused(QStringList messages) {
    RowImportResult r;
    r.messages = std::move(messages);
    return r;
}

}  // namespace

QString exportChannelRows(const RadioImage& image, bool chinese) {
    const Bands bands = loadBandsInUse(image).bands;
    QString text;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRow row = decodeChannel(image.data() + recordOffset(n), bands, chinese);
        text += channelLabel(n);
        for (const QString& cell : row) text += QLatin1Char('\t') + escapeCell(cell);
        text += QLatin1Char('\n');
    }
    return text;
}

RowImportResult importChannelRows(const QByteArray& text, const QString& source, RadioImage& image,
                                  bool chinese) {
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
        const QString where = pick(chinese, "%1 line %2", "%1 第 %2 行").arg(source).arg(i + 1);
        if (fields.size() != 1 + kColumnCount)
            return refused({pick(chinese,
                                 "%1: %2 fields, %3 expected (label and ten columns, separated by "
                                 "tabs)",
                                 "%1：有 %2 个字段，应为 %3 个（行标签和十列，以制表符分隔）")
                                .arg(where)
                                .arg(fields.size())
                                .arg(1 + kColumnCount)});
        const int n = labels.value(fields[0], 0);
        if (n == 0)
            return refused({pick(chinese, "%1: unknown row label \"%2\"", "%1：未知的行标签 \"%2\"")
                                .arg(where, escapeCell(fields[0]))});
        if (rows.contains(n))
            return refused(
                {pick(chinese, "%1: row \"%2\" appears twice", "%1：行 \"%2\" 出现了两次")
                     .arg(where, escapeCell(fields[0]))});
        // Bytes other than printable ASCII reach a name only as escapes, as `cps channels`
        // prints them; typed as they are they would be whatever the file's encoding made.
        // Characters no byte can be are the channel rules' to refuse.
        const QString& name = fields[1 + kColName];
        for (QChar ch : name) {
            if (ch.unicode() < 0x20 || (ch.unicode() > 0x7E && ch.unicode() <= 0xFF))
                return refused(
                    {pick(chinese,
                          "%1, column \"%2\": '%3': a character outside printable ASCII (write "
                          "other bytes as \\xNN)",
                          "%1，列 \"%2\"：'%3'：有可打印 ASCII 以外的字符（其他字节请写成 \\xNN）")
                         .arg(where, ChannelTable::heading(1 + kColName, chinese),
                              escapeCell(name)),
                     pick(chinese, "nothing written", "未写任何文件")});
        }
        ChannelRow row;
        for (int c = 0; c < kColumnCount; ++c) row[c] = unescapeCell(fields[c + 1]);
        rows.insert(n, row);
        lineOf.insert(n, i + 1);
    }
    if (rows.size() != kChannelCount)
        return refused({pick(chinese, "%1: %2 rows, %3 expected", "%1：有 %2 行，应为 %3 行")
                            .arg(source)
                            .arg(rows.size())
                            .arg(kChannelCount)});

    // As if each row were typed into the grid over the image, left to right: the receive
    // frequency first (a new channel gets its defaults), then the other columns over them.
    RowImportResult result;
    ChannelTable table(chinese);
    table.fill(image);
    if (!table.bandsNote().isEmpty()) result.messages << table.bandsNote();
    for (int n = 1; n <= kChannelCount; ++n) {
        for (int col = 1; col < ChannelTable::kCols; ++col) {
            const QString& typed = rows[n][col - 1];
            const CellEntry entry = table.typeCell(n, col, typed);
            const QString where =
                pick(chinese, "%1 line %2, column \"%3\"", "%1 第 %2 行，列 \"%3\"")
                    .arg(source)
                    .arg(lineOf[n])
                    .arg(ChannelTable::heading(col, chinese));
            if (entry.refused) {
                const QString reason = ChannelTable::refusalText(entry, chinese);
                QStringList why{
                    pick(chinese, "%1: '%2': %3", "%1：'%2'：%3").arg(where, typed, reason)};
                const QString detail = table.noticeDetail(entry.verdict.notice, chinese);
                if (!detail.isEmpty()) why << detail;
                why << pick(chinese, "nothing written", "未写任何文件");
                return refused(why);
            }
            if (entry.changed)
                result.messages << pick(chinese, "%1: '%2' stored as '%3'", "%1：'%2' 存为 '%3'")
                                       .arg(where, typed, table.text(n, col));
        }
    }
    table.store(image);
    result.ok = true;
    return result;
}

}  // namespace cps::cli
