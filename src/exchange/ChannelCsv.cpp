// The channel list in the CSV columns most open-source programming tools read and write.
#include <QHash>
#include <QLocale>
#include <QSet>
#include <cmath>

#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "Decimal.h"
#include "Exchange.h"
#include "Pick.h"
#include "SafeFile.h"
#include "Tones.h"

namespace cps::exchange {

namespace {

enum Col {
    kLocation,
    kName,
    kFrequency,
    kDuplex,
    kOffset,
    kTone,
    kRToneFreq,
    kCToneFreq,
    kDtcsCode,
    kDtcsPolarity,
    kRxDtcsCode,
    kCrossMode,
    kMode,
    kTStep,
    kSkip,
    kPower,
    kComment,
    kCsvColumns
};

// What the other tools write into the columns a row does not use.
constexpr const char* kDefaultTone = "88.5";
constexpr const char* kDefaultCode = "023";

// A tone as the CSV sees it: its kind and, for CTCSS, the text "88.5"; for DCS the three
// octal digits and the polarity letter (N normal, R inverted).
struct CsvTone {
    enum Kind { None, Ctcss, Dcs } kind = None;
    QString value;
    QChar polarity = QLatin1Char('N');
};

// The tone as the channel row shows it (the tone field's text): none, "88.5", "D023N" or
// "D023I".
CsvTone toneOf(const QString& shown) {
    CsvTone out;
    if (shown.isEmpty() || shown == tones::noneText(false)) return out;
    if (!shown.startsWith(QLatin1Char('D'))) {
        out.kind = CsvTone::Ctcss;
        out.value = shown;
        return out;
    }
    out.kind = CsvTone::Dcs;
    out.value = shown.mid(1, shown.size() - 2);  // "D023N" -> "023"
    out.polarity = shown.endsWith(QLatin1Char('I')) ? QLatin1Char('R') : QLatin1Char('N');
    return out;
}

QString mhz6(Freq v) {
    return QStringLiteral("%1.%2")
        .arg(v / kPerMHz)
        .arg((v % kPerMHz) * 10, 6, 10, QLatin1Char('0'));
}

// Which band holds a frequency: 1, 2 or 0 for neither.
int bandOf(const Bands& bands, Freq f) {
    if (bands.band1.contains(f)) return 1;
    if (bands.band2.contains(f)) return 2;
    return 0;
}

// The row importer -------------------------------------------------------------------------

struct Refusal {
    QString why;
    bool fittable = false;
};

class RowImport {
  public:
    RowImport(const CsvRecord& rec, const QVector<int>& index, bool lenient, QStringList shown,
              bool chinese)
        : rec_(rec),
          index_(index),
          lenient_(lenient),
          shown_(std::move(shown)),
          chinese_(chinese) {}

    QString cell(Col c) const {
        const int i = index_[c];
        return i < 0 ? QString() : rec_.cells.value(i).trimmed();
    }
    QString where(Col c) const {
        return pick(chinese_, "line %1, %2 '%3'", "第 %1 行，%2 '%3'")
            .arg(rec_.line)
            .arg(csvColumns()[c], cell(c));
    }
    // The text of the run's language.
    QString say(const char* english, const char* chineseText) const {
        return pick(chinese_, english, chineseText);
    }

    // A CTCSS tone of the radio's list, the nearest one when lenient.
    bool ctcss(Col c, QString* text, Refusal* r, QStringList* notes) const {
        const QString v = cell(c);
        bool ok = false;
        const double hz = QLocale::c().toDouble(v, &ok);
        if (!ok || !std::isfinite(hz) || hz <= 0) {
            r->why = where(c) + say(": not a tone frequency", "：不是亚音频率");
            return false;
        }
        const QString t = QString::asprintf("%.1f", hz);
        const QStringList& list = tones::list(false);
        // A tone the channel there already shows stays, on the list or not.
        const bool listed = (list.indexOf(t) >= 1 && list.indexOf(t) <= 50) || shown_.contains(t);
        if (listed && std::fabs(hz - t.toDouble()) < 1e-9) {
            *text = t;
            return true;
        }
        if (!lenient_) {
            r->why =
                where(c) + say(": not a tone of the radio's tone list", "：不在对讲机的亚音表中");
            r->fittable = true;
            return false;
        }
        double best = 1e9;
        for (int i = 1; i <= 50; ++i) {
            const double d = std::fabs(list[i].toDouble() - hz);
            if (d < best) {
                best = d;
                *text = list[i];
            }
        }
        notes->append(where(c) +
                      say(": stored as the nearest tone, %1", "：存为最接近的亚音 %1").arg(*text));
        return true;
    }

    // A DCS code of the radio's list with one polarity letter.
    bool dcs(Col c, QChar polarity, QString* text, Refusal* r) const {
        const QString v = cell(c);
        bool ok = false;
        const int n = v.toInt(&ok, 10);
        const QString t =
            QStringLiteral("D%1%2")
                .arg(n, 3, 10, QLatin1Char('0'))
                .arg(polarity == QLatin1Char('R') ? QLatin1Char('I') : QLatin1Char('N'));
        if (ok && n >= 0 && (tones::list(false).contains(t) || shown_.contains(t))) {
            *text = t;
            return true;
        }
        // A code the channel there shows, as the export wrote it, whatever it holds.
        for (const QString& s : shown_) {
            if (s.size() > 2 && s.startsWith(QLatin1Char('D')) && s.mid(1, s.size() - 2) == v) {
                *text = s;
                return true;
            }
        }
        r->why = where(c) +
                 say(": not a DCS code of the radio's tone list", "：不是对讲机亚音表中的 DCS 码");
        r->fittable = true;
        return false;
    }

  private:
    const CsvRecord& rec_;
    const QVector<int>& index_;
    bool lenient_;
    QStringList shown_;  // the tones the channel at the location shows
    bool chinese_;
};

QString powerText(const QString& v, QString* note) {
    const QString l = v.toLower();
    if (l == QLatin1String("high")) return QStringLiteral("High");
    if (l == QLatin1String("mid")) return QStringLiteral("Middle");
    if (l == QLatin1String("low")) return QStringLiteral("Low");
    QString out = QStringLiteral("High");
    if (l.startsWith(QLatin1Char('m')))
        out = QStringLiteral("Middle");
    else if (l.startsWith(QLatin1Char('l')))
        out = QStringLiteral("Low");
    *note = out;
    return out;
}

}  // namespace

// CSV reading ---------------------------------------------------------------------------

QString csvCell(const QString& cell) {
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
        !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r')))
        return cell;
    QString q = cell;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

bool readCsvRecords(const QString& text, QList<CsvRecord>* records, QString* error, bool chinese) {
    CsvRecord rec;
    QString cell;
    int line = 1;
    rec.line = 1;
    bool inQuotes = false;
    bool quotedCell = false;
    auto endCell = [&] {
        rec.cells << cell;
        cell.clear();
        quotedCell = false;
    };
    auto endRecord = [&] {
        endCell();
        const bool blank = rec.cells.size() == 1 && rec.cells.first().trimmed().isEmpty();
        if (!blank) records->append(rec);
        rec = CsvRecord();
        rec.line = line;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == QLatin1Char('\n')) ++line;
                cell += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && cell.trimmed().isEmpty() && !quotedCell) {
            cell.clear();
            inQuotes = true;
            quotedCell = true;
        } else if (c == QLatin1Char(',')) {
            endCell();
        } else if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) continue;
            ++line;
            endRecord();
        } else if (c == QLatin1Char('\n')) {
            ++line;
            endRecord();
        } else {
            cell += c;
        }
    }
    if (inQuotes) {
        *error = pick(chinese, "line %1: a quoted cell is not closed", "第 %1 行：引号单元格未闭合")
                     .arg(rec.line);
        return false;
    }
    endRecord();
    return true;
}

const QStringList& csvColumns() {
    static const QStringList names = {
        QStringLiteral("Location"),     QStringLiteral("Name"),       QStringLiteral("Frequency"),
        QStringLiteral("Duplex"),       QStringLiteral("Offset"),     QStringLiteral("Tone"),
        QStringLiteral("rToneFreq"),    QStringLiteral("cToneFreq"),  QStringLiteral("DtcsCode"),
        QStringLiteral("DtcsPolarity"), QStringLiteral("RxDtcsCode"), QStringLiteral("CrossMode"),
        QStringLiteral("Mode"),         QStringLiteral("TStep"),      QStringLiteral("Skip"),
        QStringLiteral("Power"),        QStringLiteral("Comment"),
    };
    return names;
}

QByteArray exportCsv(const RadioImage& image) {
    const Bands bands = loadBandsInUse(image).bands;
    QString out = csvColumns().join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (int n = 1; n <= kChannelCount; ++n) {
        const uint8_t* r = image.data() + recordOffset(n);
        const ChannelRow row = decodeChannel(r, bands, false);
        if (row[kColRx].isEmpty()) continue;
        QStringList c(kCsvColumns);
        const Freq rx = freqTextToValue(row[kColRx]);
        c[kLocation] = QString::number(n);
        c[kName] = row[kColName];
        c[kFrequency] = mhz6(rx);
        c[kOffset] = mhz6(0);
        if (row[kColTx].isEmpty()) {
            c[kDuplex] = QStringLiteral("off");
        } else {
            const Freq tx = freqTextToValue(row[kColTx]);
            // A transmit frequency in another band (or in none) is no offset but a split.
            if (tx != rx && bandOf(bands, tx) != bandOf(bands, rx)) {
                c[kDuplex] = QStringLiteral("split");
                c[kOffset] = mhz6(tx);
            } else if (tx != rx) {
                c[kDuplex] = tx > rx ? QStringLiteral("+") : QStringLiteral("-");
                c[kOffset] = mhz6(tx > rx ? tx - rx : rx - tx);
            }
        }
        // Tone columns: the transmit tone is the encode tone, the receive tone the decode one.
        const CsvTone tx = toneOf(row[kColEncTone]);
        const CsvTone rxTone = toneOf(row[kColDecTone]);
        c[kRToneFreq] = QString::fromLatin1(kDefaultTone);
        c[kCToneFreq] = QString::fromLatin1(kDefaultTone);
        c[kDtcsCode] = QString::fromLatin1(kDefaultCode);
        c[kRxDtcsCode] = QString::fromLatin1(kDefaultCode);
        c[kDtcsPolarity] = QString(tx.polarity) + rxTone.polarity;
        c[kCrossMode] = QStringLiteral("Tone->Tone");
        using K = CsvTone;
        if (tx.kind == K::None && rxTone.kind == K::None) {
            c[kTone].clear();
        } else if (tx.kind == K::Ctcss && rxTone.kind == K::None) {
            c[kTone] = QStringLiteral("Tone");
            c[kRToneFreq] = tx.value;
        } else if (tx.kind == K::Ctcss && rxTone.kind == K::Ctcss && tx.value == rxTone.value) {
            c[kTone] = QStringLiteral("TSQL");
            c[kRToneFreq] = tx.value;
            c[kCToneFreq] = rxTone.value;
        } else if (tx.kind == K::Dcs && rxTone.kind == K::Dcs && tx.value == rxTone.value) {
            c[kTone] = QStringLiteral("DTCS");
            c[kDtcsCode] = tx.value;
            c[kRxDtcsCode] = tx.value;
        } else {
            auto kindName = [](const CsvTone& t) {
                return t.kind == K::Ctcss ? QStringLiteral("Tone")
                       : t.kind == K::Dcs ? QStringLiteral("DTCS")
                                          : QString();
            };
            c[kTone] = QStringLiteral("Cross");
            c[kCrossMode] = kindName(tx) + QStringLiteral("->") + kindName(rxTone);
            if (tx.kind == K::Ctcss) c[kRToneFreq] = tx.value;
            if (rxTone.kind == K::Ctcss) c[kCToneFreq] = rxTone.value;
            // With one code in the row both code columns hold it, whichever a reader takes.
            if (tx.kind == K::Dcs) c[kDtcsCode] = c[kRxDtcsCode] = tx.value;
            if (rxTone.kind == K::Dcs) {
                c[kRxDtcsCode] = rxTone.value;
                if (tx.kind != K::Dcs) c[kDtcsCode] = rxTone.value;
            }
        }
        // A channel without transmit frequency shows no name, power and so on; the grid
        // stores it as Low, Narrow, not in scan.
        const bool noTx = row[kColTx].isEmpty();
        c[kMode] = !noTx && row[kColBandwidth] == QLatin1String("Wide") ? QStringLiteral("FM")
                                                                        : QStringLiteral("NFM");
        c[kTStep] = rx % 500 == 0 ? QStringLiteral("5.00") : QStringLiteral("6.25");
        c[kSkip] = !noTx && row[kColScan] == QLatin1String("Yes") ? QString() : QStringLiteral("S");
        const QString power = row[kColPower];
        c[kPower] = power == QLatin1String("High")     ? QStringLiteral("High")
                    : power == QLatin1String("Middle") ? QStringLiteral("Mid")
                                                       : QStringLiteral("Low");
        for (QString& cell : c) cell = csvCell(cell);
        out += c.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

ImportResult importCsv(const QByteArray& csv, const RadioImage& into, const CsvOptions& options) {
    ImportResult result;
    auto fail = [&result](const QString& why, bool fittable = false) {
        result.ok = false;
        result.error = why;
        result.fittable = fittable;
        result.notes.clear();
        return result;
    };
    const bool zh = options.chinese;
    auto say = [zh](const char* english, const char* chineseText) {
        return pick(zh, english, chineseText);
    };
    if (csv.size() > kMaxInputFile)
        return fail(say("larger than 1 MiB, no channel list", "大于 1 MiB，不是信道列表"));
    QString text = QString::fromUtf8(csv);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);

    QList<CsvRecord> records;
    QString error;
    if (!readCsvRecords(text, &records, &error, zh)) return fail(error);
    if (records.isEmpty()) return fail(say("no header line", "没有标题行"));

    // Header by name, any order; columns of other names are left alone.
    QVector<int> index(kCsvColumns, -1);
    const CsvRecord& header = records.first();
    for (int i = 0; i < header.cells.size(); ++i) {
        const QString name = header.cells[i].trimmed();
        for (int c = 0; c < kCsvColumns; ++c)
            if (index[c] < 0 && name.compare(csvColumns()[c], Qt::CaseInsensitive) == 0)
                index[c] = i;
    }
    for (Col need : {kLocation, kFrequency})
        if (index[need] < 0)
            return fail(say("line %1: no column \"%2\"", "第 %1 行：没有 \"%2\" 列")
                            .arg(header.line)
                            .arg(csvColumns()[need]));

    // Rows are typed over what the image shows, so that a value the file gives back unchanged
    // stays as it is; locations the file leaves out or empty are cleared at the end.
    ChannelTable table(false);
    table.fill(into);

    // Busy Lock and PTT ID have no column: the channel at the location keeps its own, as the
    // grid shows it.
    std::array<QString, kChannelCount + 1> busy, ptt;
    for (int n = 1; n <= kChannelCount; ++n) {
        const bool present = !table.text(n, 1).isEmpty();
        busy[n] = present ? table.text(n, 1 + kColBusyLock) : QStringLiteral("Off");
        ptt[n] = present ? table.text(n, 1 + kColPttId) : QStringLiteral("Off");
    }

    QSet<int> seen, typed;
    QStringList notes;
    for (int i = 1; i < records.size(); ++i) {
        const CsvRecord& rec = records[i];
        const QString loc = RowImport(rec, index, false, {}, zh).cell(kLocation);
        bool ok = false;
        const int n = loc.toInt(&ok);
        const RowImport row(
            rec, index, options.lenient,
            ok && n >= 1 && n <= kChannelCount
                ? QStringList{table.text(n, 1 + kColDecTone), table.text(n, 1 + kColEncTone)}
                : QStringList{},
            zh);
        if (!ok || n < 1 || n > kChannelCount)
            return fail(row.where(kLocation) +
                        say(": not a location from 1 to 129", "：不是 1 到 129 的位置"));
        if (seen.contains(n))
            return fail(row.where(kLocation) +
                        say(": that location appears twice", "：该位置出现了两次"));
        seen.insert(n);
        const QString freq = row.cell(kFrequency);
        if (freq.isEmpty()) continue;  // an empty location

        Refusal refusal;
        QStringList rowNotes;
        auto refuse = [&](const Refusal& r) -> bool {
            if (!r.fittable || !options.lenient) return true;
            notes.append(r.why + say(": row skipped", "：跳过该行"));
            return false;
        };

        // Frequencies: receive in MHz; transmit from Duplex and Offset.
        const Freq rx = freqTextToValue(freq);
        const QString duplex = row.cell(kDuplex).toLower();
        const QString offsetText = row.cell(kOffset);
        Freq offset = 0;
        if (!offsetText.isEmpty()) {
            bool isNumber = false;
            QLocale::c().toDouble(offsetText, &isNumber);
            if (!isNumber) return fail(row.where(kOffset) + say(": not a number", "：不是数字"));
            offset = freqTextToValue(offsetText);
            // The sign is Duplex's; a split's Offset is a frequency, checked by the grid.
            if (offset < 0 && duplex != QLatin1String("split"))
                return fail(row.where(kOffset) + say(": negative", "：为负数"));
        }
        QString txText;
        if (duplex.isEmpty()) {
            txText = freq;
        } else if (duplex == QLatin1String("+")) {
            txText = freqValueToText(rx + offset);
        } else if (duplex == QLatin1String("-")) {
            if (offset > rx) return fail(row.where(kOffset) + say(": below 0 MHz", "：低于 0 MHz"));
            txText = freqValueToText(rx - offset);
        } else if (duplex == QLatin1String("split")) {
            txText = offsetText;
        } else if (duplex != QLatin1String("off")) {
            return fail(row.where(kDuplex) +
                        say(": not \"\", +, -, split or off", "：不是 \"\"、+、-、split 或 off"));
        }

        // Tones.
        const QString polarity = row.cell(kDtcsPolarity).toUpper();
        QString pol = polarity.isEmpty() ? QStringLiteral("NN") : polarity;
        if (pol.size() != 2 || !QStringLiteral("NR").contains(pol[0]) ||
            !QStringLiteral("NR").contains(pol[1]))
            return fail(row.where(kDtcsPolarity) +
                        say(": not NN, NR, RN or RR", "：不是 NN、NR、RN 或 RR"));
        QString txTone = QStringLiteral("None"), rxTone = QStringLiteral("None");
        const QString tone = row.cell(kTone);
        bool skip = false;
        auto ctcss = [&](Col c, QString* t) {
            if (row.ctcss(c, t, &refusal, &rowNotes)) return true;
            skip = !refuse(refusal);
            return skip;
        };
        auto dcs = [&](Col c, QChar p, QString* t) {
            if (row.dcs(c, p, t, &refusal)) return true;
            skip = !refuse(refusal);
            return skip;
        };
        bool toneOk = true;
        if (tone.isEmpty()) {
        } else if (tone.compare(QLatin1String("Tone"), Qt::CaseInsensitive) == 0) {
            toneOk = ctcss(kRToneFreq, &txTone);
        } else if (tone.compare(QLatin1String("TSQL"), Qt::CaseInsensitive) == 0) {
            toneOk = ctcss(kCToneFreq, &txTone);
            rxTone = txTone;
        } else if (tone.compare(QLatin1String("DTCS"), Qt::CaseInsensitive) == 0) {
            toneOk = dcs(kDtcsCode, pol[0], &txTone) && (skip || dcs(kDtcsCode, pol[1], &rxTone));
        } else if (tone.compare(QLatin1String("Cross"), Qt::CaseInsensitive) == 0) {
            const QStringList sides = row.cell(kCrossMode).split(QStringLiteral("->"));
            auto kind = [](const QString& s) {
                if (s.isEmpty()) return 0;
                if (s.compare(QLatin1String("Tone"), Qt::CaseInsensitive) == 0) return 1;
                if (s.compare(QLatin1String("DTCS"), Qt::CaseInsensitive) == 0) return 2;
                return -1;
            };
            const int txKind = sides.size() == 2 ? kind(sides[0].trimmed()) : -1;
            const int rxKind = sides.size() == 2 ? kind(sides[1].trimmed()) : -1;
            if (txKind < 0 || rxKind < 0)
                return fail(row.where(kCrossMode) +
                            say(": not one of Tone->Tone, Tone->DTCS, DTCS->Tone, DTCS->, ->Tone, "
                                "->DTCS, DTCS->DTCS",
                                "：不是 Tone->Tone、Tone->DTCS、DTCS->Tone、DTCS->、->Tone、"
                                "->DTCS、DTCS->DTCS 之一"));
            if (txKind == 1) toneOk = ctcss(kRToneFreq, &txTone);
            if (toneOk && !skip && txKind == 2) toneOk = dcs(kDtcsCode, pol[0], &txTone);
            if (toneOk && !skip && rxKind == 1) toneOk = ctcss(kCToneFreq, &rxTone);
            if (toneOk && !skip && rxKind == 2)
                toneOk = dcs(txKind == 2 ? kRxDtcsCode : kDtcsCode, pol[1], &rxTone);
        } else {
            return fail(row.where(kTone) + say(": not \"\", Tone, TSQL, DTCS or Cross",
                                               "：不是 \"\"、Tone、TSQL、DTCS 或 Cross"));
        }
        if (!toneOk && !skip) return fail(refusal.why, refusal.fittable);
        if (skip) continue;

        // Bandwidth, step, scan, power, name.
        const QString mode = row.cell(kMode);
        QString bandwidth = QStringLiteral("Wide");
        if (mode.isEmpty() || mode.compare(QLatin1String("FM"), Qt::CaseInsensitive) == 0) {
        } else if (mode.compare(QLatin1String("NFM"), Qt::CaseInsensitive) == 0) {
            bandwidth = QStringLiteral("Narrow");
        } else {
            const Refusal r{
                row.where(kMode) + say(": the radio has only FM and NFM", "：对讲机只有 FM 和 NFM"),
                true};
            if (refuse(r)) return fail(r.why, true);
            continue;
        }
        const QString step = row.cell(kTStep);
        if (!step.isEmpty()) {
            const long long khz = scaledDecimal(step, 3);
            bool isNumber = false;
            QLocale::c().toDouble(step, &isNumber);
            if (!isNumber || (khz != 5000 && khz != 6250)) {
                const Refusal r{row.where(kTStep) + say(": the radio steps 5 or 6.25 kHz",
                                                        "：对讲机的步进为 5 或 6.25 kHz"),
                                true};
                if (refuse(r)) return fail(r.why, true);
                continue;
            }
        }
        const QString scan = row.cell(kSkip).compare(QLatin1String("S"), Qt::CaseInsensitive) == 0
                                 ? QStringLiteral("No")
                                 : QStringLiteral("Yes");
        QString powerNote;
        const QString power = row.cell(kPower).isEmpty() ? QStringLiteral("High")
                                                         : powerText(row.cell(kPower), &powerNote);
        if (!powerNote.isEmpty())
            rowNotes.append(row.where(kPower) + say(": stored as %1", "：存为 %1").arg(powerNote));
        QString name = index[kName] < 0 ? QString() : rec.cells.value(index[kName]);
        // A changed name only: one the channel already holds is kept as it is.
        if (const QString bad = controlRefusal(name, zh);
            !bad.isEmpty() && name != table.text(n, 1 + kColName))
            return fail(say("line %1, Name '%2'", "第 %1 行，Name '%2'").arg(rec.line).arg(name) +
                        bad);
        // A changed name longer than the record holds is the one refusal a name can be fitted
        // from: cut, when the user says so.
        if (name.size() > ChannelTable::kNameRecordLength && name != table.text(n, 1 + kColName)) {
            if (!options.lenient)
                return fail(
                    say("line %1, Name '%2'", "第 %1 行，Name '%2'").arg(rec.line).arg(name) +
                        say(": ", "：") +
                        refusalText(checkCell(kColName, name, table.bands(), zh), zh),
                    true);
            name.truncate(ChannelTable::kNameRecordLength);
            rowNotes.append(say("line %1, Name: cut to '%2'", "第 %1 行，Name：截为 '%2'")
                                .arg(rec.line)
                                .arg(name));
        }

        // Typed into the grid left to right, as a user would.
        const QString texts[ChannelTable::kCols] = {
            QString(), freqValueToText(rx), txText, rxTone,  txTone, name,
            power,     bandwidth,           scan,   busy[n], ptt[n]};
        for (int col = 1; col < ChannelTable::kCols; ++col) {
            const QString cellText = col == 1 ? freq : texts[col];
            const CellEntry e = table.typeCell(n, col, table.asShown(n, col, cellText));
            const QString what = say("line %1, %2 '%3'", "第 %1 行，%2 '%3'")
                                     .arg(rec.line)
                                     .arg(ChannelTable::heading(col, zh).trimmed(), cellText);
            if (e.refused) return fail(what + say(": ", "：") + ChannelTable::refusalText(e, zh));
            if (e.changed) {
                const QString change =
                    what + say(": stored as '%1'", "：存为 '%1'").arg(table.text(n, col));
                if (!options.lenient) return fail(change, true);
                rowNotes.append(change);
            }
        }
        notes.append(rowNotes);
        typed.insert(n);
    }
    for (int n = 1; n <= kChannelCount; ++n)
        if (!typed.contains(n)) table.clearRow(n);

    result.image = into;
    table.store(result.image);
    result.ok = true;
    result.notes = notes;
    return result;
}

}  // namespace cps::exchange
