#pragma once
// The flood fill of the Gaussian filters over vertex neighbours: which
// vertices a vertex reaches within three standard deviations, with what
// weight, in the order the fill reaches them. The weights depend on the
// positions, normals and point areas alone, so one gathering serves every
// field filtered with them; summing in the gathered order gives the same
// result bit for bit whoever gathers and wherever the sum is taken.

#include <cstdint>
#include <span>
#include <vector>

#include "Point3.h"
#include "gaussian_weight.h"

// One vertex reached by a fill, with its weight (Gaussian of the distance
// times the agreement of the normals times its point area).
struct Tap {
    int vertex;
    float weight;
};

// What a caller of the fills keeps between calls, so that no call allocates.
struct FloodScratch {
    std::vector<int> stack;
    std::vector<Tap> taps;
};

// Appends to `taps` the vertices that the fill from v reaches, in the order it
// reaches them: it pops the last pushed vertex j, skips it if marked, marks
// it, stops at j when its normal faces away from v's (dot product not above 0)
// or its Gaussian weight is 0, and otherwise takes j and pushes j's unmarked
// neighbours. Returns false, appending nothing, when v has no neighbours.
// `surface` gives position(j), normal(j), area(j) and neighbours(j);
// `marks` gives next() (a fresh stamp, taken only when v has neighbours) and
// data() (one mark per vertex). `stack` is scratch space kept by the caller.
template <class Surface, class Marks>
bool gather_taps(const Surface &surface, int v, float inv_sigma2, Marks &marks,
                 std::vector<int> &stack, std::vector<Tap> &taps)
{
    const auto around = surface.neighbours(v);
    if (around.empty())
        return false;
    const Point3 position = surface.position(v), normal = surface.normal(v);
    const uint32_t stamp = marks.next();
    uint32_t *mark = marks.data();
    mark[v] = stamp;
    stack.assign(around.begin(), around.end());
    while (!stack.empty()) {
        const int j = stack.back();
        stack.pop_back();
        if (mark[j] == stamp)
            continue;
        mark[j] = stamp;
        const float c = dot(normal, surface.normal(j));
        if (!(c > 0.0f))
            continue;
        const float g = gaussian_weight(position, surface.position(j), inv_sigma2);
        if (g == 0.0f)
            continue;
        taps.push_back({j, g * c * surface.area(j)});
        for (const int k : surface.neighbours(j))
            if (mark[k] != stamp)
                stack.push_back(k);
    }
    return true;
}

// The weighted mean of `field` at vertex v: field[v] with weight `area` (v's
// point area) and each tap's field value with its weight, added in tap order.
// field[v] when the weights add up to 0 or less.
inline Point3 weighted_mean(const std::vector<Point3> &field, int v, float area,
                            std::span<const Tap> taps)
{
    Point3 sum = field[v] * area;
    float total = area;
    for (const Tap &t : taps) {
        sum += t.weight * field[t.vertex];
        total += t.weight;
    }
    return total > 0.0f ? sum / total : field[v];
}
