#pragma once
// Walking the triangles of counted-form triangle strips.

#include <algorithm>
#include <cstddef>
#include <vector>

// Calls emit(a, b, c) for every triangle of counted-form strips, keeping the
// winding of the faces the strips were built from: odd triangles swap their
// first two corners. Strips shorter than 3 give nothing; a count that runs past
// the end of the array is cut at the end.
template <typename Emit>
void for_each_strip_triangle(const std::vector<int> &strips, Emit emit)
{
    const size_t n = strips.size();
    size_t i = 0;
    while (i < n) {
        const int count = strips[i++];
        if (count <= 0)
            continue;
        const size_t end = std::min(n, i + size_t(count));
        for (size_t k = i; k + 2 < end; k++) {
            if ((k - i) % 2 == 0)
                emit(strips[k], strips[k + 1], strips[k + 2]);
            else
                emit(strips[k + 1], strips[k], strips[k + 2]);
        }
        i = end;
    }
}
