// Point-cloud normals over about one million scanned-surface samples: the
// whole ensure_normals pass (tree, twelve neighbours per point, plane fit).
// Usage: normals_bench [point count]

#include <cstdio>
#include <cstdlib>

#include "TriMesh.h"
#include "bench_points.h"

int main(int argc, char **argv)
{
    const size_t n = argc > 1 ? size_t(std::atol(argv[1])) : 1'000'000;
    TriMesh cloud;
    cloud.vertices = surface_samples(n);
    const uint64_t start = now_ticks();
    cloud.ensure_normals();
    const float seconds = elapsed_seconds(start, now_ticks());
    size_t upward = 0;
    for (const Point3 &normal : cloud.normals)
        upward += normal.z > 0.5f;
    std::printf("%zu points: normals in %.3f s (%.0f ns per point), %zu of them facing up\n",
                cloud.vertices.size(), seconds, 1e9 * seconds / double(cloud.vertices.size()),
                upward);
    return EXIT_SUCCESS;
}
