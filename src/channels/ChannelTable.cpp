#include "ChannelTable.h"

#include <QCoreApplication>
#include <Qt>
#include <QtGlobal>

#include "Tones.h"

namespace cps {

namespace {

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

// The column of the channel rules an editor serves (the first of the two tone columns).
int columnOf(EditorKind kind) {
    switch (kind) {
        case EditorKind::Frequency:
            return kColRx;
        case EditorKind::Name:
            return kColName;
        case EditorKind::Tone:
            return kColDecTone;
        case EditorKind::Power:
            return kColPower;
        case EditorKind::Bandwidth:
            return kColBandwidth;
        case EditorKind::Scan:
            return kColScan;
        case EditorKind::BusyLock:
            return kColBusyLock;
        case EditorKind::PttId:
            return kColPttId;
    }
    return kColRx;
}

CellEntry refusal(const CellVerdict& verdict) {
    CellEntry e;
    e.refused = true;
    e.verdict = verdict;
    return e;
}

}  // namespace

ChannelTable::ChannelTable(bool chinese) : chinese_(chinese) {
    bands_.band1 = kVSectionBand;
    bands_.band2 = kVSectionBand;
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

CellEntry ChannelTable::leaveRx(int row, const QString& typed, bool onEnter) {
    CellEntry e;
    e.verdict = checkCell(kColRx, typed, bands_, chinese_);
    e.refused = !e.verdict.ok();
    EditOutcome& out = e.outcome;
    out.notice = e.verdict.notice;
    switch (e.verdict.notice) {
        case Notice::None:
            break;
        case Notice::BadStep:
            if (onEnter) {
                out.keepEditor = true;
                out.clearEditor = true;
            } else {
                clearRow(row);
            }
            return e;
        case Notice::OutOfRange:
            out.keepEditor = onEnter;
            out.clearEditor = onEnter;
            return e;
        default:
            out.keepEditor = true;
            out.clearEditor = onEnter;
            return e;
    }
    if (typed.isEmpty()) {
        clearRow(row);  // the channel is deleted
    } else if (cell(row, 1).isEmpty()) {
        makeNewChannel(row, e.verdict.text);
    } else {
        cell(row, 1) = e.verdict.text;
    }
    return e;
}

CellEntry ChannelTable::leaveTx(int row, const QString& typed) {
    CellEntry e;
    e.verdict = checkCell(kColTx, typed, bands_, chinese_);
    if (!e.verdict.ok()) {
        e.refused = true;
        e.outcome.notice = e.verdict.notice;
        e.outcome.keepEditor = true;
        return e;
    }
    // Without a receive frequency there is no channel to hold it.
    cell(row, 2) = cell(row, 1).isEmpty() ? QString() : e.verdict.text;
    e.changed = cell(row, 2).isEmpty() ? !typed.isEmpty() : e.verdict.changed;
    return e;
}

CellEntry ChannelTable::typeCell(int row, int col, const QString& typed) {
    if (row < 1 || row >= kRows || col < 1 || col >= kCols) return {};
    // What the cell already shows is no entry: it stays as it is, whatever the typing rules
    // would make of it (an off-step frequency, an 8-character name or a transmit frequency
    // outside the bands, as a radio may hold them). Only a changed cell is typed.
    if (typed == cell(row, col)) return {};
    if (col == 1) return leaveRx(row, typed, false);
    if (col == 2) return leaveTx(row, typed);
    return typeOther(row, col, typed);
}

CellEntry ChannelTable::typeOther(int row, int col, const QString& typed) {
    const bool tone = editorFor(col) == EditorKind::Tone;
    const bool noChannel = cell(row, 1).isEmpty() && cell(row, 2).isEmpty();
    CellEntry e;
    // Without a channel the tone is not looked at: the cell just stays empty.
    if (!(tone && noChannel)) {
        // A refused tone keeps the previous text; the grid shows no message for it.
        e.verdict = checkCell(col - 1, typed, bands_, chinese_);
        if (!e.verdict.ok()) return refusal(e.verdict);
    }
    if (noChannel) {
        // No channel in this row: nothing is kept.
        cell(row, col).clear();
        e.changed = tone ? !(tones::fromText(typed.toUpper()) == ToneBytes{}) : !typed.isEmpty();
        return e;
    }
    cell(row, col) = e.verdict.text;
    e.changed = e.verdict.changed;
    return e;
}

QString ChannelTable::asShown(int row, int col, const QString& text) const {
    if (row < 1 || row >= kRows || col < 1 || col >= kCols) return text;
    const QString& shown = cell(row, col);
    if (text == shown || text.isEmpty() || shown.isEmpty()) return text;
    const EditorKind kind = editorFor(col);
    switch (kind) {
        case EditorKind::Frequency:
            return frequencyForm(text) && freqTextToValue(text) == freqTextToValue(shown) ? shown
                                                                                          : text;
        case EditorKind::Tone:
            return tones::fromText(text.toUpper()) == tones::fromText(shown.toUpper()) ? shown
                                                                                       : text;
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
    if (col == 1) return leaveRx(row, typed, true).outcome;
    if (col == 2) {
        // An empty entry reads as 0, which no band holds: it becomes the band 1 lower limit.
        if (!typed.isEmpty() && !frequencyForm(typed)) {
            EditOutcome out;
            out.notice = Notice::BadFormat;
            out.keepEditor = true;
            out.clearEditor = true;
            return out;
        }
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

QStringList ChannelTable::items(EditorKind kind) const {
    return kind == EditorKind::Frequency || kind == EditorKind::Name
               ? QStringList()
               : columnItems(columnOf(kind), chinese_);
}

int ChannelTable::findItem(EditorKind kind, const QString& text) const {
    if (kind == EditorKind::Frequency || kind == EditorKind::Name) return -1;
    return findColumnItem(columnOf(kind), text, chinese_);
}

QString ChannelTable::noticeDetail(Notice notice, bool chinese) const {
    return refusalDetail(notice, bands_, chinese);
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

}  // namespace cps
