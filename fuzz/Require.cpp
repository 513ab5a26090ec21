#include <cstdio>
#include <cstdlib>

#include "FuzzTarget.h"

namespace cps::fuzz {

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz: broken promise: %s\n", what);
    std::abort();
}

}  // namespace cps::fuzz
