// Helpers of bench/bake_colourings.sh, the whole-process timings of bake.
// Usage: bake_timing curvatures MESH      times ensure_curvatures (with the
//                                         normals and point areas it needs) on
//                                         a freshly read mesh, in seconds
//        bake_timing cloud MESH OUTPUT    writes MESH's vertices alone, the
//                                         point cloud of its normals peer

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "TriMesh.h"
#include "mesh_io.h"

int main(int argc, char **argv)
{
    const bool curvatures = argc == 3 && std::strcmp(argv[1], "curvatures") == 0;
    const bool cloud = argc == 4 && std::strcmp(argv[1], "cloud") == 0;
    if (!curvatures && !cloud) {
        std::fprintf(stderr, "Usage: bake_timing curvatures MESH | bake_timing cloud MESH OUTPUT\n");
        return EXIT_FAILURE;
    }
    const auto mesh = read_mesh(argv[2]);
    if (!mesh)
        return EXIT_FAILURE;
    if (cloud) {
        TriMesh points;
        points.vertices = mesh->vertices;
        return write_mesh(argv[3], points) ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    const uint64_t start = now_ticks();
    mesh->ensure_curvatures();
    std::printf("%.3f\n", double(elapsed_seconds(start, now_ticks())));
    return EXIT_SUCCESS;
}
