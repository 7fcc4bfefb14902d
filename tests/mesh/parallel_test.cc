#include <atomic>
#include <vector>

#include <gtest/gtest.h>

#include "parallel.h"

TEST(Parallel, parts_cover_the_range_once_in_order)
{
    for (const size_t n : {0, 1, 5, 1000}) {
        for (const size_t min_part : {0, 1, 3, 2000}) {
            std::vector<std::atomic<int>> visits(n);
            std::atomic<size_t> covered = 0;
            for_each_part(n, min_part, [&](size_t begin, size_t end) {
                ASSERT_LE(begin, end);
                for (size_t i = begin; i < end; i++)
                    visits[i]++;
                covered += end - begin;
            });
            EXPECT_EQ(covered, n);
            for (size_t i = 0; i < n; i++)
                ASSERT_EQ(visits[i], 1) << "n " << n << ", element " << i;
        }
    }
}
