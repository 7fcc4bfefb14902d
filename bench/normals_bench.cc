// Point-cloud normals over about one million scanned-surface samples: the
// whole ensure_normals pass (tree, twelve neighbours per point, plane fit).
// Usage: normals_bench [point count]            times ensure_normals in the process
//        normals_bench --write FILE [count]     writes the cloud as binary PLY, for
//                                               bench/cloud_normals.sh

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "TriMesh.h"
#include "bench_points.h"
#include "mesh_io.h"

int main(int argc, char **argv)
{
    const bool write = argc > 2 && std::strcmp(argv[1], "--write") == 0;
    const int count_arg = write ? 3 : 1;
    const size_t n = argc > count_arg ? size_t(std::atol(argv[count_arg])) : 1'000'000;
    TriMesh cloud;
    cloud.vertices = surface_samples(n);
    if (write)
        return write_mesh(argv[2], cloud) ? EXIT_SUCCESS : EXIT_FAILURE;

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
