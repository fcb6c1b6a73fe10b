// Work split into independent pieces done on every core at once: the large rasters of a
// printed page at a printer's resolution take seconds on one.
#pragma once

#include <cstdint>
#include <functional>

namespace vlr {

// The threads ForEachInParallel uses at most, the calling one included: one per core.
int32_t ParallelWorkers();

// Calls work(0) ... work(count - 1), each once, on the calling thread and up to
// ParallelWorkers() - 1 threads of its own, in no particular order, and returns when every call
// has returned. The calls must not depend on one another and must not throw. Where no thread
// can be had the calling thread does them all.
void ForEachInParallel(int32_t count, const std::function<void(int32_t)>& work);

} // namespace vlr
