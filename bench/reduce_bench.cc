// Times Tidegate's reduction alone: reads a mesh, reduces it to a triangle
// count, writes the result and prints the seconds the reduction took.
// Usage: reduce_bench in.ply out.ply count
#include <cstdio>
#include <cstdlib>

#include "mesh_io.h"
#include "reduce.h"
#include "tool_mesh.h"

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "Usage: reduce_bench in.ply out.ply count\n");
        return 1;
    }
    const auto mesh = read_surface("reduce_bench", argv[1]);
    if (!mesh)
        return 1;
    const uint64_t start = now_ticks();
    reduce_mesh(*mesh, size_t(std::atol(argv[3])), {});
    const float seconds = elapsed_seconds(start, now_ticks());
    if (!write_mesh(argv[2], *mesh))
        return 1;
    std::printf("%.3f %zu\n", seconds, mesh->faces.size());
    return 0;
}
