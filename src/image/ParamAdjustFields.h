#pragma once

#include <QString>

#include "Field.h"

namespace cps {

// The audio and squelch-detection calibration, image bytes 0xFB4 to 0xFCE: four detection
// switches, nine numeric lists and the 4 x 4 squelch detection grid.
const field::Table& paramAdjustFields();

// The grid: detection rows 1 to 4, columns 1 to 4 (narrow low, narrow high, wide low,
// wide high). Cell (d, c) is image byte 0xFB7 + (d - 1) * 4 + (c - 1).
constexpr int kDetectRows = 4;
constexpr int kDetectCols = 4;
field::Text detectRowHeading(int detect);
field::Text detectColHeading(int column);
// The field key of a cell, e.g. "sql detect 2 wide low".
QString detectCellKey(int detect, int column);

// A typed level read as the C library reads a whole number (0 when it is none), then
// limited to 5 to 100, as both service grids do when their edit is left.
int clampedLevel(const QString& typed);
constexpr int kLevelMin = 5;
constexpr int kLevelMax = 100;

}  // namespace cps
