#pragma once

#include "Field.h"

namespace cps {

// The squelch level of each 10 MHz segment, image bytes 0xFA0 to 0xFB3, one field per
// segment keyed by its heading ("130-139" ... "520-529"). Every store also sets the two
// bytes between the groups, 0xFA5 and 0xFA6, to 26.
const field::Table& sqlTuningFields();
constexpr int kSqlSegments = 18;

// "+1" (delta 1) and "-1" (delta -1) over every segment: a result above 100 or below 5
// wraps, to 5 going up and to 100 going down.
void stepSqlLevels(field::Form& form, int delta);

}  // namespace cps
