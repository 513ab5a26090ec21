#include "RowImport.h"

#include <QHash>

#include "ChannelCodec.h"
#include "ChannelTable.h"
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
        const QString where = QStringLiteral("%1 line %2").arg(source).arg(i + 1);
        if (fields.size() != 1 + kColumnCount)
            return refused({QStringLiteral("%1: %2 fields, %3 expected (label and ten columns, "
                                           "separated by tabs)")
                                .arg(where)
                                .arg(fields.size())
                                .arg(1 + kColumnCount)});
        const int n = labels.value(fields[0], 0);
        if (n == 0)
            return refused(
                {QStringLiteral("%1: unknown row label \"%2\"").arg(where, escapeCell(fields[0]))});
        if (rows.contains(n))
            return refused(
                {QStringLiteral("%1: row \"%2\" appears twice").arg(where, escapeCell(fields[0]))});
        // Bytes other than printable ASCII reach a name only as escapes, as `cps channels`
        // prints them; typed as they are they would be whatever the file's encoding made.
        const QString& name = fields[1 + kColName];
        for (QChar ch : name) {
            if (ch.unicode() < 0x20 || ch.unicode() > 0x7E)
                return refused(
                    {QStringLiteral("%1, column \"%2\": '%3': a character outside printable "
                                    "ASCII (write other bytes as \\xNN)")
                         .arg(where, ChannelTable::heading(1 + kColName, false), escapeCell(name)),
                     QStringLiteral("nothing written")});
        }
        ChannelRow row;
        for (int c = 0; c < kColumnCount; ++c) row[c] = unescapeCell(fields[c + 1]);
        rows.insert(n, row);
        lineOf.insert(n, i + 1);
    }
    if (rows.size() != kChannelCount)
        return refused({QStringLiteral("%1: %2 rows, %3 expected")
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
            const QString where = QStringLiteral("%1 line %2, column \"%3\"")
                                      .arg(source)
                                      .arg(lineOf[n])
                                      .arg(ChannelTable::heading(col, false));
            if (entry.refused) {
                const Notice notice = entry.outcome.notice;
                QStringList why{QStringLiteral("%1: '%2': %3")
                                    .arg(where, typed,
                                         QString::fromUtf8(notice != Notice::None
                                                               ? ChannelTable::noticeText(notice)
                                                               : entry.reason))};
                if (notice != Notice::None) why << table.noticeDetail(notice, false);
                why << QStringLiteral("nothing written");
                return refused(why);
            }
            if (entry.changed)
                result.messages << QStringLiteral("%1: '%2' stored as '%3'")
                                       .arg(where, typed, table.text(n, col));
        }
    }
    table.store(image);
    result.ok = true;
    return result;
}

}  // namespace cps::cli
