// Strip building on one mesh file: ours (ensure_tristrips, adjacency included)
// against meshoptimizer's stripifier when it is installed. Prints one line per
// builder: strips, total strip length (indices in all strips) and the best and
// median time of several runs.
// Usage: strip_compare mesh.ply [runs]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "mesh_io.h"
#ifdef POLMERA_HAVE_MESHOPTIMIZER
#include <meshoptimizer.h>
#endif

namespace {

struct StripStats {
    long strips = 0, length = 0;
};

// Runs `build` `runs` times, returns the statistics of the last run and prints
// them with the best and median time.
void measure(const char *name, int runs, const std::function<StripStats()> &build)
{
    std::vector<double> seconds;
    StripStats stats;
    for (int i = 0; i < runs; i++) {
        const auto start = std::chrono::steady_clock::now();
        stats = build();
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%-16s strips %9ld   total length %10ld   best %7.3f s   median %7.3f s\n", name,
                stats.strips, stats.length, seconds.front(), seconds[seconds.size() / 2]);
}

StripStats ours(const TriMesh &source)
{
    TriMesh m;
    m.vertices = source.vertices;
    m.faces = source.faces;
    m.ensure_tristrips();
    StripStats s;
    for (size_t i = 0; i < m.tristrips.size(); i += 1 + size_t(m.tristrips[i])) {
        s.strips++;
        s.length += m.tristrips[i];
    }
    return s;
}

#ifdef POLMERA_HAVE_MESHOPTIMIZER
StripStats meshoptimizer(const TriMesh &source)
{
    std::vector<unsigned> indices;
    indices.reserve(3 * source.faces.size());
    for (const Face &f : source.faces)
        indices.insert(indices.end(), {unsigned(f[0]), unsigned(f[1]), unsigned(f[2])});
    std::vector<unsigned> strips(meshopt_stripifyBound(indices.size()));
    const unsigned restart = ~0u;
    strips.resize(meshopt_stripify(strips.data(), indices.data(), indices.size(),
                                   source.vertices.size(), restart));
    StripStats s;
    s.strips = strips.empty() ? 0 : 1 + std::count(strips.begin(), strips.end(), restart);
    s.length = long(strips.size()) - (s.strips > 0 ? s.strips - 1 : 0);
    return s;
}
#endif

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "Usage: strip_compare mesh.ply [runs]\n");
        return 1;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const auto mesh = read_mesh(argv[1]);
    if (!mesh)
        return 1;
    mesh->ensure_faces();
    std::printf("%zu triangles, %zu vertices, %d runs each\n", mesh->faces.size(), mesh->vertices.size(), runs);
    measure("Polmera", runs, [&] { return ours(*mesh); });
#ifdef POLMERA_HAVE_MESHOPTIMIZER
    measure("meshoptimizer", runs, [&] { return meshoptimizer(*mesh); });
#else
    std::printf("meshoptimizer    not installed (libmeshoptimizer-dev)\n");
#endif
    return 0;
}
