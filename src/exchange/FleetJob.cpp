// Fleet jobs: a header of field names, a row per radio.
#include "FleetJob.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "ChannelCodec.h"
#include "Exchange.h"
#include "Field.h"
#include "Pick.h"
#include "SafeFile.h"

namespace cps::exchange {

namespace {

const QString kChannelWord = QStringLiteral("channel");

int channelOfLabel(const QString& label) {
    for (int n = 1; n <= kChannelCount; ++n)
        if (label.compare(channelLabel(n), Qt::CaseInsensitive) == 0) return n;
    return 0;
}

QString fieldKey(const JobColumn& c) {
    return QString::fromUtf8(c.table->fields[static_cast<size_t>(c.field)].key);
}

// Where importJson reports a refusal of this column's value.
QString jsonPath(const JobColumn& c) {
    if (c.channel > 0)
        return QStringLiteral("$.channels[\"%1\"][\"%2\"]")
            .arg(channelLabel(c.channel), fieldKey(c));
    return QStringLiteral("$.%1[\"%2\"]").arg(QString::fromUtf8(c.table->section), fieldKey(c));
}

QString where(int line, int column, const QString& header, bool chinese) {
    if (column <= 0) return pick(chinese, "line %1", "第 %1 行").arg(line);
    return header.isEmpty()
               ? pick(chinese, "line %1, column %2", "第 %1 行第 %2 列").arg(line).arg(column)
               : pick(chinese, "line %1, column %2 (%3)", "第 %1 行第 %2 列（%3）")
                     .arg(line)
                     .arg(column)
                     .arg(header);
}

// What follows a place in a refusal, as the configuration import writes it.
QString separator(bool chinese) { return pick(chinese, ": ", "："); }

bool isDigit(QChar c, bool hex) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return true;
    if (!hex) return false;
    const QChar u = c.toUpper();
    return u >= QLatin1Char('A') && u <= QLatin1Char('F');
}

}  // namespace

QString JobColumn::header() const {
    if (!table) return QString();
    if (channel > 0)
        return kChannelWord + QLatin1Char(' ') + channelLabel(channel) + QLatin1Char(':') +
               fieldKey(*this);
    return QString::fromUtf8(table->section) + QLatin1Char(':') + fieldKey(*this);
}

bool JobColumn::hex() const {
    if (!table) return false;
    const field::Field& f = table->fields[static_cast<size_t>(field)];
    if (f.kind != field::Kind::Ascii || f.charset.isEmpty()) return false;
    for (QChar c : QStringLiteral("0123456789ABCDEF"))
        if (!f.charset.contains(c)) return false;
    return true;
}

bool parseJobColumn(const QString& header, JobColumn* column, QString* why, bool chinese) {
    const int colon = header.indexOf(QLatin1Char(':'));
    if (colon <= 0) {
        *why = pick(chinese, "'%1' is not SECTION:FIELD or channel N:HEADING",
                    "'%1' 不是 SECTION:FIELD 或 channel N:HEADING")
                   .arg(header);
        return false;
    }
    const QString left = header.left(colon).trimmed();
    const QString key = header.mid(colon + 1).trimmed();
    JobColumn c;
    static const QRegularExpression channelRe(QStringLiteral("^channel\\s+(\\S+)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (const auto m = channelRe.match(left); m.hasMatch()) {
        c.channel = channelOfLabel(m.captured(1));
        if (c.channel == 0) {
            *why = pick(chinese, "no channel '%1' (1 to 128, Fr)", "没有信道 '%1'（1 到 128，Fr）")
                       .arg(m.captured(1));
            return false;
        }
        c.table = &channelFields();
        c.field = c.table->indexOf(key);
        if (c.field < 0 || c.field >= kColumnCount) {
            *why = pick(chinese, "a channel has no cell '%1' (cells: %2)",
                        "信道没有单元格 '%1'（单元格：%2）")
                       .arg(key, jobChannelHeadings().join(QStringLiteral(", ")));
            return false;
        }
    } else {
        c.table = field::findTable(left);
        if (!c.table || c.table->count != 1) {
            *why = pick(chinese, "unknown section '%1'", "未知的区 '%1'").arg(left);
            return false;
        }
        c.field = c.table->indexOf(key);
        if (c.field < 0 || (c.table->fields[static_cast<size_t>(c.field)].flags & field::kHidden)) {
            *why = pick(chinese, "section %1 has no field '%2'", "区 %1 没有字段 '%2'")
                       .arg(QString::fromUtf8(c.table->section), key);
            return false;
        }
    }
    *column = c;
    return true;
}

QStringList jobSectionHeaders(bool serviceAccess) {
    QStringList out;
    for (const field::Table* t : field::registry()) {
        if (t->count != 1 || (t->needsAccessCode && !serviceAccess)) continue;
        for (const field::Field& f : t->fields)
            if (!(f.flags & field::kHidden))
                out << QString::fromUtf8(t->section) + QLatin1Char(':') + QString::fromUtf8(f.key);
    }
    return out;
}

QStringList jobChannelHeadings() {
    QStringList out;
    for (int i = 0; i < kColumnCount; ++i)
        out << QString::fromUtf8(channelFields().fields[static_cast<size_t>(i)].key);
    return out;
}

bool readJob(const QByteArray& csv, Job* job, QString* error, bool chinese) {
    if (csv.size() > kMaxInputFile) {
        *error = pick(chinese, "larger than 1 MiB, no job", "大于 1 MiB，不是任务文件");
        return false;
    }
    QList<CsvRecord> records;
    if (!readCsvRecords(QString::fromUtf8(csv), &records, error, chinese)) return false;
    if (records.isEmpty()) {
        *error = pick(chinese, "line 1: no header", "第 1 行：没有标题行");
        return false;
    }
    Job j;
    const CsvRecord& header = records.first();
    QStringList cells = header.cells;
    if (!cells.isEmpty() && cells.first().startsWith(QChar(0xFEFF))) cells.first().remove(0, 1);
    const bool labelled = j.labelled =
        !cells.isEmpty() &&
        cells.first().trimmed().compare(jobLabelHeader(), Qt::CaseInsensitive) == 0;
    for (int i = labelled ? 1 : 0; i < cells.size(); ++i) {
        JobColumn c;
        QString why;
        const QString text = cells[i].trimmed();
        if (!parseJobColumn(text, &c, &why, chinese)) {
            *error = where(header.line, i + 1, QString(), chinese) + separator(chinese) + why;
            return false;
        }
        if (j.columns.contains(c)) {
            *error = where(header.line, i + 1, text, chinese) +
                     pick(chinese, ": the field is named twice", "：该字段出现了两次");
            return false;
        }
        j.columns << c;
    }
    if (j.columns.isEmpty()) {
        *error = pick(chinese, "line %1: the header names no field", "第 %1 行：标题行没有字段")
                     .arg(header.line);
        return false;
    }
    const int width = static_cast<int>(j.columns.size()) + (labelled ? 1 : 0);
    for (int r = 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        if (rec.cells.size() > width) {
            *error = pick(chinese, "line %1: %2 cells, the header has %3",
                          "第 %1 行：%2 个单元格，标题行只有 %3 个")
                         .arg(rec.line)
                         .arg(rec.cells.size())
                         .arg(width);
            return false;
        }
        JobRow row;
        row.line = rec.line;
        int at = 0;
        if (labelled) row.label = rec.cells.value(at++).trimmed();
        for (int c = 0; c < j.columns.size(); ++c) row.values << rec.cells.value(at++).trimmed();
        j.rows << row;
    }
    if (j.rows.isEmpty()) {
        *error = pick(chinese, "the job lists no radio", "任务中没有对讲机");
        return false;
    }
    *job = j;
    return true;
}

QByteArray writeJob(const Job& job) {
    QStringList header{jobLabelHeader()};
    for (const JobColumn& c : job.columns) header << csvCell(c.header());
    QString text = header.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const JobRow& row : job.rows) {
        QStringList cells{csvCell(row.label)};
        for (int c = 0; c < job.columns.size(); ++c) cells << csvCell(row.values.value(c));
        text += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

JobImages jobImages(const Job& job, const RadioImage& document, bool serviceAccess, bool chinese) {
    JobImages out;
    // Columns are numbered as in the file, where the label, if any, comes first.
    auto columnNumber = [&job](int c) { return c + (job.labelled ? 2 : 1); };
    if (!serviceAccess) {
        for (int c = 0; c < job.columns.size(); ++c)
            if (job.columns[c].table->needsAccessCode) {
                out.error =
                    where(1, columnNumber(c), job.columns[c].header(), chinese) +
                    pick(chinese, ": section %1 needs the service access code (--access-code)",
                         "：区 %1 需要维修密码（--access-code）")
                        .arg(QString::fromUtf8(job.columns[c].table->section));
                out.needsAccess = true;
                return out;
            }
    }
    JsonOptions options;
    options.serviceAccess = serviceAccess;
    options.chinese = chinese;
    for (const JobRow& row : job.rows) {
        // The row as a configuration holding only its own values, so that it goes through
        // the very rules an imported configuration does.
        QJsonObject root;
        QJsonObject channels;
        for (int c = 0; c < job.columns.size(); ++c) {
            const QString value = row.values.value(c);
            if (value.isEmpty()) continue;
            const JobColumn& col = job.columns[c];
            if (col.channel > 0) {
                const QString label = channelLabel(col.channel);
                QJsonObject cells = channels.value(label).toObject();
                cells.insert(fieldKey(col), value);
                channels.insert(label, cells);
            } else {
                const QString section = QString::fromUtf8(col.table->section);
                QJsonObject fields = root.value(section).toObject();
                fields.insert(fieldKey(col), value);
                root.insert(section, fields);
            }
        }
        if (!channels.isEmpty()) root.insert(QStringLiteral("channels"), channels);
        const ImportResult r =
            importJson(QJsonDocument(root).toJson(QJsonDocument::Compact), document, options);
        if (!r.ok) {
            out.radios.clear();  // one refusal refuses the whole job
            out.error = where(row.line, 0, QString(), chinese) + separator(chinese) + r.error;
            // The import names the value by its path; the job names its cell instead.
            for (int c = 0; c < job.columns.size(); ++c) {
                const QString path = jsonPath(job.columns[c]);
                if (r.error.startsWith(path + separator(chinese).trimmed())) {
                    out.error = where(row.line, columnNumber(c), job.columns[c].header(), chinese) +
                                r.error.mid(path.size());
                    break;
                }
            }
            return out;
        }
        out.radios << JobRadio{row.line, row.label, r.image};
    }
    out.ok = true;
    return out;
}

QStringList fillSeries(const QString& first, int count, bool hex) {
    QStringList out;
    int end = static_cast<int>(first.size());
    while (end > 0 && !isDigit(first.at(end - 1), hex)) --end;
    int start = end;
    while (start > 0 && isDigit(first.at(start - 1), hex)) --start;
    QString value = first;
    for (int i = 0; i < count; ++i) {
        out << value;
        if (start == end) continue;
        QString digits = value.mid(start, end - start);
        const bool lower = hex && digits != digits.toUpper();
        int k = static_cast<int>(digits.size()) - 1;
        for (; k >= 0; --k) {
            const int base = hex ? 16 : 10;
            const int d = QString(digits.at(k)).toInt(nullptr, base) + 1;
            if (d < base) {
                QChar next = QString::number(d, base).at(0);
                digits[k] = lower ? next.toLower() : next.toUpper();
                break;
            }
            digits[k] = QLatin1Char('0');
        }
        if (k < 0) digits.prepend(QLatin1Char('1'));
        value = value.left(start) + digits + value.mid(end);
        end = start + static_cast<int>(digits.size());
    }
    return out;
}

}  // namespace cps::exchange
