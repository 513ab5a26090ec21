// The libFuzzer entry point (CPS_FUZZ=ON builds).
#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cps::fuzz::runOne(data, size);
    return 0;
}
