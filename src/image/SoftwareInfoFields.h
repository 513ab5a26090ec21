#pragma once

#include "Field.h"

namespace cps {

// The radio's identity block: model index (0xFD0), band code (0xFD1) and the two frequency
// ranges in whole MHz, kept twice: 16 bits each at 0xFD4-0xFDB and packed at 0xFF0-0xFF5.
// Loading applies the band's load check; choosing another band resets the ranges; leaving
// a limit checks its pair against the band's accepted range.
const field::Table& softwareInfoFields();

enum class FreqBand { V = 0, U = 1, M = 2 };  // list index of "Freq Band"

// The band a form shows, and whether its editable pair is Freq 1 (else Freq 2).
FreqBand bandOf(const field::Form& form);
inline bool freq1Editable(FreqBand band) { return band == FreqBand::V; }

// The four limits of a form as band limits (MHz times 100000).
Bands formBands(const field::Form& form);

}  // namespace cps
