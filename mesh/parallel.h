#pragma once
// Work split over the processor's cores.

#include <cstddef>
#include <functional>

// Splits the range [0, n) into consecutive parts of at least `min_part`
// elements, one per core at most, and calls work(begin, end) for each part at
// the same time, the last one on the calling thread; returns when all are
// done. The parts must not write to the same data. Runs work(0, n) alone when
// the range is small or threads cannot be started.
void for_each_part(size_t n, size_t min_part, const std::function<void(size_t, size_t)> &work);
