#include "hole_triangulation.h"

#include <algorithm>
#include <limits>

namespace {

// How bad a partial triangulation is: its largest dihedral angle, measured as
// 1 - cos (0 for a flat join, 2 for a fold back), then its area.
struct Weight {
    float angle = std::numeric_limits<float>::infinity();
    float area = std::numeric_limits<float>::infinity();

    bool valid() const { return angle != std::numeric_limits<float>::infinity(); }
    bool operator<(const Weight &o) const { return angle < o.angle || (angle == o.angle && area < o.area); }
    Weight operator+(const Weight &o) const { return {std::max(angle, o.angle), area + o.area}; }
};

Point3 unit(const Point3 &v)
{
    const float l = len(v);
    return l > 0 ? v / l : v;
}

// A fan of triangles around the rim's centroid, which becomes a new vertex.
void fan_around_centroid(HolePatch &patch)
{
    const int n = int(patch.rim);
    Point3 centre;
    for (int i = 0; i < n; i++)
        centre += patch.points[i];
    patch.points.push_back(centre / float(n));
    for (int i = 0; i < n; i++)
        patch.faces.emplace_back((i + 1) % n, i, n);
}

} // namespace

bool triangulate_hole(HolePatch &patch, const std::vector<Point3> &rim_normals, const RimEdgeTest &rim_edge)
{
    const int n = int(patch.rim);
    if (patch.rim > max_minimal_rim) {
        fan_around_centroid(patch);
        return true;
    }
    const std::vector<Point3> &p = patch.points;
    // Tables over the rim stretch i..k: the best weight, the apex that closes
    // it, and the normal of the triangle (i, k, apex).
    std::vector<Weight> weight(size_t(n) * n);
    std::vector<int> apex(size_t(n) * n, -1);
    std::vector<Point3> normal(size_t(n) * n);
    auto at = [n](int i, int k) { return size_t(i) * n + k; };
    for (int i = 0; i + 1 < n; i++)
        weight[at(i, i + 1)] = {0, 0};

    for (int d = 2; d < n; d++) {
        for (int i = 0, k = d; k < n; i++, k++) {
            const bool closing = i == 0 && k == n - 1;
            if (!closing && rim_edge(i, k))
                continue;
            Weight best;
            for (int m = i + 1; m < k; m++) {
                const Weight &left = weight[at(i, m)], &right = weight[at(m, k)];
                if (!left.valid() || !right.valid())
                    continue;
                const Point3 c = cross(p[k] - p[i], p[m] - p[i]);
                const Point3 nt = unit(c);
                const Point3 &n_left = m == i + 1 ? rim_normals[i] : normal[at(i, m)];
                const Point3 &n_right = k == m + 1 ? rim_normals[m] : normal[at(m, k)];
                float angle = std::max(1 - dot(nt, n_left), 1 - dot(nt, n_right));
                if (closing)
                    angle = std::max(angle, 1 - dot(nt, rim_normals[n - 1]));
                const Weight w = left + right + Weight{angle, 0.5f * len(c)};
                if (w < best) {
                    best = w;
                    apex[at(i, k)] = m;
                    normal[at(i, k)] = nt;
                }
            }
            weight[at(i, k)] = best;
        }
    }
    if (!weight[at(0, n - 1)].valid())
        return false;
    std::vector<std::pair<int, int>> stretches{{0, n - 1}};
    while (!stretches.empty()) {
        const auto [i, k] = stretches.back();
        stretches.pop_back();
        const int m = apex[at(i, k)];
        patch.faces.emplace_back(i, k, m);
        if (m - i >= 2)
            stretches.emplace_back(i, m);
        if (k - m >= 2)
            stretches.emplace_back(m, k);
    }
    return true;
}
