#pragma once

#include "Field.h"
#include "ServiceExchange.h"

// The 2-Tone editor's fields: the Encode page (common timings, short beep, the 32-entry code
// table) and the eight decode entries. Every entry lives twice in the image: as a tone record
// (tones in tenths of a hertz, times in tenths of a second), which the pages read back, and
// as a timer record derived from it on every store. Timer records that would fall on the
// squelch and audio calibration (decode entries 5 to 8 at 0xFA0-0xFBF, the encode timings at
// 0xFC0-0xFC6) are not written: the image has no room of its own for them, and writing them
// there would replace a radio's calibration on the next service write.
namespace cps::twotone {

constexpr int kCodeEntries = 32;
constexpr int kDecodeEntries = 8;
constexpr int kDecodeFieldsPerEntry = 6;
constexpr int kCodeTable = 0xE00;      // 32 x (tone 1, tone 2), 2 bytes each
constexpr int kDecodeRecords = 0xE80;  // 8 x 8 bytes
constexpr int kCommon = 0xEC0;         // 8 bytes
constexpr int kTimerOffset = 0x100;    // a timer record lies this far after its tone record

// The Encode page: section `2tone-encode`.
const field::Table& encodeFields();
// One decode entry (record k - 1 for page k), as a decode page shows and stores it.
const field::Table& entryFields();
// The eight entries as one section, `2tone-decode`, keys "2-ToneK ...".
const field::Table& decodeFields();

// Keys of the code-table cells (entry 1..32, tone 0 or 1) and of the decode section.
const char* cellKey(int entry, int tone);
const char* decodeKey(int entry, int fieldIndex);

// A form of the encode or decode section, as loaded, stands for a whole run of the dialog:
// storing it stores what opening the dialog, visiting the pages of the fields set and
// closing it stores (the Encode page and decode page 1 are shown at every opening). A page
// of the dialog narrows its form to itself before it stores.
void storeThisPageOnly(field::Form& form);

}  // namespace cps::twotone
