// Times Stripline's surface operations inside the process, without reading
// and writing: each task runs on a fresh copy of the mesh, which builds the
// adjacency it needs, as the command line does.
// Usage: surface_ops_bench mesh.ply [repeats]
// Prints one line per task: its option, the best time in seconds, and the
// vertex and face counts of the result.

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "bilateral.h"
#include "gaussian_smooth.h"
#include "mesh_io.h"
#include "subdivide.h"
#include "taubin.h"

namespace {

struct Task {
    const char *option;
    std::function<void(TriMesh &)> run;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "Usage: surface_ops_bench mesh.ply [repeats]\n");
        return EXIT_FAILURE;
    }
    const auto mesh = read_mesh(argv[1]);
    if (!mesh)
        return EXIT_FAILURE;
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
    // The feature size that the command line would multiply the widths by.
    TriMesh probe = *mesh;
    const float size = probe.median_edge_length();
    const Task tasks[] = {
        {"-subD", [](TriMesh &m) { subdivide(m, SubdivScheme::midpoint); }},
        {"-subDloop", [](TriMesh &m) { subdivide(m, SubdivScheme::loop); }},
        {"-subDfly", [](TriMesh &m) { subdivide(m, SubdivScheme::butterfly_extraordinary); }},
        {"-smooth2 10", [](TriMesh &m) { taubin_smooth(m, 10); }},
        {"-smooth 2", [size](TriMesh &m) { gaussian_smooth(m, 2 * size); }},
        {"-bilat 2 1", [size](TriMesh &m) { bilateral_smooth(m, 2 * size, size); }},
    };
    for (const Task &task : tasks) {
        float best = 1e30f;
        size_t nv = 0, nf = 0;
        for (int r = 0; r < repeats; r++) {
            TriMesh copy = *mesh;
            const uint64_t start = now_ticks();
            task.run(copy);
            const float seconds = elapsed_seconds(start, now_ticks());
            best = std::min(best, seconds);
            nv = copy.vertices.size();
            nf = copy.faces.size();
        }
        std::printf("%s\t%.4f\t%zu\t%zu\n", task.option, best, nv, nf);
    }
    return EXIT_SUCCESS;
}
