// Work split over the processor's cores.

#include "parallel.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace {

std::atomic<size_t> chosen_limit{0};

} // namespace

size_t thread_limit()
{
    const size_t limit = chosen_limit.load(std::memory_order_relaxed);
    return limit > 0 ? limit : std::max(1u, std::thread::hardware_concurrency());
}

void set_thread_limit(size_t limit)
{
    chosen_limit.store(limit, std::memory_order_relaxed);
}

void for_each_part(size_t n, size_t min_part, const std::function<void(size_t, size_t)> &work)
{
    const size_t parts = std::clamp(n / std::max<size_t>(min_part, 1), size_t(1), thread_limit());
    std::vector<std::thread> threads;
    size_t begin = 0;
    for (size_t p = 0; p + 1 < parts; p++) {
        const size_t end = n * (p + 1) / parts;
        try {
            threads.emplace_back(work, begin, end);
        } catch (const std::system_error &) {
            break;  // no more threads: the calling thread does the rest
        }
        begin = end;
    }
    work(begin, n);
    for (std::thread &t : threads)
        t.join();
}

bool BlockQueue::next(size_t &begin, size_t &end)
{
    const size_t b = taken.fetch_add(1, std::memory_order_relaxed);
    if (b >= (n + block - 1) / block)
        return false;
    begin = b * block;
    end = std::min(n, begin + block);
    return true;
}

void for_each_block(size_t n, size_t block, const std::function<void(BlockQueue &)> &thread_work)
{
    BlockQueue queue(n, block);
    const size_t blocks = (n + std::max<size_t>(block, 1) - 1) / std::max<size_t>(block, 1);
    // One "part" per thread: for_each_part starts the threads, the queue
    // shares out the blocks.
    const size_t threads = std::min(blocks, thread_limit());
    for_each_part(threads, 1, [&](size_t, size_t) { thread_work(queue); });
}
