// Strip building on one mesh file: ours (ensure_tristrips, adjacency included,
// and once more with the adjacency already built) against meshoptimizer's
// stripifier when it is installed. Prints one line per builder: strips, total
// strip length (indices in all strips) and the best and median time of
// several runs. Each run starts from a fresh copy of the input, made untimed.
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

// Runs `build` `runs` times, each after an untimed `prepare`; returns the
// statistics of the last run and prints them with the best and median time.
void measure(const char *name, int runs, const std::function<void()> &prepare,
             const std::function<StripStats()> &build)
{
    std::vector<double> seconds;
    StripStats stats;
    for (int i = 0; i < runs; i++) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        stats = build();
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%-20s strips %9ld   total length %10ld   best %7.4f s   median %7.4f s\n", name,
                stats.strips, stats.length, seconds.front(), seconds[seconds.size() / 2]);
}

StripStats strip_stats(const std::vector<int> &counted)
{
    StripStats s;
    for (size_t i = 0; i < counted.size(); i += 1 + size_t(counted[i])) {
        s.strips++;
        s.length += counted[i];
    }
    return s;
}

#ifdef POLMERA_HAVE_MESHOPTIMIZER
StripStats meshoptimizer(const std::vector<unsigned> &indices, size_t vertex_count)
{
    std::vector<unsigned> strips(meshopt_stripifyBound(indices.size()));
    const unsigned restart = ~0u;
    strips.resize(meshopt_stripify(strips.data(), indices.data(), indices.size(), vertex_count, restart));
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

    TriMesh work;
    const auto fresh_copy = [&] {
        work = TriMesh();
        work.vertices = mesh->vertices;
        work.faces = mesh->faces;
    };
    const auto build_strips = [&] {
        work.ensure_tristrips();
        return strip_stats(work.tristrips);
    };
    measure("Polmera", runs, fresh_copy, build_strips);
    mesh->ensure_across_edge();
    measure("Polmera, links made", runs,
            [&] {
                fresh_copy();
                work.vertex_faces = mesh->vertex_faces;
                work.across_edge = mesh->across_edge;
            },
            build_strips);
#ifdef POLMERA_HAVE_MESHOPTIMIZER
    std::vector<unsigned> indices;
    measure("meshoptimizer", runs,
            [&] {
                indices.clear();
                for (const Face &f : mesh->faces)
                    indices.insert(indices.end(), {unsigned(f[0]), unsigned(f[1]), unsigned(f[2])});
            },
            [&] { return meshoptimizer(indices, mesh->vertices.size()); });
#else
    std::printf("meshoptimizer        not installed (libmeshoptimizer-dev)\n");
#endif
    return 0;
}
