#pragma once

#include "Field.h"

// The feature editors' fields: optional features, DTMF codes, MSK call list, side key and
// stun. Each table is what its dialog and its `cps show`/`cps set` section work on.
namespace cps {

// The sixteen DTMF symbols: what the DTMF and stun codes may hold.
inline const char* dtmfDigits() { return "0123456789ABCD*#"; }
// The MSK codes are hexadecimal.
inline const char* hexDigits() { return "0123456789ABCDEF"; }

// Image offsets the tables name.
namespace feature {
constexpr int kTot = 0xC40;
constexpr int kSquelch = 0xC41;
constexpr int kVox = 0xC42;
constexpr int kStep = 0xC43;
constexpr int kPreAlert = 0xC44;
constexpr int kKeys = 0xC45;     // orange key, key lock, beep, stopwatch, scan mode, tail
constexpr int kDisplay = 0xC46;  // STR, power-on style, back light and its colour
constexpr int kModes = 0xC47;    // display mode; bit 5 trunking
constexpr int kCodeTime = 0xC4A;
constexpr int kBot = 0xC50;
constexpr int kEot = 0xC60;
constexpr int kSaver = 0xC70;  // battery saver, keypad lock
constexpr int kPriority = 0xC71;
constexpr int kSideKey = 0xC72;
constexpr int kSignalling = 0xC73;  // MSK type, repeater invert, reset, roger; bit 6 stun type
constexpr int kWorkStatus = 0xC74;
constexpr int kMskId = 0xC80;
constexpr int kCallList = 0xC84;  // nine entries of 4 bytes, no gaps
constexpr int kCallListCount = 9;
constexpr int kLocalId = 0xCC0;
constexpr int kGroupCode = 0xCCF;
constexpr int kStunCode = 0xCD0;
constexpr int kRemoveStunCode = 0xCE0;
constexpr int kPtt = 7;      // characters of BOT, EOT, local ID and the stun codes
constexpr int kPttArea = 8;  // bytes BOT and EOT clear
}  // namespace feature

const field::Table& optionalFields();
const field::Table& dtmfFields();
const field::Table& mskFields();
const field::Table& keyFields();
const field::Table& stunFields();

// Keys of the MSK call-list cells: "Call List 1" to "Call List 9".
const char* callListKey(int n);

}  // namespace cps
