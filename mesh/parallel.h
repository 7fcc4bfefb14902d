#pragma once
// Work split over the processor's cores.

#include <atomic>
#include <cstddef>
#include <functional>

// The most threads the helpers below start, the calling thread included: one
// per core unless set_thread_limit has lowered it.
size_t thread_limit();

// Lets the helpers below use at most `limit` threads (1: the calling thread
// alone); 0 goes back to one per core. Results of work split with them must
// not depend on it; tests set it to check that.
void set_thread_limit(size_t limit);

// Splits the range [0, n) into consecutive parts of at least `min_part`
// elements, at most thread_limit() of them, and calls work(begin, end) for each part at
// the same time, the last one on the calling thread; returns when all are
// done. The parts must not write to the same data. Runs work(0, n) alone when
// the range is small or threads cannot be started.
void for_each_part(size_t n, size_t min_part, const std::function<void(size_t, size_t)> &work);

// The blocks of a range [0, n) that for_each_block hands out, each to one
// thread, in increasing order.
class BlockQueue {
public:
    BlockQueue(size_t n, size_t block) : n(n), block(block > 0 ? block : 1) {}
    // The next block not yet taken, as [begin, end); false when none is left.
    bool next(size_t &begin, size_t &end);

private:
    std::atomic<size_t> taken{0};
    size_t n, block;
};

// Splits the range [0, n) into blocks of `block` elements (the last may be
// shorter) and runs thread_work(queue) on at most thread_limit() threads, the last
// on the calling thread; each thread takes blocks from the queue until none is
// left, so that a core slowed by other work does not hold the rest up. Returns
// when all are done. Which thread does which block is not fixed: the work on an
// element must not depend on the thread or on the other elements' order. Runs
// on the calling thread alone for a single block.
void for_each_block(size_t n, size_t block, const std::function<void(BlockQueue &)> &thread_work);

// Calls work(i) for every i in [0, n), in blocks of `block` spread over all
// cores as for_each_block does. work(i) must depend on i alone, not on which
// thread runs it or on the order.
template <class Work>
void for_each_index(size_t n, size_t block, const Work &work)
{
    for_each_block(n, block, [&](BlockQueue &blocks) {
        size_t begin, end;
        while (blocks.next(begin, end))
            for (size_t i = begin; i < end; i++)
                work(i);
    });
}
