#include "bench_points.h"

#include <cmath>
#include <cstdint>

namespace {

struct Lcg {
    uint32_t state;
    float next() // in [0, 1)
    {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / float(1u << 24);
    }
};

} // namespace

std::vector<Point3> random_points(size_t n, unsigned seed)
{
    Lcg rnd{seed};
    std::vector<Point3> pts(n);
    for (Point3 &p : pts) {
        p.x = rnd.next();
        p.y = rnd.next();
        p.z = rnd.next();
    }
    return pts;
}

std::vector<Point3> surface_samples(size_t n)
{
    const int side = int(std::sqrt(double(n)));
    const float step = 10.0f / float(side);
    Lcg rnd{7};
    std::vector<Point3> pts;
    pts.reserve(size_t(side) * side);
    for (int j = 0; j < side; j++)
        for (int i = 0; i < side; i++) {
            const float x = (float(i) + 0.8f * rnd.next()) * step;
            const float y = (float(j) + 0.8f * rnd.next()) * step;
            pts.emplace_back(x, y, 0.5f * std::sin(x) * std::cos(0.7f * y));
        }
    return pts;
}
