#pragma once

#include <cstddef>
#include <cstdint>

namespace cps::fuzz {

// Each fuzz target defines this: one input, whatever its bytes. A fault is a crash, a
// sanitizer report or a broken promise, which the target turns into an abort.
void runOne(const uint8_t* data, size_t size);

// Stops the run when a promise the code makes does not hold.
void require(bool condition, const char* what);

}  // namespace cps::fuzz
