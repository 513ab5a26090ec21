#pragma once

#include <QList>
#include <QString>
#include <array>

#include "Field.h"
#include "RadioImage.h"

namespace cps {

// 128 memory channels plus the "Fr" channel, 24 bytes each.
constexpr int kChannelCount = 129;
constexpr int kRecordSize = 24;
constexpr int kFrChannel = 129;

// Offset of record n (1 to 129) in the image.
constexpr int recordOffset(int n) { return (n - 1) * kRecordSize; }

// Row label in the channel grid: "1" to "128", "Fr".
QString channelLabel(int n);

// The ten texts of a channel row, grid columns 1 to 10.
enum Column {
    kColRx = 0,
    kColTx,
    kColDecTone,
    kColEncTone,
    kColName,
    kColPower,
    kColBandwidth,
    kColScan,
    kColBusyLock,
    kColPttId,
    kColumnCount
};
using ChannelRow = std::array<QString, kColumnCount>;

// Texts of the fixed choices, indexed by their stored value order.
namespace choices {
struct Pair {
    const char* en;
    const char* zh;
};
// Power: Low, Middle, High. Bandwidth: Wide, Narrow. Scan: Yes, No.
// Busy lock: Off, Carrier, QT/DQT. PTT ID: Off, BOT, EOT, Both.
extern const Pair kPower[3];
extern const Pair kBandwidth[2];
extern const Pair kScan[2];
extern const Pair kBusyLock[3];
extern const Pair kPttId[4];
QString text(const Pair& p, bool chinese);
// True when text equals the English or the Chinese form.
bool matches(const QString& text, const Pair& p);
}  // namespace choices

// The channel record's fields, one per grid column in column order (index = Column), then
// the hidden shift-direction bits. Offsets are inside the 24-byte record.
const field::Table& channelFields();

namespace msg {
// The line under each entry message that says what is allowed: the band limits in use for
// an out-of-range frequency, an example of a valid entry for the format and step messages.
QString outOfRangeDetail(const Bands& bands, bool chinese);
QString badFormatDetail(const Bands& bands, bool chinese);
QString badStepDetail(const Bands& bands, bool chinese);

// The note shown once when a fill replaced unusable band limits: the limits in use, where
// each band came from, and that Software Info sets them.
QString bandsInUseNote(const BandsInUse& in, uint8_t bandCode, bool chinese);
}  // namespace msg

// Channels whose record holds a receive frequency that the bands leave out: the grid shows
// them empty, and the next store (a save or a write) erases them.
QList<int> channelsHiddenBy(const RadioImage& image, const Bands& bands);
// Channels the grid shows (with bands) whose receive or transmit frequency lies outside
// range: what a radio of that range would not take.
QList<int> channelsOutside(const RadioImage& image, const Bands& bands, const Band& range);

namespace msg {
// "4 (136.00625), Fr (175.99500)": the channels with their receive frequencies as stored,
// the first ones only when there are many.
QString channelList(const RadioImage& image, const QList<int>& channels, bool chinese);
// "band 1 134-176 MHz, band 2 400-480 MHz"
QString bandsText(const Bands& bands, bool chinese);
// The note after the band limits in use changed and hid channels. afterEdit: the change was
// an edit of the limits, which Undo takes back; else the image came so (opened, read).
QString hiddenChannelsNote(const RadioImage& image, const QList<int>& channels, const Bands& bands,
                           bool afterEdit, bool chinese);
}  // namespace msg

// Receive frequencies lie on a 5 kHz or a 6.25 kHz step (value in 10 Hz units).
bool onFrequencyStep(Freq value);

// Frequency text read as the C library reads numbers, scaled exactly to 10 Hz units and
// cut toward zero; text that is not a number gives 0.
Freq freqTextToValue(const QString& text);
// "%3.5f" of the value in MHz.
QString freqValueToText(Freq value);

// Record (24 bytes) to row texts. A receive frequency that is missing or outside the bands
// empties the whole row.
ChannelRow decodeChannel(const uint8_t* record, const Bands& bands, bool chinese);

// Row texts to record. Keeps the bits of bytes 12 and 13 it does not own, and bytes 14-15.
// A receive frequency outside the bands erases the record (24 x 0xFF).
void encodeChannel(const ChannelRow& row, uint8_t* record, const Bands& bands);

}  // namespace cps
