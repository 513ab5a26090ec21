#include "ChannelTable.h"

#include <QCoreApplication>
#include <Qt>
#include <QtGlobal>

#include "Tones.h"

namespace cps {

namespace {

// The receive frequency must be a sensible radio frequency at all: 67 to 600 MHz.
constexpr Freq kLowestEntry = 67 * kPerMHz;
constexpr Freq kHighestEntry = 600 * kPerMHz;

struct Heading {
    const char* en;
    const char* zh;
    double width;
};
const Heading kHeadings[ChannelTable::kCols] = {
    {"CH", "信道", 0.5},
    {"Rx Frequency", "接收频率", 1.06},
    {"Tx Frequency", "发射频率", 1.06},
    {"QT/DQT Dec", "QT/DQT解码", 1.1},
    {"QT/DQT Enc", "QT/DQT编码", 1.1},
    {"Chnnel Name", "信道名字", 1.08},
    {"Power", "功率", 0.7},
    {" W/N ", "宽/窄", 0.86},
    {"Scan Add", "扫描添加", 0.8},
    {"Busy Lock", "繁忙锁定", 1.05},
    {"PTT ID", "PTT ID", 1.0},
};

template <size_t N>
QStringList pairTexts(const choices::Pair (&pairs)[N], bool chinese) {
    QStringList out;
    for (const auto& p : pairs) out << choices::text(p, chinese);
    return out;
}

// Steps of 5 kHz or 6.25 kHz, in 10 Hz units.
bool onStep(Freq v) { return v % 500 == 0 || v % 625 == 0; }

// What the frequency editor can hold: digits and the full stop.
bool frequencyCharacters(const QString& text) {
    for (QChar c : text)
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char('.'))
            return false;
    return true;
}

// A name byte can be anything but the two values that end the name in the record.
bool recordBytes(const QString& text) {
    for (QChar c : text)
        if (c.unicode() == 0x00 || c.unicode() >= 0xFF) return false;
    return true;
}

bool sameFrequency(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return a.isEmpty() == b.isEmpty();
    return freqTextToValue(a) == freqTextToValue(b);
}

// Tone texts name the same stored tone ("d023n" and "D023N", "" and "None" do).
bool sameTone(const QString& a, const QString& b) {
    return tones::fromText(a.toUpper()) == tones::fromText(b.toUpper());
}

CellEntry refusal(const char* reason, const char* reasonZh) {
    CellEntry e;
    e.refused = true;
    e.reason = reason;
    e.reasonZh = reasonZh;
    return e;
}

}  // namespace

ChannelTable::ChannelTable(bool chinese) : chinese_(chinese) {
    bands_.band1 = {134 * kPerMHz, 176 * kPerMHz};
    bands_.band2 = bands_.band1;
}

QString ChannelTable::text(int row, int col) const {
    if (row < 0 || row >= kRows || col < 0 || col >= kCols) return {};
    if (row == 0) return heading(col, chinese_);
    if (col == 0) return channelLabel(row);
    return cell(row, col);
}

void ChannelTable::setText(int row, int col, const QString& text) {
    if (row < 1 || row >= kRows || col < 1 || col >= kCols) return;
    cell(row, col) = text;
}

void ChannelTable::fill(const RadioImage& image) {
    const BandsInUse in = loadBandsInUse(image);
    fill(image, in.bands);
    if (in.replaced()) bandsNote_ = msg::bandsInUseNote(in, image.at(addr::kBandCode), chinese_);
    for (int b = 0; b < 2; ++b) keptBand_[b] = in.source[b] != BandSource::Packed;
    for (int i = 0; i < 6; ++i) bandBytes_[i] = image.at(addr::kBandLimitsPacked + i);
}

void ChannelTable::fill(const RadioImage& image, const Bands& bands) {
    bands_ = bands;
    keptBand_ = {};
    bandsNote_.clear();
    for (int n = 1; n <= kChannelCount; ++n) {
        rows_[n - 1] = decodeChannel(image.data() + recordOffset(n), bands_, chinese_);
        // A channel without a receive frequency shows nothing at all.
        if (rows_[n - 1][kColRx].isEmpty()) rows_[n - 1] = ChannelRow{};
    }
}

void ChannelTable::store(RadioImage& image) const {
    packBands(image, bands_);
    for (int b = 0; b < 2; ++b)
        if (keptBand_[b])
            for (int i = 3 * b; i < 3 * b + 3; ++i)
                image.set(addr::kBandLimitsPacked + i, bandBytes_[i]);
    for (int n = 1; n <= kChannelCount; ++n)
        encodeChannel(rows_[n - 1], image.data() + recordOffset(n), bands_);
}

void ChannelTable::clearRow(int row) {
    if (row < 1 || row >= kRows) return;
    for (int c = 1; c < kCols; ++c) cell(row, c).clear();
}

ChannelRow ChannelTable::row(int n) const {
    return (n < 1 || n >= kRows) ? ChannelRow{} : rows_[n - 1];
}

RowsEntry ChannelTable::typeRows(int firstRow, const QList<ChannelRow>& rows) {
    RowsEntry result;
    if (firstRow < 1 || firstRow + rows.size() > kRows) {
        result.refused = true;
        result.noRoom = true;
        result.row = firstRow;
        return result;
    }
    // Typed into a copy, which replaces this table only when every cell went in.
    ChannelTable work(*this);
    for (int i = 0; i < rows.size(); ++i) {
        const int n = firstRow + i;
        for (int col = 1; col < kCols; ++col) {
            const QString& typed = rows[i][col - 1];
            const CellEntry entry = work.typeCell(n, col, typed);
            if (entry.refused) {
                result.refused = true;
                result.row = n;
                result.col = col;
                result.typed = typed;
                result.entry = entry;
                return result;
            }
        }
    }
    rows_ = work.rows_;
    return result;
}

void ChannelTable::makeNewChannel(int row, const QString& rx) {
    const QString none = tones::noneText(chinese_);
    cell(row, 1) = rx;
    cell(row, 2) = rx;
    cell(row, 3) = none;
    cell(row, 4) = none;
    cell(row, 5).clear();
    cell(row, 6) = choices::text(choices::kPower[2], chinese_);
    cell(row, 7) = choices::text(choices::kBandwidth[0], chinese_);
    cell(row, 8) = choices::text(choices::kScan[0], chinese_);
    cell(row, 9) = choices::text(choices::kBusyLock[0], chinese_);
    cell(row, 10) = choices::text(choices::kPttId[0], chinese_);
}

EditOutcome ChannelTable::leaveRx(int row, const QString& typed, bool onEnter) {
    EditOutcome out;
    if (typed.isEmpty()) {
        clearRow(row);  // the channel is deleted
        return out;
    }
    const Freq v = freqTextToValue(typed);
    const QString formatted = freqValueToText(v);
    if (v < kLowestEntry || v > kHighestEntry) {
        out.notice = Notice::BadFormat;
        out.keepEditor = true;
        out.clearEditor = onEnter;
        return out;
    }
    if (!onStep(v)) {
        out.notice = Notice::BadStep;
        if (onEnter) {
            out.keepEditor = true;
            out.clearEditor = true;
        } else {
            clearRow(row);
        }
        return out;
    }
    if (!bands_.contains(v)) {
        out.notice = Notice::OutOfRange;
        out.keepEditor = onEnter;
        out.clearEditor = onEnter;
        return out;
    }
    if (cell(row, 1).isEmpty()) {
        makeNewChannel(row, formatted);
    } else {
        cell(row, 1) = formatted;
    }
    return out;
}

void ChannelTable::leaveTx(int row, const QString& typed) {
    if (typed.isEmpty() || cell(row, 1).isEmpty()) {
        cell(row, 2).clear();
        return;
    }
    const Freq v = freqTextToValue(typed);
    cell(row, 2) = bands_.contains(v) ? freqValueToText(v) : freqValueToText(bands_.band1.low);
}

CellEntry ChannelTable::typeCell(int row, int col, const QString& typed) {
    if (row < 1 || row >= kRows || col < 1 || col >= kCols) return {};
    // What the cell already shows is no entry: it stays as it is, whatever the typing rules
    // would make of it (an off-step frequency, an 8-character name or a transmit frequency
    // outside the bands, as a radio may hold them). Only a changed cell is typed.
    if (typed == cell(row, col)) return {};
    if (col > 2) return typeOther(row, col, typed);
    CellEntry e;
    if (!frequencyCharacters(typed)) {
        e.refused = true;
        e.outcome.notice = Notice::BadFormat;
        e.outcome.keepEditor = true;
        return e;
    }
    if (col == 1) {
        e.outcome = leaveRx(row, typed, false);
        e.refused = e.outcome.notice != Notice::None;
        return e;
    }
    leaveTx(row, typed);
    e.changed = !sameFrequency(typed, cell(row, 2));
    return e;
}

CellEntry ChannelTable::typeOther(int row, int col, const QString& typed) {
    const EditorKind kind = editorFor(col);
    QString text = typed;
    if (kind == EditorKind::Name) {
        if (typed.size() > kNameRecordLength)
            return refusal("longer than the 8 characters the record holds",
                           "超过记录可存的 8 个字符");
        if (!recordBytes(typed))
            return refusal("a character the record cannot hold in a name",
                           "名称中有记录存不下的字符");
    } else if (kind == EditorKind::Tone) {
        // The typed tone check below decides, the other language's "None" included.
    } else if (!typed.isEmpty()) {
        // An empty list cell is what a channel without transmit frequency shows.
        const int i = findItem(kind, typed);
        if (i < 0) return refusal("not an item of the column's list", "不是该列列表中的项");
        text = items(kind).at(i);
    }

    CellEntry e;
    if (cell(row, 1).isEmpty() && cell(row, 2).isEmpty()) {
        // No channel in this row: nothing is kept.
        cell(row, col).clear();
        e.changed = kind == EditorKind::Tone ? !sameTone(text, QString()) : !typed.isEmpty();
        return e;
    }
    if (kind == EditorKind::Tone) {
        QString result;
        // The grid keeps the previous text without a message.
        if (!tones::checkTyped(text, chinese_, &result))
            return refusal("not None, a tone from 60.0 to 259.9 or a code of the tone list",
                           "不是 None、60.0 到 259.9 的亚音或亚音表中的数字码");
        cell(row, col) = result;
        e.changed = !sameTone(text, result);
        return e;
    }
    cell(row, col) = text;
    return e;
}

QString ChannelTable::asShown(int row, int col, const QString& text) const {
    if (row < 1 || row >= kRows || col < 1 || col >= kCols) return text;
    const QString& shown = cell(row, col);
    if (text == shown || text.isEmpty() || shown.isEmpty()) return text;
    const EditorKind kind = editorFor(col);
    switch (kind) {
        case EditorKind::Frequency:
            return frequencyCharacters(text) && freqTextToValue(text) == freqTextToValue(shown)
                       ? shown
                       : text;
        case EditorKind::Tone:
            return sameTone(text, shown) ? shown : text;
        case EditorKind::Name:
            return text;
        default: {
            const int i = findItem(kind, text);
            return i >= 0 && i == findItem(kind, shown) ? shown : text;
        }
    }
}

EditOutcome ChannelTable::enterFrequency(int row, int col, const QString& typed) {
    if (row < 1 || row >= kRows) return {};
    // Enter over a frequency shown unchanged keeps it, as leaving the cell does.
    if ((col == 1 || col == 2) && !typed.isEmpty() && typed == cell(row, col)) return {};
    if (col == 1) return leaveRx(row, typed, true);
    if (col == 2) {
        // An empty entry reads as 0, which no band holds: it becomes the band 1 lower limit.
        leaveTx(row, freqValueToText(freqTextToValue(typed)));
        return {};
    }
    return leaveCell(row, col, typed);
}

EditorKind ChannelTable::editorFor(int col) {
    switch (col) {
        case 3:
        case 4:
            return EditorKind::Tone;
        case 5:
            return EditorKind::Name;
        case 6:
            return EditorKind::Power;
        case 7:
            return EditorKind::Bandwidth;
        case 8:
            return EditorKind::Scan;
        case 9:
            return EditorKind::BusyLock;
        case 10:
            return EditorKind::PttId;
        default:
            return EditorKind::Frequency;
    }
}

QStringList ChannelTable::items(EditorKind kind) const { return itemsIn(kind, chinese_); }

QStringList ChannelTable::itemsIn(EditorKind kind, bool chinese) const {
    switch (kind) {
        case EditorKind::Tone:
            return tones::list(chinese);
        case EditorKind::Power:
            return pairTexts(choices::kPower, chinese);
        case EditorKind::Bandwidth:
            return pairTexts(choices::kBandwidth, chinese);
        case EditorKind::Scan:
            return pairTexts(choices::kScan, chinese);
        case EditorKind::BusyLock:
            return pairTexts(choices::kBusyLock, chinese);
        case EditorKind::PttId:
            return pairTexts(choices::kPttId, chinese);
        default:
            return {};
    }
}

int ChannelTable::findItem(EditorKind kind, const QString& text) const {
    for (bool chinese : {chinese_, !chinese_}) {
        const QStringList list = itemsIn(kind, chinese);
        for (int i = 0; i < list.size(); ++i)
            if (list[i].compare(text, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

const char* ChannelTable::noticeText(Notice notice) {
    switch (notice) {
        case Notice::None:
            break;
        case Notice::OutOfRange:
            return QT_TRANSLATE_NOOP("StringTable", "Out of range, please input again.");
        case Notice::BadFormat:
            return QT_TRANSLATE_NOOP("StringTable", "Error Data Format, please input again.");
        case Notice::BadStep:
            return QT_TRANSLATE_NOOP(
                "StringTable",
                "Error data Value, please input according the step value(6.25K/5k).");
    }
    return "";
}

QString ChannelTable::refusalText(const CellEntry& entry, bool chinese) {
    const Notice notice = entry.outcome.notice;
    if (notice != Notice::None)
        return chinese ? QCoreApplication::translate("StringTable", noticeText(notice))
                       : QString::fromUtf8(noticeText(notice));
    const char* reason = chinese && entry.reasonZh ? entry.reasonZh : entry.reason;
    return QString::fromUtf8(reason ? reason : "");
}

QString ChannelTable::noticeDetail(Notice notice, bool chinese) const {
    switch (notice) {
        case Notice::None:
            break;
        case Notice::OutOfRange:
            return msg::outOfRangeDetail(bands_, chinese);
        case Notice::BadFormat:
            return msg::badFormatDetail(bands_, chinese);
        case Notice::BadStep:
            return msg::badStepDetail(bands_, chinese);
    }
    return {};
}

int ChannelTable::matchItem(EditorKind kind, const QString& text) const {
    const QStringList list = items(kind);
    for (int i = 0; i < list.size(); ++i)
        if (list[i].startsWith(text, Qt::CaseInsensitive)) return i;
    return -1;
}

QString ChannelTable::heading(int col, bool chinese) {
    if (col < 0 || col >= kCols) return {};
    return QString::fromUtf8(chinese ? kHeadings[col].zh : kHeadings[col].en);
}

double ChannelTable::widthFactor(int col) {
    return (col < 0 || col >= kCols) ? 0.0 : kHeadings[col].width;
}

bool ChannelTable::frequencyKeyAllowed(int key, bool shift, bool keypad) {
    switch (key) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            return true;
        default:
            break;
    }
    const bool digitOrPoint = (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Period;
    if (keypad) return digitOrPoint;
    return digitOrPoint && !shift;
}

}  // namespace cps
