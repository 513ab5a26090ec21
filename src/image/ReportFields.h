#pragma once

#include "Field.h"

namespace cps {

// Bytes the printed report shows that no editor reads the same way: the DTMF encode timing
// (0xCB0-0xCB3) and fast-call list (0xD00-0xD8F), the DTMF bits 4-6 and the frequency-mode
// and PTT-ID-type bits 3 and 2 of 0xC70, and the full stored length of texts whose editors
// show fewer characters (ID code and stun code up to 11, BOT and EOT up to 16). Only read:
// no editor stores through this table, and it is not one of the editor sections.
const field::Table& reportFields();

}  // namespace cps
