#pragma once

#include <functional>

namespace cps {

// Runs work(i) for every i in [0, count), each on a thread of its own, and returns once all
// of them have finished. The threads are Qt threads, so a serial port can wait for its
// bytes in them; work must share nothing mutable between its calls.
void runInParallel(int count, const std::function<void(int)>& work);

}  // namespace cps
