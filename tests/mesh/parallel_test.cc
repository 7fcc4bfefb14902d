#include <algorithm>
#include <atomic>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "parallel.h"

namespace {

// Runs `split`, which hands ranges of [0, n) to the counting function it is
// given, and expects every element to be counted exactly once.
using Visit = std::function<void(size_t, size_t)>;
void expect_each_element_once(size_t n, const std::function<void(const Visit &)> &split)
{
    std::vector<std::atomic<int>> visits(n);
    std::atomic<size_t> covered = 0;
    split([&](size_t begin, size_t end) {
        ASSERT_LE(begin, end);
        for (size_t i = begin; i < end; i++)
            visits[i]++;
        covered += end - begin;
    });
    EXPECT_EQ(covered, n);
    for (size_t i = 0; i < n; i++)
        ASSERT_EQ(visits[i], 1) << "n " << n << ", element " << i;
}

} // namespace

TEST(Parallel, parts_cover_the_range_once_in_order)
{
    for (const size_t n : {0, 1, 5, 1000})
        for (const size_t min_part : {0, 1, 3, 2000})
            expect_each_element_once(n, [&](const Visit &visit) { for_each_part(n, min_part, visit); });
}

TEST(Parallel, blocks_cover_the_range_once_each_within_bounds)
{
    for (const size_t n : {0, 1, 5, 1000})
        for (const size_t block : {0, 1, 3, 64, 2000})
            expect_each_element_once(n, [&](const Visit &visit) {
                for_each_block(n, block, [&](BlockQueue &queue) {
                    size_t begin, end;
                    while (queue.next(begin, end)) {
                        ASSERT_LT(begin, end);
                        ASSERT_LE(end - begin, std::max<size_t>(block, 1));
                        visit(begin, end);
                    }
                });
            });
}

TEST(Parallel, for_each_index_visits_every_index_once)
{
    for (const size_t n : {0, 1, 1000})
        expect_each_element_once(n, [&](const Visit &visit) {
            for_each_index(n, 7, [&](size_t i) { visit(i, i + 1); });
        });
}
